// Arcs cut into monotone pieces: at every axis extreme they pass, and only
// there, whatever their sweep, direction and distance from the origin.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "addonlib/overlay/pieces.h"

namespace {

using geo::TDPoint;
using geoalg::overlay::TPiece;

// Quadrant of the direction A (radians): 0 for [0, pi/2), and so on.
int Quadrant(double A) {
  const double Q = std::floor(A / (std::numbers::pi / 2));
  return static_cast<int>(Q - 4 * std::floor(Q / 4));
}

TEST(OverlayPieces, ArcsAreCutAtEveryAxisExtremeTheyPass) {
  std::mt19937 Rng(31);
  std::uniform_real_distribution<double> Angle(0, 2 * std::numbers::pi), Sweep(0.05, 6.2),
      Radius(0.1, 1000), Sign(-1, 1);
  const geoalg::TOverlayTolerance Tol;
  int Checked = 0;
  for (int K = 0; K < 20000; ++K) {
    const TDPoint O = K % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const double R = Radius(Rng), A0 = Angle(Rng), S = Sign(Rng) > 0 ? Sweep(Rng) : -Sweep(Rng);
    const double A1 = A0 + S;
    // Ends well clear of the axes: which extremes lie between is not in doubt.
    auto Clear = [](double A) {
      const double Q = std::numbers::pi / 2;
      return std::fabs(A / Q - std::round(A / Q)) > 1e-6;
    };
    if (!Clear(A0) || !Clear(A1)) continue;
    const TDPoint P1{O.X + R * std::cos(A0), O.Y + R * std::sin(A0)};
    const TDPoint P2{O.X + R * std::cos(A1), O.Y + R * std::sin(A1)};
    std::vector<TDPoint> Points{P1, P2};
    std::vector<TPiece> Pieces;
    geoalg::overlay::AddEdgePieces(P1, 0, P2, 1, std::tan(S / 4), 0, 1, Tol, Points, Pieces);
    // The axes passed: one step of quadrant for each.
    const int Steps = static_cast<int>(std::fabs(std::floor(A1 / (std::numbers::pi / 2)) -
                                                 std::floor(A0 / (std::numbers::pi / 2))));
    ASSERT_EQ(Pieces.size(), static_cast<size_t>(Steps + 1)) << K << ": sweep " << S;
    // A chain from P1 to P2, each piece within one quadrant of the circle,
    // in order of the quadrants passed.
    int Expected = Quadrant(A0);
    for (size_t I = 0; I < Pieces.size(); ++I) {
      const TPiece& P = Pieces[I];
      ASSERT_TRUE(P.IsArc());
      EXPECT_EQ(P.Ccw, S > 0);
      EXPECT_EQ(P.IA, I == 0 ? 0 : Pieces[I - 1].IB);
      const TDPoint M{(P.A.X + P.B.X) / 2 - P.C.X, (P.A.Y + P.B.Y) / 2 - P.C.Y};
      ASSERT_EQ(Quadrant(std::atan2(M.Y, M.X)), Expected) << K << " piece " << I;
      Expected = (Expected + (S > 0 ? 1 : 3)) % 4;
    }
    EXPECT_EQ(Pieces.back().IB, 1);
    ++Checked;
  }
  EXPECT_GT(Checked, 19000);
}

// A line leaving the end of an arc meets it again where it cuts the circle,
// however close to the end that is, and not at all where it leaves along the
// tangent.
TEST(OverlayPieces, ALineFromAnArcsEndMeetsItAgainUnlessTangent) {
  geoalg::TOverlayTolerance Tol;
  Tol.Split = 1e-9;
  const double R = 5, A0 = 0.2, A1 = 1.4;
  for (const TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    const TDPoint E{O.X + R * std::cos(A0), O.Y + R * std::sin(A0)};
    const TDPoint F{O.X + R * std::cos(A1), O.Y + R * std::sin(A1)};
    // Turned in from the tangent by Delta, the line cuts the circle again
    // 2 Delta further round, at 2 R sin(Delta) from E.
    for (const double Delta : {0.0, 1e-12, 1e-6, 1e-3, 0.3}) {
      SCOPED_TRACE("turned in by " + std::to_string(Delta));
      const double Dir = A0 + std::numbers::pi / 2 + Delta;
      const TDPoint G{E.X + 10 * std::cos(Dir), E.Y + 10 * std::sin(Dir)};
      std::vector<TDPoint> Points{E, F, G};
      std::vector<TPiece> Pieces;
      geoalg::overlay::AddEdgePieces(E, 0, F, 1, std::tan((A1 - A0) / 4), 0, 1, Tol, Points,
                                     Pieces);
      geoalg::overlay::AddEdgePieces(E, 0, G, 2, 0, 1, 1, Tol, Points, Pieces);
      ASSERT_EQ(Pieces.size(), 2u);
      std::vector<geoalg::overlay::TSplit> Out;
      geoalg::overlay::IntersectPieces(Pieces, 0, 1, Tol, Out);
      const double Gap = 2 * R * std::sin(Delta);
      if (Gap < Tol.Split) {
        EXPECT_TRUE(Out.empty());
        continue;
      }
      const double A = A0 + 2 * Delta;
      const TDPoint X{O.X + R * std::cos(A), O.Y + R * std::sin(A)};
      ASSERT_EQ(Out.size(), 2u);
      for (const auto& S : Out) {
        EXPECT_NEAR(S.P.X, X.X, 1e-8);
        EXPECT_NEAR(S.P.Y, X.Y, 1e-8);
      }
      EXPECT_NE(Out[0].Piece, Out[1].Piece);
    }
  }
}

// An arc that bulges across a line with both its ends on one side of it: the
// two still cross twice. Beside it, lines a few tolerances apart meet only
// when within the tolerance.
TEST(OverlayPieces, PiecesOnOneSideOfALineByTheirEndsStillCrossIt) {
  geoalg::TOverlayTolerance Tol;
  Tol.Split = 1e-9;
  for (const TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    // The line y = x; the quarter of the circle of radius 5 around (6, 0)
    // from (6, 5) to (1, 0), both ends just below the line, its middle
    // above it.
    std::vector<TDPoint> Points{
        {O.X - 20, O.Y - 20}, {O.X + 20, O.Y + 20}, {O.X + 6, O.Y + 5}, {O.X + 1, O.Y}};
    std::vector<TPiece> Pieces;
    geoalg::overlay::AddEdgePieces(Points[0], 0, Points[1], 1, 0, 0, 1, Tol, Points, Pieces);
    geoalg::overlay::AddEdgePieces(Points[2], 2, Points[3], 3, std::tan(std::numbers::pi / 8), 1, 1,
                                   Tol, Points, Pieces);
    ASSERT_EQ(Pieces.size(), 2u);
    std::vector<geoalg::overlay::TSplit> Out;
    geoalg::overlay::IntersectPieces(Pieces, 0, 1, Tol, Out);
    ASSERT_EQ(Out.size(), 4u);
    for (const auto& S : Out) {
      const double X = S.P.X - O.X, Y = S.P.Y - O.Y;
      EXPECT_NEAR(Y, X, 1e-8);
      EXPECT_NEAR(std::hypot(X - 6, Y), 5, 1e-8);
    }
    // Two lines crossing at a shallow angle, the end of one a few
    // tolerances from the other's middle.
    const double T = geoalg::overlay::PointTol(O, Tol);
    for (const double K : {0.5, 0.9, 1.5, 3.0, 4.5, 8.0, 50.0}) {
      SCOPED_TRACE("apart by " + std::to_string(K) + " tolerances");
      std::vector<TDPoint> P{
          {O.X, O.Y}, {O.X + 10, O.Y}, {O.X + 5, O.Y + K * T}, {O.X + 9, O.Y + 3}};
      std::vector<TPiece> L;
      geoalg::overlay::AddEdgePieces(P[0], 0, P[1], 1, 0, 0, 1, Tol, P, L);
      geoalg::overlay::AddEdgePieces(P[2], 2, P[3], 3, 0, 1, 1, Tol, P, L);
      std::vector<geoalg::overlay::TSplit> Cut;
      geoalg::overlay::IntersectPieces(L, 0, 1, Tol, Cut);
      EXPECT_EQ(Cut.size(), K <= 1 ? 1u : 0u);
    }
  }
}

// Pieces that follow each other (one end in common) meet again where one
// turns back along the other, and only then: two lines, and two arcs of one
// circle, with the other end at a few tolerances from the first piece.
TEST(OverlayPieces, PiecesThatFollowEachOtherMeetAgainOnlyWhereOneTurnsBack) {
  geoalg::TOverlayTolerance Tol;
  Tol.Split = 1e-9;
  for (const TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    const double T = geoalg::overlay::PointTol(O, Tol);
    auto Cuts = [&](const std::vector<TDPoint>& Ends, double C1, double C2) {
      // Cut points are appended to the store: the ends are read from a copy.
      std::vector<TDPoint> P = Ends;
      std::vector<TPiece> L;
      geoalg::overlay::AddEdgePieces(Ends[0], 0, Ends[1], 1, C1, 0, 1, Tol, P, L);
      geoalg::overlay::AddEdgePieces(Ends[1], 1, Ends[2], 2, C2, 0, 1, Tol, P, L);
      std::vector<geoalg::overlay::TSplit> Out;
      for (size_t I = 0; I < L.size(); ++I)
        for (size_t J = I + 1; J < L.size(); ++J)
          geoalg::overlay::IntersectPieces(L, static_cast<int32_t>(I), static_cast<int32_t>(J), Tol,
                                           Out);
      return Out;
    };
    for (const double K : {0.5, 0.9, 3.0, 4.5, 50.0}) {
      SCOPED_TRACE("off by " + std::to_string(K) + " tolerances");
      // Along the x axis and back to a point K tolerances above it.
      const auto Back = Cuts({{O.X, O.Y}, {O.X + 10, O.Y}, {O.X + 4, O.Y + K * T}}, 0, 0);
      ASSERT_EQ(Back.size(), K <= 1 ? 1u : 0u);
      if (K <= 1) {
        EXPECT_NEAR(Back[0].P.X, O.X + 4, 1e-9);
      }
      // Round a circle of radius 5 from 0.2 to 1.4 rad, then back to 0.7
      // rad: the second arc lies on the first. Onward to 2.6 rad it does
      // not.
      const double R = 5;
      auto At = [&](double A) { return TDPoint{O.X + R * std::cos(A), O.Y + R * std::sin(A)}; };
      const auto Retraced =
          Cuts({At(0.2), At(1.4), At(0.7)}, std::tan(1.2 / 4), std::tan(-0.7 / 4));
      ASSERT_FALSE(Retraced.empty());
      for (const auto& S : Retraced)
        EXPECT_LT(std::hypot(S.P.X - At(0.7).X, S.P.Y - At(0.7).Y), 1e-8);
      EXPECT_TRUE(Cuts({At(0.2), At(1.4), At(2.6)}, std::tan(1.2 / 4), std::tan(1.2 / 4)).empty());
      // A line leaving the arc's end back along its tangent, just so long
      // that its other end lies K tolerances out from the arc. (Far out, the
      // rounded ends put the circle a few tolerances off, and the line
      // truly crosses it near the end.)
      if (O.X != 0) continue;
      const double L = std::sqrt(2 * R * K * T);
      const TDPoint E = At(1.4), F{E.X + L * std::sin(1.4), E.Y - L * std::cos(1.4)};
      const auto Beside = Cuts({At(0.2), E, F}, std::tan(1.2 / 4), 0);
      EXPECT_EQ(Beside.empty(), K > 1);
    }
  }
}

}  // namespace
