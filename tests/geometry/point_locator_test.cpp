// The indexed point location against the plain walk: the same place for
// every point, on random contours built to hit the vertex, tangency and
// horizontal-edge rules, far from the origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <numbers>
#include <random>
#include <set>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/interior_point.h"
#include "addonlib/geometry/interval_index.h"
#include "addonlib/geometry/point_in_contour.h"

namespace geo {
namespace {

const TDPoint Far{500000, 6000000};

TEST(IntervalIndex, FindsExactlyTheIntervalsHoldingAValue) {
  std::mt19937 Rng(7);
  std::uniform_int_distribution<int> Grid(-20, 20);
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  for (int Round = 0; Round < 200; ++Round) {
    const int N = static_cast<int>(Rng() % 300);
    std::vector<double> Lo(N), Hi(N);
    for (int I = 0; I < N; ++I) {
      // Grid ends make shared ends and single points common; a few are
      // empty (Lo > Hi) or have a NaN end.
      Lo[I] = Grid(Rng) / 2.0;
      Hi[I] = Rng() % 8 ? Lo[I] + (Rng() % 10) / 2.0 : Lo[I] - 1;
      if (Rng() % 50 == 0) (Rng() % 2 ? Lo[I] : Hi[I]) = NaN;
    }
    TIntervalIndex Index;
    Index.Build(Lo, Hi);
    ASSERT_EQ(Index.Size(), static_cast<size_t>(N));
    for (int K = -45; K <= 45; ++K) {
      const double V = K / 4.0;
      std::multiset<int32_t> Want, Got;
      for (int I = 0; I < N; ++I)
        if ((std::isnan(Lo[I]) || Lo[I] <= V) && (std::isnan(Hi[I]) || V <= Hi[I])) Want.insert(I);
      Index.Stab(V, [&](int32_t I) {
        Got.insert(I);
        return false;
      });
      ASSERT_EQ(Got, Want) << "round " << Round << " value " << V;
      // Returning true stops the look-up at once.
      int Calls = 0;
      Index.Stab(V, [&](int32_t) { return ++Calls == 1; });
      EXPECT_EQ(Calls, Want.empty() ? 0 : 1);
    }
  }
}

// A city-block ring over N columns of integer heights: horizontal tops,
// some cut into collinear pieces, some bent into arcs (half circles whose
// tops and bottoms are tangent to grid lines), some risers bent; holes of
// every kind under the lowest top, and an open part that must not count.
TContour Skyline(std::mt19937& Rng, TDPoint O) {
  const int N = 3 + static_cast<int>(Rng() % 20);
  std::vector<int> H(N);
  for (int& V : H) V = 2 + static_cast<int>(Rng() % 5);
  const double Bulges[] = {1, -1, 0.4, -0.4, 1, -1};
  TContour C;
  C.AddMoveTo(O);
  for (int I = 1; I <= N; ++I)
    if (Rng() % 3 == 0) C.AddLineTo({O.X + I - 0.5, O.Y});  // collinear pieces along the bottom
  C.AddLineTo({O.X + N, O.Y});
  for (int I = N - 1; I >= 0; --I) {
    const double Y = O.Y + H[I];
    const TDPoint Rise{O.X + I + 1, Y};
    if (Rng() % 5 == 0)
      C.AddArcTo(Rise, Rng() % 2 ? 0.2 : -0.2);
    else
      C.AddLineTo(Rise);
    const TDPoint Left{O.X + I, Y};
    switch (Rng() % 4) {
      case 0:
        C.AddArcTo(Left, Bulges[Rng() % 6]);
        break;
      case 1:
        C.AddLineTo({O.X + I + 0.5, Y});
        C.AddLineTo(Left);
        break;
      default:
        C.AddLineTo(Left);
    }
  }
  C.AddClose();
  for (int I = 0; I < N; ++I) {
    const double X = O.X + I, Y = O.Y;
    switch (Rng() % 5) {
      case 0:  // a circle touching the grid line y = 1.5
        C.AddMoveTo({X + 0.5, Y + 0.5});
        C.AddArcTo({X + 0.5, Y + 1.5}, 1);
        C.AddCloseArc(1);
        break;
      case 1:  // a diamond: vertices at grid heights
        C.AddMoveTo({X + 0.5, Y + 0.5});
        C.AddLineTo({X + 1, Y + 1});
        C.AddLineTo({X + 0.5, Y + 1.5});
        C.AddLineTo({X, Y + 1});
        C.AddClose();
        break;
      case 2:  // a square, clockwise
        C.AddMoveTo({X + 0.25, Y + 0.5});
        C.AddLineTo({X + 0.25, Y + 1.5});
        C.AddLineTo({X + 0.75, Y + 1.5});
        C.AddLineTo({X + 0.75, Y + 0.5});
        C.AddClose();
        break;
      default:
        break;
    }
  }
  C.AddMoveTo({O.X - 1, O.Y + 1});
  C.AddLineTo({O.X + N + 1, O.Y + 1});
  C.AddLineTo({O.X + N / 2.0, O.Y + 3});
  return C;
}

// Stars with arcs of any bulge, holes and separate parts, turned at random.
TContour Stars(std::mt19937& Rng, TDPoint O) {
  std::uniform_real_distribution<double> U(0, 1);
  TContour C;
  const int Parts = 1 + static_cast<int>(Rng() % 4);
  for (int K = 0; K < Parts; ++K) {
    const double R = 5 + 50 * U(Rng);
    const TDPoint M{O.X + 80 * U(Rng), O.Y + 80 * U(Rng)};
    const int N = 3 + static_cast<int>(Rng() % 60);
    const double Turn = 2 * std::numbers::pi * U(Rng);
    for (int I = 0; I < N; ++I) {
      const double A = Turn + 2 * std::numbers::pi * (I + 0.4 * U(Rng)) / N,
                   Q = R * (0.4 + 0.6 * U(Rng));
      const TDPoint P{M.X + Q * std::cos(A), M.Y + Q * std::sin(A)};
      if (I == 0)
        C.AddMoveTo(P);
      else if (Rng() % 3 == 0)
        C.AddArcTo(P, 1.2 * U(Rng) - 0.6);
      else
        C.AddLineTo(P);
    }
    if (Rng() % 3 == 0)
      C.AddCloseArc(0.5 * U(Rng) - 0.25);
    else
      C.AddClose();
  }
  return C;
}

// Points that test the rules: every vertex, edge middles, arc tops and
// bottoms, the heights of vertices and arc extremes at other places, and
// points a little off each, besides random points over the bounds.
std::vector<TDPoint> Probes(const TContour& C, std::mt19937& Rng, bool Grid) {
  std::vector<TDPoint> Sure, Heights;
  double X1 = 1E300, X2 = -1E300, Y1 = 1E300, Y2 = -1E300;
  TContourEdgeIter It;
  for (bool More = It.Start(C); More; More = It.Next()) {
    const TEdge& E = It.Edge;
    Sure.push_back(E.P1);
    Sure.push_back(EdgeMidPoint(E));
    Heights.push_back(E.P1);
    if (IsArc(E)) {
      Heights.push_back({E.Center.X, E.Center.Y + E.Radius});
      Heights.push_back({E.Center.X, E.Center.Y - E.Radius});
      Sure.push_back(Heights.back());
      // On the circle just past either end, where the angular slack of the
      // boundary test (Work) decides.
      const double A0 = std::atan2(E.P1.Y - E.Center.Y, E.P1.X - E.Center.X);
      const double Dir = E.Angle > 0 ? 1 : -1;
      for (const double L : {0.002, 0.008, 0.012, 0.03})
        for (const double A : {A0 - Dir * L / E.Radius, A0 + E.Angle + Dir * L / E.Radius})
          Sure.push_back(
              {E.Center.X + E.Radius * std::cos(A), E.Center.Y + E.Radius * std::sin(A)});
    }
    X1 = std::min({X1, E.P1.X, E.P2.X});
    X2 = std::max({X2, E.P1.X, E.P2.X});
    Y1 = std::min({Y1, E.P1.Y, E.P2.Y});
    Y2 = std::max({Y2, E.P1.Y, E.P2.Y});
  }
  std::uniform_real_distribution<double> UX(X1 - 1, X2 + 1), UY(Y1 - 1, Y2 + 1);
  const double Offsets[] = {0, 0, 0, 4E-10, -4E-10, 2E-9, -2E-9, 1E-7, -1E-7};
  std::vector<TDPoint> Out = Sure;
  for (int K = 0; K < 300; ++K) {
    TDPoint P{UX(Rng), UY(Rng)};
    switch (Rng() % 4) {
      case 0:
        P = Sure[Rng() % Sure.size()];
        break;
      case 1:
        P.Y = Heights[Rng() % Heights.size()].Y;
        if (Grid) P.X = std::round(P.X * 2) / 2;
        break;
      case 2:
        if (Grid) P = {std::round(P.X * 2) / 2, std::round(P.Y * 2) / 2};
        break;
      default:
        break;
    }
    P.X += Offsets[Rng() % 9];
    P.Y += Offsets[Rng() % 9];
    Out.push_back(P);
  }
  return Out;
}

TEST(ContourLocator, AnswersLikeThePlainWalkEverywhere) {
  std::mt19937 Rng(20261207);
  int Seen[3] = {0, 0, 0};
  // Work gives arcs an angular slack of Work / radius in the boundary test.
  const TTolerance Contexts[] = {TTolerance::Current(), {0, 1E-6}, {0, 0.01}, {0, 0.3}};
  for (int Round = 0; Round < 240; ++Round) {
    const bool Grid = Round % 2 == 0;
    // Near the origin, and where the coordinates keep fewer digits.
    const TDPoint O = Round % 3 == 0 ? TDPoint{0.5, -3} : Far;
    const TContour C = Grid ? Skyline(Rng, O) : Stars(Rng, O);
    const TTolerance Context = Contexts[Round / 2 % 4];
    TContourLocator Locator(C);
    Locator.Prepare(Context);
    for (const TDPoint& P : Probes(C, Rng, Grid)) {
      const TPointPlace Want = PointInContour(C, P, Context);
      ASSERT_EQ(Locator.Locate(P, Context), Want)
          << "round " << Round << std::setprecision(17) << " at (" << P.X << ", " << P.Y << ")";
      ++Seen[static_cast<int>(Want)];
    }
  }
  // The probes reach every answer often, so agreement means something.
  for (int Place = 0; Place < 3; ++Place) EXPECT_GT(Seen[Place], 5000) << Place;
}

TEST(ContourLocator, IndexesOnlyWhereItPays) {
  std::mt19937 Rng(3);
  TContour Small;
  Small.AddMoveTo(Far);
  Small.AddLineTo({Far.X + 10, Far.Y});
  Small.AddLineTo({Far.X + 10, Far.Y + 10});
  Small.AddClose();
  TContourLocator S(Small);
  for (int K = 0; K < 20; ++K) EXPECT_EQ(S.Locate({Far.X + 8, Far.Y + 1}), TPointPlace::Inside);
  EXPECT_FALSE(S.Indexed());

  TContour Big = Stars(Rng, Far);
  while (Big.CommandCount() < TContourLocator::IndexThreshold) Big = Stars(Rng, Far);
  TContourLocator B(Big);
  const std::vector<TDPoint> Ps = Probes(Big, Rng, false);
  for (size_t K = 0; K < Ps.size(); ++K) {
    EXPECT_EQ(B.Indexed(), K > static_cast<size_t>(TContourLocator::PlainTests));
    EXPECT_EQ(B.Locate(Ps[K]), PointInContour(Big, Ps[K]));
  }
  EXPECT_TRUE(B.Indexed());
  // Built for no angular slack: tests with some walk the contour instead.
  const TTolerance Loose{0, 0.05};
  for (const TDPoint& P : Ps) ASSERT_EQ(B.Locate(P, Loose), PointInContour(Big, P, Loose));

  // A contour without closed parts holds nothing, indexed or not.
  TContour Open;
  Open.AddMoveTo(Far);
  for (int K = 1; K < 100; ++K) Open.AddLineTo({Far.X + K, Far.Y + (K % 2) * 5});
  TContourLocator L(Open);
  L.Prepare();
  EXPECT_EQ(L.Locate({Far.X + 50, Far.Y + 1}), TPointPlace::Outside);
  EXPECT_EQ(L.Locate({Far.X + 1, Far.Y + 5}), TPointPlace::Outside);
}

}  // namespace
}  // namespace geo
