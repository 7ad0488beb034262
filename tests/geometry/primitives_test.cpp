#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/coord_sys.h"
#include "addonlib/geometry/point_array.h"
#include "addonlib/geometry/point_list.h"
#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/rect.h"
#include "addonlib/geometry/segment.h"
#include "addonlib/geometry/snap.h"
#include "core/exception.h"
#include "test_util.h"

namespace geo {
namespace {

using test::MessageOf;

const double kPi = 3.14159265358979323846;

TEST(Primitives, PointsAnglesAndTolerances) {
  EXPECT_TRUE(SamePoint({0, 0}, {9.9E-7, 0}));
  EXPECT_FALSE(SamePoint({0, 0}, {1.1E-6, 0}));
  EXPECT_TRUE(SamePointTol({0, 0}, {1E-6, 1E-6}, 1E-6));  // inclusive
  EXPECT_FALSE(SamePointTol({0, 0}, {1E-6, 2E-6}, 1E-6));
  EXPECT_DOUBLE_EQ(AngleOf({0, 0}, {0, -1}), 3 * kPi / 2);
  EXPECT_DOUBLE_EQ(AngleOf({0, 0}, {-1, 0}), kPi);
  EXPECT_EQ(AngleOf({0, 0}, {1, 0}), 0.0);
  // Just below the x-axis stays below 2*pi.
  EXPECT_LT(static_cast<long double>(AngleOf({0, 0}, {1, -1E-300})), TwoPi);
  const TDPoint N = VecNormalize({3, -4});
  EXPECT_DOUBLE_EQ(N.X, 0.6);
  EXPECT_DOUBLE_EQ(N.Y, -0.8);
  const TDPoint Z = VecNormalize({0, 0});
  EXPECT_EQ(Z.X, 0.0);
  EXPECT_EQ(Z.Y, 0.0);
  EXPECT_DOUBLE_EQ(Distance({500003, 6000004}, {500000, 6000000}), 5);
  EXPECT_DOUBLE_EQ(Dot({1, 2}, {3, 4}), 11);
  EXPECT_DOUBLE_EQ(VecLength(VecScale(VecSub({4, 6}, {1, 2}), 2)), 10);
}

TEST(Primitives, GetCenter2KnownArcs) {
  double Sweep = 7;
  TDPoint C{9, 9};
  ASSERT_TRUE(GetCenter2({0, 0}, {2, 0}, Sweep, 1, C));
  EXPECT_NEAR(C.X, 1, 1E-15);
  EXPECT_NEAR(C.Y, 0, 1E-15);
  EXPECT_NEAR(Sweep, kPi, 1E-15);
  ASSERT_TRUE(GetCenter2({0, 0}, {2, 0}, Sweep, -1, C));
  EXPECT_NEAR(C.X, 1, 1E-15);
  EXPECT_NEAR(Sweep, -kPi, 1E-15);
  ASSERT_TRUE(GetCenter2({0, 0}, {2, 0}, Sweep, 0.5, C));
  EXPECT_NEAR(C.X, 1, 1E-15);
  EXPECT_NEAR(C.Y, 0.75, 1E-15);
  EXPECT_NEAR(Distance(C, {2, 0}), 1.25, 1E-15);
  EXPECT_NEAR(Sweep, 4 * std::atan(0.5), 1E-15);
  ASSERT_TRUE(GetCenter2({0, 0}, {2, 0}, Sweep, -0.5, C));
  EXPECT_NEAR(C.Y, -0.75, 1E-15);
  EXPECT_NEAR(Sweep, -4 * std::atan(0.5), 1E-15);
  // Straight by convexity, or equal ends: False with outputs untouched.
  Sweep = 7;
  C = {9, 9};
  EXPECT_FALSE(GetCenter2({0, 0}, {2, 0}, Sweep, 1E-16, C));
  EXPECT_FALSE(GetCenter2({0, 0}, {5E-7, 0}, Sweep, 0.5, C));
  EXPECT_EQ(Sweep, 7.0);
  EXPECT_EQ(C.X, 9.0);
  ASSERT_TRUE(GetCenter2({0, 0}, {2, 0}, Sweep, 1E-14, C));
  EXPECT_NEAR(C.Y / (1 / (2 * 1E-14)), 1,
              1E-5);  // h = (1 - c^2)/(2c), to the tangent form's precision
  EXPECT_GT(Sweep, 0);
}

// Centre, radius and sweep against the closed formulas, on random arcs, near
// the origin and at projected map coordinates; both centre formulas covered.
TEST(Primitives, GetCenter2MatchesClosedFormOnRandomArcs) {
  std::mt19937_64 Rng(12345);
  std::uniform_real_distribution<double> U(-100, 100);
  std::uniform_real_distribution<double> CU(-3, 3);
  for (const TDPoint Shift : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    for (int I = 0; I < 2000; ++I) {
      const TDPoint P1{U(Rng) + Shift.X, U(Rng) + Shift.Y};
      const TDPoint P2{U(Rng) + Shift.X, U(Rng) + Shift.Y};
      double Cv = CU(Rng);
      if (I % 4 == 0) Cv /= 500;  // flat arcs: tangent formula
      if (std::fabs(Cv) < 1E-6) continue;
      double Sweep;
      TDPoint C;
      ASSERT_TRUE(GetCenter2(P1, P2, Sweep, Cv, C));
      const long double D = Distance(P1, P2);
      const long double R = D / 2 * (1 + Cv * Cv) / (2 * std::fabs(Cv));
      const double Tol = 1E-9 * std::max<long double>(R, 1) + 1E-8;
      EXPECT_NEAR(Distance(C, P1), R, Tol);
      EXPECT_NEAR(Distance(C, P2), R, Tol);
      EXPECT_NEAR(Sweep, 4 * std::atan(Cv), 1E-9);
      // Centre on the left of the chord for 0 < c < 1 and c < -1.
      const double Cross = (P2.X - P1.X) * (C.Y - P1.Y) - (P2.Y - P1.Y) * (C.X - P1.X);
      if (std::fabs(std::fabs(Cv) - 1) > 1E-3) {
        EXPECT_EQ(Cross > 0, (Cv > 0 && Cv < 1) || Cv < -1) << Cv;
      }
    }
  }
}

// A point on the arc and the arc's convexity rebuilt from three points.
TEST(Primitives, ThreePointConvexityRoundTrip) {
  double Cv = 0;
  ASSERT_TRUE(ConvexityBy3Points({0, 0}, {1, 1}, {2, 0}, Cv));
  EXPECT_NEAR(Cv, -1, 1E-15);
  ASSERT_TRUE(ConvexityBy3Points({0, 0}, {1, -1}, {2, 0}, Cv));
  EXPECT_NEAR(Cv, 1, 1E-15);
  EXPECT_FALSE(ConvexityBy3Points({0, 0}, {1, 0}, {2, 0}, Cv));
  Cv = 5;
  ASSERT_TRUE(ConvexityBy3Points({0, 0}, {5E-7, 0}, {2, 0}, Cv));
  EXPECT_EQ(Cv, 0.0);

  std::mt19937_64 Rng(777);
  std::uniform_real_distribution<double> U(-50, 50);
  std::uniform_real_distribution<double> CU(-4, 4);
  for (const TDPoint Shift : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    for (int I = 0; I < 2000; ++I) {
      const TDPoint P1{U(Rng) + Shift.X, U(Rng) + Shift.Y};
      const TDPoint P2{U(Rng) + Shift.X, U(Rng) + Shift.Y};
      const double C0 = CU(Rng);
      if (std::fabs(C0) < 0.05 || Distance(P1, P2) < 1) continue;
      double Sweep;
      TDPoint C;
      ASSERT_TRUE(GetCenter2(P1, P2, Sweep, C0, C));
      // Midpoint of the arc, independent of ArcMidPoint: rotate P1 by Sweep/2.
      const long double A =
          std::atan2(static_cast<long double>(P1.Y) - C.Y, static_cast<long double>(P1.X) - C.X) +
          Sweep / 2.0L;
      const long double R = Distance(C, P1);
      const TDPoint M{static_cast<double>(C.X + R * std::cos(A)),
                      static_cast<double>(C.Y + R * std::sin(A))};
      double C1;
      ASSERT_TRUE(ConvexityBy3Points(P1, M, P2, C1));
      EXPECT_NEAR(C1, C0, 1E-7 * std::max(1.0, C0 * C0)) << I;
      double S3;
      TDPoint C3;
      ASSERT_TRUE(CircleBy3Points(P1, M, P2, S3, C3));
      EXPECT_NEAR(S3, Sweep, 1E-7);
      EXPECT_NEAR(Distance(C3, C), 0, 1E-6 * std::max(1.0L, R));
      TDPoint Mid;
      ArcMidPoint(Sweep > 0 ? P1 : P2, C, Sweep > 0 ? P2 : P1, false, Mid);
      EXPECT_NEAR(Distance(Mid, M), 0, 1E-6 * std::max(1.0L, R));
      ArcMidPoint(Sweep > 0 ? P1 : P2, C, Sweep > 0 ? P2 : P1, true, Mid);
      EXPECT_NEAR(Distance(Mid, M), 2 * R, 1E-6 * std::max(1.0L, R));
      EXPECT_NEAR(ConvexityFromCenter(P1, C, P2, Sweep < 0), C0, 1E-7 * std::max(1.0, C0 * C0));
    }
  }
}

TEST(Primitives, AngularSpans) {
  const double Deg = kPi / 180;
  EXPECT_TRUE(AngleInSweep(5 * Deg, 350 * Deg, 20 * Deg));
  EXPECT_TRUE(AngleInSweep(355 * Deg, 350 * Deg, 20 * Deg));
  EXPECT_FALSE(AngleInSweep(20 * Deg, 350 * Deg, 20 * Deg));
  EXPECT_TRUE(AngleInSweep(kPi, 0, kPi));     // bound inclusive
  EXPECT_TRUE(AngleInSweep(0, 0, -kPi / 2));  // negative sweep, start bound
  EXPECT_TRUE(AngleInSweep(1.5 * kPi + 1E-9, 0, -kPi / 2));
  EXPECT_FALSE(AngleInSweep(kPi, 0, -kPi / 2));
  const TDPoint C{500000, 6000000};
  auto At = [&](double A) { return TDPoint{C.X + 10 * std::cos(A), C.Y + 10 * std::sin(A)}; };
  EXPECT_TRUE(ArcContainsAngle(C, At(350 * Deg), At(5 * Deg), 20 * Deg));
  EXPECT_TRUE(ArcContainsAngle(C, At(350 * Deg), At(355 * Deg), 20 * Deg));
  EXPECT_FALSE(ArcContainsAngle(C, At(350 * Deg), At(15 * Deg), 20 * Deg));
  EXPECT_TRUE(ArcContainsAngle(C, At(10 * Deg), At(355 * Deg), -20 * Deg));
  EXPECT_FALSE(ArcContainsAngle(C, At(10 * Deg), At(20 * Deg), -20 * Deg));
  EXPECT_EQ(MessageOf([&] { ArcContainsAngle(C, At(0), At(0), 0); }), "arc: delta = 0");
  const TTolerance Slack{0, 0.01};  // 1E-3 rad of slack at radius 10
  EXPECT_TRUE(ArcContainsAngle(C, At(10 * Deg), At(10 * Deg + 5E-4), 20 * Deg - 0.1, Slack));
  EXPECT_TRUE(ArcContainsAngle(C, At(10 * Deg), At(10 * Deg - 5E-4), 20 * Deg, Slack));
  EXPECT_FALSE(ArcContainsAngle(C, At(10 * Deg), At(10 * Deg - 2E-3), 20 * Deg, Slack));
  // Without a context, the thread's default for the scope that sets it.
  EXPECT_FALSE(ArcContainsAngle(C, At(10 * Deg), At(10 * Deg - 5E-4), 20 * Deg));
  {
    const TWorkToleranceScope Scope(0.01);
    EXPECT_TRUE(ArcContainsAngle(C, At(10 * Deg), At(10 * Deg - 5E-4), 20 * Deg));
  }
  EXPECT_EQ(TTolerance::Current().Work, 0.0);
}

TEST(Primitives, IncidenceTests) {
  const double Tol = 1E-3;
  const TDSegment S = MakeSegment({0, 0}, {10, 1}, 0);
  EXPECT_TRUE(PointOnLine(S, {5, 0.5 + Tol / 2}, Tol));
  EXPECT_FALSE(PointOnLine(S, {5, 0.5 + 2 * Tol}, Tol));
  EXPECT_FALSE(PointOnLine(S, {10.0001, 1}, Tol));
  EXPECT_TRUE(PointOnSegment(S, {10, 1}, Tol));
  // Steep segment: the tolerance runs along x.
  EXPECT_TRUE(PointOnLine(MakeSegment({0, 0}, {1, 10}, 0), {0.5 + Tol / 2, 5}, Tol));
  // Degenerate: the point tolerance decides.
  EXPECT_TRUE(PointOnSegment(MakeSegment({3, 3}, {3, 3}, 0), {3 + 5E-7, 3}, 0));
  EXPECT_FALSE(PointOnSegment(MakeSegment({3, 3}, {3, 3}, 0), {3 + 2E-6, 3}, 0));
  // Upper half circle around (1, 0) from (2, 0) to (0, 0), turning left.
  const TDSegment Arc = MakeSegment({500002, 6000000}, {500000, 6000000}, 1);
  EXPECT_TRUE(PointOnSegment(Arc, {500001, 6000001}, Tol));
  EXPECT_TRUE(PointOnSegment(Arc, {500001 + std::sqrt(0.5), 6000000 + std::sqrt(0.5)}, Tol));
  EXPECT_FALSE(PointOnSegment(Arc, {500001, 5999999}, Tol));  // lower half
  EXPECT_FALSE(PointOnSegment(Arc, {500001, 6000001.01}, Tol));
  EXPECT_TRUE(ReverseSegment(Arc).Convexity == -1 && ReverseSegment(Arc).P1.X == 500000);
  EXPECT_TRUE(PointOnSegment(ReverseSegment(Arc), {500001, 6000001}, Tol));
  const std::string M = MessageOf([] { PointOnArc(MakeSegment({0, 0}, {0, 0}, 0.5), {0, 0}, 1); });
  EXPECT_EQ(
      M.rfind("Invalid params, can't calculate arccenter. Convexity: 0.50 (segment.cpp, line ", 0),
      0u)
      << M;
}

TEST(Primitives, SnappingResults) {
  const TDPoint A{0, 0}, B{10, 0}, C{0, 10}, D{10, 10};
  const TDPoint Cands[4] = {A, B, C, D};
  TDPoint P{1E-4, -1E-4};
  EXPECT_TRUE(SnapToNearest(Cands, P, 1E-3));
  EXPECT_EQ(P.X, 0.0);
  P = {5, 5};  // equidistant: the first candidate is nearest, but too far
  EXPECT_FALSE(SnapToNearest(Cands, P, 1E-3));
  EXPECT_EQ(P.X, 5.0);
  const TWorkToleranceScope Scope(1E-3);
  TDPoint R1{10.0005, 0}, R2{5, 5};
  CheckResult3(A, B, C, D, 2, R1, R2);
  EXPECT_EQ(R1.X, 10.0);
  EXPECT_EQ(R2.X, 5.0);
  R1 = {9.9995, 0};
  R2 = {10.0004, 0.0002};
  EXPECT_EQ(MessageOf([&] { CheckResult3(A, B, C, D, 2, R1, R2); }),
            "CheckResult3: Точки склеелись");
  EXPECT_EQ(R1.X, 9.9995);  // left as they were
  EXPECT_EQ(R2.X, 10.0004);
  CheckResult3(A, B, C, D, 1, R1, R2);  // only the first result is looked at
  EXPECT_EQ(R1.X, 10.0);
  EXPECT_EQ(R2.X, 10.0004);
}

TEST(Primitives, CoordSys) {
  TCoordSys F;
  const std::string M = MessageOf([&] { F.InitPoints({1, 1}, {1, 1}); });
  EXPECT_EQ(M.rfind("Invalid params (TCoordSys.InitPoints) (coord_sys.cpp, line ", 0), 0u) << M;
  EXPECT_FALSE(F.ByPoints);  // unchanged by the failure
  EXPECT_NO_THROW(F.InitPoints({1, 1}, {1 + 1E-9, 1}));
  std::mt19937_64 Rng(99);
  std::uniform_real_distribution<double> U(-1000, 1000);
  for (int I = 0; I < 500; ++I) {
    const TDPoint O{500000 + U(Rng), 6000000 + U(Rng)}, T{500000 + U(Rng), 6000000 + U(Rng)};
    const TDPoint P{500000 + U(Rng), 6000000 + U(Rng)};
    TCoordSys A, B;
    A.InitPoints(O, T);
    B.InitAngle(O, AngleOf(O, T));
    const TDPoint LA = A.ToLocal(P), LB = B.ToLocal(P);
    EXPECT_NEAR(LA.X, LB.X, 1E-8);
    EXPECT_NEAR(LA.Y, LB.Y, 1E-8);
    // Local X is the projection on O->T, local Y the signed distance to the left.
    const double Len = Distance(O, T);
    EXPECT_NEAR(LA.X, ((P.X - O.X) * (T.X - O.X) + (P.Y - O.Y) * (T.Y - O.Y)) / Len, 1E-8);
    EXPECT_NEAR(LA.Y, ((T.X - O.X) * (P.Y - O.Y) - (T.Y - O.Y) * (P.X - O.X)) / Len, 1E-8);
    TDPoint W = LB;
    B.ToWorldInPlace(W);
    EXPECT_NEAR(W.X, P.X, 1E-8);
    EXPECT_NEAR(W.Y, P.Y, 1E-8);
    EXPECT_NEAR(A.ToWorld(LA).X, P.X, 1E-8);
    EXPECT_NEAR(A.ToWorld(LA).Y, P.Y, 1E-8);
  }
}

TEST(Primitives, Rectangles) {
  TDRect R = MakeDRect(3, 4, 1, 2);
  NormalizeRect(R);
  EXPECT_TRUE(RectsEqual(R, MakeDRect(1, 2, 3, 4)));
  EXPECT_TRUE(RectsEqual(RectFromPoints({3, 2}, {1, 4}), R));
  EXPECT_EQ(RectWidth(R), 2.0);
  EXPECT_EQ(RectHeight(R), 2.0);
  EXPECT_EQ(RectCenter(R).X, 2.0);
  EXPECT_TRUE(RectsIntersect(R, MakeDRect(3, 4, 5, 5)));  // corner touch
  EXPECT_FALSE(RectsIntersect(R, MakeDRect(3.1, 0, 5, 5)));
  EXPECT_FALSE(RectsIntersect(R, MakeDRect(0, 4.1, 5, 5)));
  EXPECT_TRUE(RectInRect(R, R));
  EXPECT_FALSE(RectInRect(R, MakeDRect(1, 2, 3.1, 4)));
  EXPECT_TRUE(PointInRect(R, {1, 4}));
  ExtendRectByPoint(R, {0, 5});
  EXPECT_TRUE(RectsEqual(R, MakeDRect(0, 2, 3, 5)));
  ExtendRect(R, MakeDRect(-1, -1, 0, 0));
  EXPECT_TRUE(RectsEqual(R, MakeDRect(-1, -1, 3, 5)));
  InflateRect(R, 1, 2);
  EXPECT_TRUE(RectsEqual(R, MakeDRect(-2, -3, 4, 7)));
  ClearRect(R);
  EXPECT_TRUE(RectsEqual(R, MakeDRect(0, 0, 0, 0)));
}

TEST(Primitives, PointArrayGrowsByDoubling) {
  TDPointArray A;
  A.Init(0);
  EXPECT_EQ(A.Items.size(), 0u);
  size_t Expected[] = {2, 2, 4, 4, 8, 8, 8, 8, 16};
  for (int I = 0; I < 9; ++I) {
    EXPECT_EQ(A.Add({double(I), 0}), I);
    EXPECT_EQ(A.Items.size(), Expected[I]) << I;
  }
  TDPointArray B;
  B.Init(-3);
  EXPECT_EQ(B.AddArray(A), 9);
  EXPECT_EQ(B.Get(8).X, 8.0);
  const std::string M = MessageOf([&] { B.Get(9); });
  EXPECT_EQ(M.rfind("Assertion failure (value_array.h, line ", 0), 0u) << M;
  EXPECT_NE(MessageOf([&] { B.Get(-1); }), "<no exception>");
  B.Reset();
  EXPECT_EQ(B.Count, 0);
  EXPECT_EQ(B.Items.size(), 16u);
}

// Literal crossing-number reference: counts each edge whose Y span contains
// P.Y half-open, so it is independent of TDPointList's loop.
bool ReferenceInside(const std::vector<TDPoint>& Poly, const TDPoint& P) {
  int W = 0;
  const size_t N = Poly.size();
  for (size_t I = 0; I < N; ++I) {
    const TDPoint& A = Poly[I];
    const TDPoint& B = Poly[(I + 1) % N];
    const double Side = (B.X - A.X) * (P.Y - A.Y) - (P.X - A.X) * (B.Y - A.Y);
    if (A.Y <= P.Y && B.Y > P.Y && Side > 0) ++W;
    if (A.Y > P.Y && B.Y <= P.Y && Side < 0) --W;
  }
  return W != 0;
}

TEST(Primitives, PointListContains) {
  TDPointList L;
  for (const TDPoint& P : {TDPoint{5, 0}, TDPoint{10, 5}, TDPoint{5, 10}, TDPoint{0, 5}}) L.Add(P);
  EXPECT_FALSE(L.Contains({5, 5}));  // not Closed
  L.Closed = true;
  EXPECT_TRUE(L.Contains({5, 5}));
  EXPECT_TRUE(L.Contains({7, 5}));  // ray through the vertex (0, 5)
  EXPECT_FALSE(L.Contains({12, 5}));
  EXPECT_FALSE(L.Contains({-1, 10}));  // touches the top vertex only
  double X;
  EXPECT_TRUE(HorizontalCrossing({0, 0}, {10, 10}, {3, 4}, X));
  EXPECT_EQ(X, 4.0);
  EXPECT_TRUE(HorizontalCrossing({10, 10}, {0, 0}, {3, 10}, X));    // inclusive ends
  EXPECT_FALSE(HorizontalCrossing({0, 0}, {10, 10}, {10, 10}, X));  // P is B
  EXPECT_FALSE(HorizontalCrossing({0, 3}, {10, 3}, {3, 3}, X));
  EXPECT_FALSE(HorizontalCrossing({0, 0}, {10, 10}, {3, 11}, X));

  // Star-shaped random polygons with vertex heights repeated on purpose.
  std::mt19937_64 Rng(4242);
  std::uniform_real_distribution<double> U(0, 1);
  for (int K = 0; K < 50; ++K) {
    std::vector<TDPoint> Poly;
    TDPointList PL;
    PL.Closed = true;
    const int N = 3 + K % 17;
    for (int I = 0; I < N; ++I) {
      const double A = 2 * kPi * (I + 0.8 * U(Rng)) / N;
      const double R = 20 + 80 * U(Rng);
      const TDPoint P{500000 + std::round(R * std::cos(A)), 6000000 + std::round(R * std::sin(A))};
      Poly.push_back(P);
      PL.Add(P);
    }
    for (int I = 0; I < 400; ++I) {
      // Probes on integer heights hit vertices; half-integer X avoids edges' ends.
      const TDPoint P{500000 + std::round(200 * U(Rng) - 100) + 0.5,
                      6000000 + std::round(200 * U(Rng) - 100)};
      EXPECT_EQ(PL.Contains(P), ReferenceInside(Poly, P)) << K << " " << I;
    }
  }
}

}  // namespace
}  // namespace geo
