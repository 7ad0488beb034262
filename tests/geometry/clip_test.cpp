#include "addonlib/geometry/clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "tests/geometry/arc_reference.h"

namespace geo {
namespace {

using namespace geo::test;

const double kPi = 3.14159265358979323846;

// A closed ring: edge I runs from P[I] to P[I + 1] (the last one back to
// P[0]) with convexity C[I].
struct Ring {
  std::vector<TDPoint> P;
  std::vector<double> C;
};

void Load(TContour& T, const Ring& R) {
  T.Clear();
  T.AddMoveTo(R.P[0]);
  for (size_t I = 1; I < R.P.size(); ++I)
    if (R.C[I - 1] != 0)
      T.AddArcTo(R.P[I], R.C[I - 1]);
    else
      T.AddLineTo(R.P[I]);
  if (R.C.back() != 0)
    T.AddCloseArc(R.C.back());
  else
    T.AddClose();
}

// Area of the ring inside Clip by the midpoint rule over N horizontal
// scanlines: each line's even-odd intervals, cut to the rectangle.
double InsideArea(const Ring& R, const TDRect& Clip, int N) {
  const long double H = (static_cast<long double>(Clip.Y2) - Clip.Y1) / N;
  long double Sum = 0;
  std::vector<long double> Xs;
  for (int K = 0; K < N; ++K) {
    const long double Y = Clip.Y1 + (K + 0.5L) * H;
    Xs.clear();
    for (size_t I = 0; I < R.P.size(); ++I) {
      const TDPoint& A = R.P[I];
      const TDPoint& B = R.P[(I + 1) % R.P.size()];
      if (R.C[I] == 0) {
        if ((A.Y <= Y) != (B.Y <= Y)) Xs.push_back(A.X + (Y - A.Y) / (B.Y - A.Y) * (B.X - A.X));
        continue;
      }
      const RefArc Arc = RefOf(A, B, R.C[I]);
      const long double D2 = Arc.R * Arc.R - (Y - Arc.CY) * (Y - Arc.CY);
      if (D2 <= 0) continue;
      for (const long double X : {Arc.CX - std::sqrt(D2), Arc.CX + std::sqrt(D2)}) {
        if (RefFraction(Arc, X, Y) <= 1) Xs.push_back(X);
      }
    }
    std::sort(Xs.begin(), Xs.end());
    for (size_t I = 0; I + 1 < Xs.size(); I += 2) {
      const long double Lo = std::max<long double>(Xs[I], Clip.X1);
      const long double Hi = std::min<long double>(Xs[I + 1], Clip.X2);
      if (Hi > Lo) Sum += (Hi - Lo) * H;
    }
  }
  return static_cast<double>(Sum);
}

// Star-shaped ring around O with gently bulging edges, either orientation.
Ring RandomRing(std::mt19937& Rng, const TDPoint& O, double Size) {
  std::uniform_real_distribution<double> U(0, 1);
  const int N = 5 + static_cast<int>(U(Rng) * 8);
  std::vector<double> Angles;
  for (int I = 0; I < N; ++I) Angles.push_back((I + 0.2 + 0.6 * U(Rng)) * 2 * kPi / N);
  Ring R;
  for (double A : Angles) {
    const double Rad = Size * (0.8 + 0.2 * U(Rng));
    R.P.push_back({O.X + Rad * std::cos(A), O.Y + Rad * std::sin(A)});
    R.C.push_back(U(Rng) < 0.5 ? 0 : 0.5 * U(Rng) - 0.25);
  }
  if (U(Rng) < 0.5) {
    std::reverse(R.P.begin(), R.P.end());
    std::reverse(R.C.begin(), R.C.end() - 1);
    for (double& C : R.C) C = -C;
  }
  return R;
}

struct Cmd {
  TComplexCommandKind Kind;
  double X, Y, C;
};

void ExpectCommands(const TContour& T, const std::vector<Cmd>& Want, double Tol) {
  ASSERT_EQ(T.CommandCount(), static_cast<int32_t>(Want.size()));
  for (size_t I = 0; I < Want.size(); ++I) {
    const TComplexCommand C = T.GetCommand(static_cast<int32_t>(I));
    EXPECT_EQ(C.Kind, Want[I].Kind) << I;
    if (IsToCommand(C)) {
      EXPECT_NEAR(C.Point.X, Want[I].X, Tol) << I;
      EXPECT_NEAR(C.Point.Y, Want[I].Y, Tol) << I;
    }
    EXPECT_NEAR(C.Convexity, Want[I].C, 1E-9) << I;
  }
}

TContour Loaded(const Ring& R) {
  TContour T;
  Load(T, R);
  return T;
}

TContour Clipped(const TContour& T, const TDRect& Clip) {
  TDRect Bounds{};
  EXPECT_TRUE(GetBounds(T, Bounds));
  return ClipContourByRect(T, Clip, Bounds);
}

TEST(Clip, SquareAndDiamondBySides) {
  for (const TDPoint& O : kOffsets) {
    const double X = O.X, Y = O.Y;
    const Ring Square{{{X, Y}, {X + 10, Y}, {X + 10, Y + 10}, {X, Y + 10}}, {0, 0, 0, 0}};
    const TContour In = Loaded(Square);
    // Only the left side cuts; the closing command runs along x = 5.
    ExpectCommands(Clipped(In, {X + 5, Y - 1, X + 20, Y + 20}),
                   {{ccMoveTo, X + 5, Y, 0},
                    {ccLineTo, X + 10, Y, 0},
                    {ccLineTo, X + 10, Y + 10, 0},
                    {ccLineTo, X + 5, Y + 10, 0},
                    {ccClose, 0, 0, 0}},
                   1E-9);
    // Inside the rectangle: nothing runs, the contour comes back as it was,
    // and the source is never touched.
    const std::vector<Cmd> Whole{{ccMoveTo, X, Y, 0},
                                 {ccLineTo, X + 10, Y, 0},
                                 {ccLineTo, X + 10, Y + 10, 0},
                                 {ccLineTo, X, Y + 10, 0},
                                 {ccClose, 0, 0, 0}};
    ExpectCommands(Clipped(In, {X, Y, X + 10, Y + 10}), Whole, 0);
    ExpectCommands(In, Whole, 0);
    // Wholly beyond one side: nothing is left.
    EXPECT_EQ(Clipped(In, {X + 20, Y, X + 30, Y + 10}).CommandCount(), 0);
    // Vertices exactly on the clip line are outside; the kept half is the
    // right one, not the left.
    const Ring Diamond{{{X + 5, Y}, {X + 10, Y + 5}, {X + 5, Y + 10}, {X, Y + 5}}, {0, 0, 0, 0}};
    ExpectCommands(Clipped(Loaded(Diamond), {X + 5, Y - 1, X + 20, Y + 20}),
                   {{ccMoveTo, X + 5, Y, 0},
                    {ccLineTo, X + 10, Y + 5, 0},
                    {ccLineTo, X + 5, Y + 10, 0},
                    {ccClose, 0, 0, 0}},
                   1E-9);
    // The same through the bottom side, the diamond listed the other way.
    const Ring Reversed{{{X + 5, Y}, {X, Y + 5}, {X + 5, Y + 10}, {X + 10, Y + 5}}, {0, 0, 0, 0}};
    const TContour Half = Clipped(Loaded(Reversed), {X - 1, Y + 5, X + 20, Y + 20});
    EXPECT_NEAR(std::fabs(Area(Half)), 25, 1E-6);
    TDRect B;
    ASSERT_TRUE(GetBounds(Half, B));
    EXPECT_NEAR(B.Y1, Y + 5, 1E-9);
  }
}

TEST(Clip, ArcsStayArcs) {
  for (const TDPoint& O : kOffsets) {
    const double X = O.X, Y = O.Y;
    const double Q = std::tan(kPi / 8);
    // Full circle clipped to x > 0: the half-disc closed along x = 0.
    const Ring Circle{{{X - 1, Y}, {X + 1, Y}}, {1, 1}};
    ExpectCommands(ClipHalfPlane(Loaded(Circle), true, true, X),
                   {{ccMoveTo, X, Y - 1, 0},
                    {ccArcTo, X + 1, Y, Q},
                    {ccArcTo, X, Y + 1, Q},
                    {ccClose, 0, 0, 0}},
                   1E-9);
    // Cut to a square inside it by all four sides: no arc is left.
    const TContour Square = Clipped(Loaded(Circle), {X - 0.5, Y - 0.5, X + 0.5, Y + 0.5});
    EXPECT_NEAR(std::fabs(Area(Square)), 1, 1E-9);
    for (int32_t I = 0; I < Square.CommandCount(); ++I)
      EXPECT_EQ(Square.GetCommand(I).Convexity, 0);
    // An arc with both ends kept that bulges across x = 0: arc, a piece along
    // the line, arc. Circle around (0.25, 0) of radius 1.25.
    const Ring Bulge{{{X + 1, Y - 1}, {X + 1, Y + 1}, {X + 3, Y + 1}, {X + 3, Y - 1}},
                     {-2, 0, 0, 0}};
    const TContour BulgeOut = Clipped(Loaded(Bulge), {X, Y - 5, X + 5, Y + 5});
    const double S = std::sqrt(1.5);
    const double Start = std::atan2(-1.0, 0.75), Cross = std::acos(-0.2);
    const double C1 = std::tan((-Cross - Start) / 4);
    ExpectCommands(BulgeOut,
                   {{ccMoveTo, X + 1, Y - 1, 0},
                    {ccArcTo, X, Y - S, C1},
                    {ccLineTo, X, Y + S, 0},
                    {ccArcTo, X + 1, Y + 1, C1},
                    {ccLineTo, X + 3, Y + 1, 0},
                    {ccLineTo, X + 3, Y - 1, 0},
                    {ccClose, 0, 0, 0}},
                   1E-9);
    // An arc starting on the clip line that first runs outside and enters
    // at the other point where its circle meets the line (around (0.5, 0),
    // radius 1, clockwise through (-0.5, 0)).
    const double H = std::sqrt(0.75);
    const Ring OnLine{{{X, Y - H}, {X + 1, Y + H}, {X + 2, Y + H}, {X + 2, Y - H}}, {-1, 0, 0, 0}};
    const TDRect Right{X, Y - 5, X + 5, Y + 5};
    const TContour Entered = Clipped(Loaded(OnLine), Right);
    // The rectangle x in [0, 2], |y| < H, and the circle's cap above y = H.
    EXPECT_NEAR(std::fabs(Area(Entered)), 4 * H + (kPi / 3 - std::sin(kPi / 3)) / 2, 1E-8);
    EXPECT_NEAR(Entered.GetCommand(0).Point.Y, Y + H, 1E-9);
    // The same arc dipping into the kept side x < 0.5 of an outside part.
    const TContour Dip = Clipped(Loaded(Bulge), {X - 5, Y - 5, X + 0.5, Y + 5});
    ASSERT_EQ(Dip.CommandCount(), 3);
    EXPECT_EQ(Dip.GetCommand(0).Kind, ccMoveTo);
    EXPECT_EQ(Dip.GetCommand(1).Kind, ccArcTo);
    EXPECT_EQ(Dip.GetCommand(2).Kind, ccClose);
  }
}

TEST(Clip, OpenPartsArePieces) {
  for (const TDPoint& O : kOffsets) {
    const double X = O.X, Y = O.Y;
    TContour T;
    T.AddMoveTo({X - 2, Y});
    T.AddLineTo({X + 2, Y});
    T.AddLineTo({X + 2, Y + 1});
    T.AddLineTo({X - 2, Y + 1});
    T.AddLineTo({X - 2, Y + 2});
    T.AddLineTo({X + 2, Y + 2});
    // No segment along the line joins the pieces and nothing closes them.
    ExpectCommands(Clipped(T, {X, Y - 1, X + 5, Y + 5}),
                   {{ccMoveTo, X, Y, 0},
                    {ccLineTo, X + 2, Y, 0},
                    {ccLineTo, X + 2, Y + 1, 0},
                    {ccLineTo, X, Y + 1, 0},
                    {ccMoveTo, X, Y + 2, 0},
                    {ccLineTo, X + 2, Y + 2, 0}},
                   1E-9);
  }
}

// Random rings cut by random rectangles: the area matches the part of the
// ring inside the rectangle by integration, every arc lies on a circle of
// the ring, and every vertex lies in the rectangle.
TEST(Clip, RandomRingsKeepTheAreaInside) {
  for (const TDPoint& O : kOffsets) {
    std::mt19937 Rng(2024);
    std::uniform_real_distribution<double> U(-60, 60), W(10, 80);
    int Cut = 0;
    for (int Case = 0; Case < 150; ++Case) {
      const Ring R = RandomRing(Rng, O, 50);
      const double X1 = O.X + U(Rng), Y1 = O.Y + U(Rng);
      const TDRect Clip{X1, Y1, X1 + W(Rng), Y1 + W(Rng)};
      const TContour Out = Clipped(Loaded(R), Clip);
      const double Want = InsideArea(R, Clip, 1500);
      const double Got = std::fabs(Area(Out));
      EXPECT_NEAR(Got, Want, 2E-4 * (Clip.X2 - Clip.X1) * (Clip.Y2 - Clip.Y1)) << Case;
      Cut += Want > 0 && Out.CommandCount() != static_cast<int32_t>(R.P.size()) + 1;
      TContourEdgeIter It;
      for (bool More = It.Start(Out); More; More = It.Next()) {
        const TEdge& E = It.Edge;
        for (const TDPoint& P : {E.P1, E.P2}) {
          EXPECT_TRUE(P.X >= Clip.X1 - 1E-7 && P.X <= Clip.X2 + 1E-7) << Case;
          EXPECT_TRUE(P.Y >= Clip.Y1 - 1E-7 && P.Y <= Clip.Y2 + 1E-7) << Case;
        }
        if (!IsArc(E)) continue;
        // The ends and the middle of the piece (the chord's midpoint moved
        // by the sagitta to the right of the chord for a positive bulge)
        // lie on one circle of the ring.
        const long double Half = E.Convexity / 2;
        const TDPoint Mid{static_cast<double>((E.P1.X + static_cast<long double>(E.P2.X)) / 2 +
                                              Half * (E.P2.Y - static_cast<long double>(E.P1.Y))),
                          static_cast<double>((E.P1.Y + static_cast<long double>(E.P2.Y)) / 2 -
                                              Half * (E.P2.X - static_cast<long double>(E.P1.X)))};
        bool OnRing = false;
        for (size_t I = 0; I < R.C.size(); ++I) {
          if (R.C[I] == 0) continue;
          const RefArc Orig = RefOf(R.P[I], R.P[(I + 1) % R.P.size()], R.C[I]);
          bool On = true;
          for (const TDPoint& P : {E.P1, Mid, E.P2})
            On &= std::fabs(std::hypot(P.X - Orig.CX, P.Y - Orig.CY) - Orig.R) < 1E-7;
          OnRing |= On;
        }
        EXPECT_TRUE(OnRing) << Case;
      }
    }
    EXPECT_GT(Cut, 60);
  }
}

}  // namespace
}  // namespace geo
