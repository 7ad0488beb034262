#include "addonlib/geometry/intersect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/geometry/arc_reference.h"
#include "tests/geometry/test_util.h"

namespace geo {
namespace {

using namespace geo::test;

const double kPi = 3.14159265358979323846;

using test::MessageOf;

// Holds the thread's default working tolerance at Tol for one scope.
using TolScope = TWorkToleranceScope;

void ExpectNear(const TDPoint& P, const TDPoint& Q, double Tol) {
  EXPECT_NEAR(P.X, Q.X, Tol);
  EXPECT_NEAR(P.Y, Q.Y, Tol);
}

TGConnectFull Line(const TDPoint& P1, const TDPoint& P2) {
  return TGConnectFull{P1, P2, TConnectKind::Line, 0};
}
TGConnectFull Arc(const TDPoint& P1, const TDPoint& P2, double C) {
  return TGConnectFull{P1, P2, TConnectKind::Arc, C};
}

double DistToSegment(const TDPoint& Q, const TDPoint& A, const TDPoint& B) {
  const long double DX = static_cast<long double>(B.X) - A.X,
                    DY = static_cast<long double>(B.Y) - A.Y;
  long double T = ((Q.X - A.X) * DX + (Q.Y - A.Y) * DY) / (DX * DX + DY * DY);
  T = std::fmax(0.0L, std::fmin(1.0L, T));
  return static_cast<double>(std::hypot(Q.X - A.X - T * DX, Q.Y - A.Y - T * DY));
}

double DistToEdge(const TDPoint& Q, const TGConnectFull& E) {
  if (E.Kind == TConnectKind::Line) return DistToSegment(Q, E.P1, E.P2);
  const RefArc A = RefOf(E.P1, E.P2, E.Convexity);
  const long double F = RefFraction(A, Q.X, Q.Y);
  if (F >= 0 && F <= 1)
    return static_cast<double>(std::fabs(std::hypot(Q.X - A.CX, Q.Y - A.CY) - A.R));
  return std::fmin(Distance(Q, E.P1), Distance(Q, E.P2));
}

// A fine polyline of an edge.
std::vector<TDPoint> Linearise(const TGConnectFull& E, int N) {
  std::vector<TDPoint> P;
  const RefArc A = E.Kind == TConnectKind::Arc ? RefOf(E.P1, E.P2, E.Convexity) : RefArc{};
  for (int I = 0; I <= N; ++I) {
    const long double F = static_cast<long double>(I) / N;
    P.push_back(E.Kind == TConnectKind::Arc
                    ? RefPoint(A, F)
                    : TDPoint{static_cast<double>(E.P1.X + F * (E.P2.X - E.P1.X)),
                              static_cast<double>(E.P1.Y + F * (E.P2.Y - E.P1.Y))});
  }
  return P;
}

// Crossings of E with F counted along a fine polyline of E: sign changes of
// the signed distance to F's line or circle, kept where the crossing lies
// within F. Ambiguous is set when a crossing lies near an end or near
// another crossing, where sampling cannot decide the count.
int CountCrossings(const TGConnectFull& E, const TGConnectFull& F, int N, double Near,
                   bool& Ambiguous) {
  const RefArc Circle = F.Kind == TConnectKind::Arc ? RefOf(F.P1, F.P2, F.Convexity) : RefArc{};
  const long double FX = F.P2.X - F.P1.X, FY = F.P2.Y - F.P1.Y;
  auto Side = [&](const TDPoint& P) -> long double {
    if (F.Kind == TConnectKind::Arc) return std::hypot(P.X - Circle.CX, P.Y - Circle.CY) - Circle.R;
    return (FX * (P.Y - F.P1.Y) - FY * (P.X - F.P1.X)) / std::hypot(FX, FY);
  };
  const std::vector<TDPoint> Poly = Linearise(E, N);
  std::vector<TDPoint> Found;
  for (size_t I = 0; I + 1 < Poly.size(); ++I) {
    const long double S0 = Side(Poly[I]), S1 = Side(Poly[I + 1]);
    if ((S0 < 0) == (S1 < 0)) continue;
    const long double T = S0 / (S0 - S1);
    const TDPoint Q{static_cast<double>(Poly[I].X + T * (Poly[I + 1].X - Poly[I].X)),
                    static_cast<double>(Poly[I].Y + T * (Poly[I + 1].Y - Poly[I].Y))};
    const long double At = F.Kind == TConnectKind::Arc
                               ? RefFraction(Circle, Q.X, Q.Y)
                               : ((Q.X - F.P1.X) * FX + (Q.Y - F.P1.Y) * FY) / (FX * FX + FY * FY);
    if (At < 0 || At > 1) continue;
    for (const TDPoint& End : {E.P1, E.P2, F.P1, F.P2})
      if (Distance(Q, End) < Near) Ambiguous = true;
    for (const TDPoint& Other : Found)
      if (Distance(Q, Other) < Near) Ambiguous = true;
    Found.push_back(Q);
  }
  return static_cast<int>(Found.size());
}

TEST(Intersect, LinesEdgeCases) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    auto P = [&](double X, double Y) { return TDPoint{O.X + X, O.Y + Y}; };
    TDPoint R1{-1, -1}, R2{-2, -2};
    // Shared end, no overlap.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(10, 0), P(12, 7), R1, R2), 1);
    ExpectNear(R1, P(10, 0), 0);
    EXPECT_EQ(R2.X, -2);  // only found points are written
    // Identical segments: both ends, the shared one first.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(0, 0), P(10, 0), R1, R2), 2);
    ExpectNear(R1, P(0, 0), 0);
    ExpectNear(R2, P(10, 0), 0);
    // Reversed copy: the shared end found first is A1 = B2.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(10, 0), P(0, 0), R1, R2), 2);
    ExpectNear(R1, P(0, 0), 0);
    ExpectNear(R2, P(10, 0), 0);
    // Collinear overlap without shared ends: A's end on B first, then B's on A.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(5, 0), P(15, 0), R1, R2), 2);
    ExpectNear(R1, P(10, 0), 0);
    ExpectNear(R2, P(5, 0), 0);
    // Shared end with overlap: the shorter one's other end lies on the longer.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(0, 0), P(4, 0), R1, R2), 2);
    ExpectNear(R2, P(4, 0), 0);
    // Interior crossing.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 10), P(0, 10), P(10, 0), R1, R2), 1);
    ExpectNear(R1, P(5, 5), 1E-9);
    // A T-junction gives the touching end itself.
    ASSERT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(3, 5), P(3, 0), R1, R2), 1);
    ExpectNear(R1, P(3, 0), 0);
    // Parallel, apart; and crossing lines whose segments stop short.
    EXPECT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(0, 1), P(10, 1), R1, R2), 0);
    EXPECT_EQ(IntersectLinesAll(P(0, 0), P(10, 0), P(5, 1), P(6, 3), R1, R2), 0);
  }
}

TEST(Intersect, FailuresLeaveResultsUntouched) {
  TolScope G(1E-3);
  TDPoint R1{-1, -1}, R2{-2, -2};
  // Ends near each other without being the same point.
  EXPECT_EQ(MessageOf([&] {
              IntersectLinesAll({0, 0}, {10, 0}, {10.0005, 0}, {20, 5}, R1, R2);
            }),
            "Точки расположены близко");
  EXPECT_EQ(MessageOf([&] {
              IntersectLinesAll({0, 0}, {0.0005, 0}, {3, 3}, {20, 5}, R1, R2);
            }),
            "Точки расположены близко");
  EXPECT_EQ(MessageOf([&] {
              IntersectArcsAll({0, 0}, {2, 0}, 1, {2.0002, 0}, {5, 0}, 1, R1, R2);
            }),
            "Точки расположены близко");
  // Same points (below PointTolerance) are accepted even within WorkTolerance.
  EXPECT_EQ(IntersectLinesAll({0, 0}, {10, 0}, {10.0000005, 0}, {20, 5}, R1, R2), 1);
  R1 = {-1, -1};
  // A proper crossing within the tolerance of an end point.
  EXPECT_EQ(MessageOf([&] {
              IntersectSegmentsProper({0, 0}, {10, 0}, {9.9995, -5}, {9.9995, 5}, R1);
            }),
            "Допуск большой");
  EXPECT_EQ(MessageOf([&] {
              IntersectSegmentsProper({0, 0}, {10, 0}, {5, -5}, {5, 0.0004}, R1);
            }),
            "Допуск большой");
  // Just outside the widened range: no crossing, no error.
  EXPECT_FALSE(IntersectSegmentsProper({0, 0}, {10, 0}, {10.002, -5}, {10.002, 5}, R1));
  double D = 7;
  EXPECT_EQ(MessageOf([&] { ProjectOnSegment({1, 1}, {2, 2}, {2, 2}, D); }), "Вырожденная прямая");
  // The foot must lie strictly inside.
  EXPECT_FALSE(ProjectOnSegment({0, 1}, {0, 0}, {10, 0}, D));
  EXPECT_TRUE(ProjectOnSegment({4, 3}, {0, 0}, {10, 0}, D));
  EXPECT_DOUBLE_EQ(D, 3);
  // Flat arcs have no centre.
  EXPECT_EQ(MessageOf([&] {
              IntersectLineWithArcMy({0, 0}, {10, 0}, {1, 1}, {2, 2}, 1E-16, R1, R2);
            }),
            "IntersectLineWithArcMy: GetCenter2 failed");
  EXPECT_EQ(MessageOf([&] {
              IntersectArcsMy({0, 0}, {1, 0}, 0.5, {1, 1}, {2, 2}, 0, R1, R2);
            }),
            "IntersectArcsMy: GetCenter2 failed");
  // Two 270 degree arcs of one circle overlap in two pieces, all four ends
  // lying on the other arc: more points than the result holds are refused,
  // not silently dropped.
  const double C270 = std::tan(3 * kPi / 8);
  EXPECT_EQ(MessageOf([&] {
              IntersectArcsAll({1, 0}, {0, -1}, C270, {-1, 0}, {0, 1}, C270, R1, R2);
            }),
            "numRes > 2");
  EXPECT_EQ(R1.X, -1);
  EXPECT_EQ(R2.X, -2);
}

TEST(Intersect, LineWithArcOrderAndTangent) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    auto P = [&](double X, double Y) { return TDPoint{O.X + 10 * X, O.Y + 10 * Y}; };
    TDPoint R1, R2;
    // Upper half of the unit circle, counter-clockwise from (1,0) to (-1,0).
    ASSERT_EQ(IntersectLineWithArcAll(P(-2, 1), P(2, 1), P(1, 0), P(-1, 0), 1, R1, R2), 1);
    ExpectNear(R1, P(0, 1), 1E-7);
    const double H = std::sqrt(0.75);
    ASSERT_EQ(IntersectLineWithArcAll(P(-2, 0.5), P(2, 0.5), P(1, 0), P(-1, 0), 1, R1, R2), 2);
    ExpectNear(R1, P(-H, 0.5), 1E-8);  // nearer to the line's start first
    ExpectNear(R2, P(H, 0.5), 1E-8);
    ASSERT_EQ(IntersectLineWithArcAll(P(2, 0.5), P(-2, 0.5), P(1, 0), P(-1, 0), 1, R1, R2), 2);
    ExpectNear(R1, P(H, 0.5), 1E-8);
    // The lower half is not touched by lines above the centre.
    EXPECT_EQ(IntersectLineWithArcAll(P(-2, 0.5), P(2, 0.5), P(1, 0), P(-1, 0), -1, R1, R2), 0);
    // Line ending inside the circle: one crossing.
    ASSERT_EQ(IntersectLineWithArcAll(P(-2, 0.5), P(0, 0.5), P(1, 0), P(-1, 0), 1, R1, R2), 1);
    ExpectNear(R1, P(-H, 0.5), 1E-8);
    // A result within the tolerance of an end point becomes that end point.
    ASSERT_EQ(IntersectLineWithArcAll(P(1, -1), P(1, 1), P(1, 0), P(-1, 0), 1, R1, R2), 1);
    EXPECT_EQ(R1.X, P(1, 0).X);
    EXPECT_EQ(R1.Y, P(1, 0).Y);
  }
}

// A line within the tolerance of a circle touches it at one point, while the
// two crossings lie sqrt(2 R Tol) apart, here 1e-3 either side of it. An arc
// or a segment ending between them meets the other once, at its crossing.
TEST(Intersect, NearlyTangentLineMeetsAnArcEndingBesideTheTouchingPoint) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    auto P = [&](double X, double Y) { return TDPoint{O.X + 10 * X, O.Y + 10 * Y}; };
    const double Y = -1 + 5e-9;  // 5e-8 above the lowest point of a circle of radius 10
    const TDPoint Crossing = P(-1e-4, Y);
    TDPoint R1, R2;
    // A quarter of the circle ending 5e-4 before its lowest point.
    const double Sweep = kPi / 2 - 5e-5;
    const TDPoint End = P(std::cos(kPi + Sweep), std::sin(kPi + Sweep));
    ASSERT_EQ(
        IntersectLineWithArcAll(P(-2, Y), P(2, Y), P(-1, 0), End, std::tan(Sweep / 4), R1, R2), 1);
    ExpectNear(R1, Crossing, 2e-5);
    // The lower half, and a segment ending 5e-4 before the lowest point.
    ASSERT_EQ(IntersectLineWithArcAll(P(-2, Y), P(-5e-5, Y), P(-1, 0), P(1, 0), 1, R1, R2), 1);
    ExpectNear(R1, Crossing, 2e-5);
  }
}

TEST(Intersect, ArcsEdgeCases) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    auto P = [&](double X, double Y) { return TDPoint{O.X + 10 * X, O.Y + 10 * Y}; };
    const double Q = std::tan(kPi / 8);  // a quarter circle
    TDPoint R1, R2;
    // Same circle, one shared end: the upper half and the next quarter.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(-1, 0), P(0, -1), Q, R1, R2), 1);
    ExpectNear(R1, P(-1, 0), 0);
    // Same circle, shared start, the quarter lies on the half: its end too.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(1, 0), P(0, 1), Q, R1, R2), 2);
    ExpectNear(R1, P(1, 0), 0);
    ExpectNear(R2, P(0, 1), 0);
    // Same circle, both ends shared, the two halves of a circle.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(-1, 0), P(1, 0), 1, R1, R2), 2);
    ExpectNear(R1, P(1, 0), 0);
    ExpectNear(R2, P(-1, 0), 0);
    // Same circle, overlap without shared ends: B's ends on A first.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(0, 1), P(0, -1), 1, R1, R2), 2);
    ExpectNear(R1, P(0, 1), 0);
    ExpectNear(R2, P(-1, 0), 0);
    // Tangent circles, outside and inside.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(1, 2), P(-1, 2), -1, R1, R2), 1);
    ExpectNear(R1, P(0, 1), 1E-7);
    ASSERT_EQ(IntersectArcsAll(P(-1, 2), P(1, 2), 1, P(0.5, 1.5), P(-0.5, 1.5), -1, R1, R2), 1);
    ExpectNear(R1, P(0, 1), 1E-7);
    // Two crossings of distinct circles, arc B bulging down into A.
    ASSERT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(-1, 1), P(1, 1), 1, R1, R2), 2);
    const double H = std::sqrt(0.75);
    ExpectNear(R1, P(H, 0.5), 1E-7);
    ExpectNear(R2, P(-H, 0.5), 1E-7);
    // Concentric circles and far circles.
    EXPECT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(0.5, 0), P(-0.5, 0), 1, R1, R2), 0);
    EXPECT_EQ(IntersectArcsAll(P(1, 0), P(-1, 0), 1, P(5, 0), P(3, 0), 1, R1, R2), 0);
  }
  // Two arcs of one circle of radius 1.04 far from the origin, cut at
  // different places: their computed centres lie 5e-9 apart, more than the
  // tolerance. Still one circle: the shared start and B's end on A, not a
  // touching point on the line of the centres.
  TolScope G(1.0373147919420245e-9);
  const TDPoint Start{500080, 6000068.9626852078}, EndA{500081.03731479193, 6000070},
      EndB{500080.7334923236, 6000069.2665076768};
  TDPoint R1, R2;
  ASSERT_EQ(IntersectArcsAll(Start, EndA, 0.414213561946, Start, EndB, 0.19891236627520537, R1, R2),
            2);
  ExpectNear(R1, Start, 0);
  ExpectNear(R2, EndB, 0);
}

TEST(Intersect, ConnectFullPicksTheOtherPoint) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    auto P = [&](double X, double Y) { return TDPoint{O.X + X, O.Y + Y}; };
    // Circle around (6,0) of radius 4, counter-clockwise from (10,0) to (6,-4).
    const TGConnectFull A = Arc(P(10, 0), P(6, -4), std::tan(3 * kPi / 8));
    TDPoint X{-1, -1};
    // The line's end shared with the arc is the reference: the other point.
    ASSERT_TRUE(IntersectConnectFull(Line(P(0, 0), P(10, 0)), A, X));
    ExpectNear(X, P(2, 0), 1E-8);
    ASSERT_TRUE(IntersectConnectFull(A, Line(P(0, 0), P(10, 0)), X));
    ExpectNear(X, P(2, 0), 1E-8);
    // Reversed line: its start (10,0) is found first and is the reference.
    ASSERT_TRUE(IntersectConnectFull(A, Line(P(10, 0), P(0, 0)), X));
    ExpectNear(X, P(2, 0), 1E-8);
    // An arc flatter than ConnectTolerance is a line.
    ASSERT_TRUE(IntersectConnectFull(Arc(P(0, -1), P(0, 1), 1E-12), Line(P(-1, 0), P(1, 0)), X));
    ExpectNear(X, P(0, 0), 1E-9);
    X = {-1, -1};
    EXPECT_FALSE(IntersectConnectFull(Line(P(0, 5), P(10, 5)), A, X));
    EXPECT_EQ(X.X, -1);
  }
}

// Random edges against an independent count on fine polylines; every point
// found lies on both edges.
TEST(Intersect, RandomEdgesAgreeWithLinearisation) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    std::mt19937 Rng(12345);
    std::uniform_real_distribution<double> U(0, 100), CU(-2.5, 2.5);
    auto RandomEdge = [&](bool IsArc) {
      const TDPoint P1{O.X + U(Rng), O.Y + U(Rng)}, P2{O.X + U(Rng), O.Y + U(Rng)};
      double C = CU(Rng);
      if (std::fabs(C) < 0.05) C = 0.05;
      return IsArc ? Arc(P1, P2, C) : Line(P1, P2);
    };
    int Checked = 0, WithPoints = 0;
    for (int Case = 0; Case < 600; ++Case) {
      const int Mix = Case % 3;  // 0 lines, 1 line and arc, 2 arcs
      const TGConnectFull E = RandomEdge(Mix == 2), F = RandomEdge(Mix >= 1);
      TDPoint R[2];
      int N;
      if (Mix == 0)
        N = IntersectLinesAll(E.P1, E.P2, F.P1, F.P2, R[0], R[1]);
      else if (Mix == 1)
        N = IntersectLineWithArcAll(E.P1, E.P2, F.P1, F.P2, F.Convexity, R[0], R[1]);
      else
        N = IntersectArcsAll(E.P1, E.P2, E.Convexity, F.P1, F.P2, F.Convexity, R[0], R[1]);
      for (int I = 0; I < N; ++I) {
        EXPECT_LE(DistToEdge(R[I], E), 1E-7) << Case;
        EXPECT_LE(DistToEdge(R[I], F), 1E-7) << Case;
      }
      bool Ambiguous = false;
      const int Expected = CountCrossings(E, F, 4000, 0.05, Ambiguous);
      if (Ambiguous) continue;
      ++Checked;
      WithPoints += N > 0;
      EXPECT_EQ(N, Expected) << "case " << Case;
      TDPoint X;
      EXPECT_EQ(IntersectConnectFull(E, F, X), N > 0);
    }
    EXPECT_GT(Checked, 550);
    EXPECT_GT(WithPoints, 150);
  }
}

TEST(Split, PiecesStayOnTheCircleAndAddUp) {
  for (const TDPoint& O : kOffsets) {
    TolScope G(1E-7);
    std::mt19937 Rng(777);
    std::uniform_real_distribution<double> U(0, 100), CU(-3, 3), FU(0.05, 0.95);
    for (int Case = 0; Case < 300; ++Case) {
      double C = CU(Rng);
      if (std::fabs(C) < 0.02) C = 0.02;
      const TGConnectFull E = Arc({O.X + U(Rng), O.Y + U(Rng)}, {O.X + U(Rng), O.Y + U(Rng)}, C);
      const RefArc Ref = RefOf(E.P1, E.P2, C);
      const TDPoint X = RefPoint(Ref, FU(Rng));
      TGConnectFull E1, E2;
      ASSERT_TRUE(SplitConnectFull(E, X, 1E-7, E1, E2));
      EXPECT_EQ(E1.Kind, TConnectKind::Arc);
      EXPECT_EQ(E2.Kind, TConnectKind::Arc);
      const long double Whole = GetLengthConnectFull(E);
      EXPECT_NEAR(Whole, Ref.R * std::fabs(Ref.Sweep), 1E-9 * Whole);
      EXPECT_NEAR(GetLengthConnectFull(E1) + GetLengthConnectFull(E2), Whole, 1E-8 * Whole);
      for (const TGConnectFull& Part : {E1, E2}) {
        const RefArc PR = RefOf(Part.P1, Part.P2, Part.Convexity);
        EXPECT_NEAR(PR.CX, Ref.CX, 1E-6 * Ref.R);
        EXPECT_NEAR(PR.CY, Ref.CY, 1E-6 * Ref.R);
        EXPECT_NEAR(PR.R, Ref.R, 1E-6 * Ref.R);
        EXPECT_EQ(Part.Convexity > 0, C > 0);
      }
      EXPECT_EQ(E1.P2.X, X.X);
      EXPECT_EQ(E2.P1.Y, X.Y);
    }
  }
}

TEST(Split, RefusalsLinesAndFlatArcs) {
  TolScope G(0);
  const TGConnectFull Sentinel = Line({-9, -9}, {-9, -9});
  TGConnectFull E1 = Sentinel, E2 = Sentinel;
  const TGConnectFull A = Arc({0, 0}, {2, 0}, 1);
  // Within the tolerance of an end, inclusive on both axes.
  EXPECT_FALSE(SplitConnectFull(A, {0.01, -0.01}, 0.01, E1, E2));
  EXPECT_FALSE(SplitConnectFull(A, {2, 0.005}, 0.01, E1, E2));
  EXPECT_EQ(E1.P1.X, -9);
  EXPECT_EQ(E2.P1.X, -9);
  // Half circle below the chord, split at its bottom: two quarters.
  ASSERT_TRUE(SplitConnectFull(A, {1, -1}, 0.01, E1, E2));
  EXPECT_NEAR(E1.Convexity, std::tan(kPi / 8), 1E-12);
  EXPECT_NEAR(E2.Convexity, std::tan(kPi / 8), 1E-12);
  ASSERT_TRUE(SplitConnectFull(Arc({2, 0}, {0, 0}, -1), {1, -1}, 0.01, E1, E2));
  EXPECT_NEAR(E1.Convexity, -std::tan(kPi / 8), 1E-12);
  // A line, and an arc flatter than ConnectTolerance, give lines.
  ASSERT_TRUE(SplitConnectFull(Line({0, 0}, {4, 0}), {1, 0}, 0.01, E1, E2));
  EXPECT_EQ(E1.Kind, TConnectKind::Line);
  EXPECT_EQ(E2.P2.X, 4);
  ASSERT_TRUE(SplitConnectFull(Arc({0, 0}, {4, 0}, 1E-10), {1, 0}, 0.01, E1, E2));
  EXPECT_EQ(E1.Convexity, 0);
  EXPECT_EQ(E2.Convexity, 0);
  // An arc with coinciding ends has no centre.
  EXPECT_EQ(MessageOf([&] {
              SplitConnectFull(Arc({0, 0}, {0, 0}, 0.5), {1, 0}, 0.01, E1, E2);
            }),
            "SplitConnectFull: GetCenter2 failed");
}

TEST(Intersect, LengthBoundsAndReverse) {
  for (const TDPoint& O : kOffsets) {
    auto P = [&](double X, double Y) { return TDPoint{O.X + X, O.Y + Y}; };
    EXPECT_NEAR(GetLengthConnectFull(Arc(P(0, 0), P(6, 0), -1)), 3 * kPi, 1E-8);
    EXPECT_DOUBLE_EQ(GetLengthConnectFull(Arc(P(0, 0), P(3, 4), 0)), 5);
    // A half circle bulges below its chord; the reversed one above.
    EXPECT_NEAR(GetBoundsConnectFull(Arc(P(0, 0), P(2, 0), 1)).Y1, O.Y - 1, 1E-9);
    EXPECT_NEAR(GetBoundsConnectFull(Arc(P(2, 0), P(0, 0), 1)).Y2, O.Y + 1, 1E-9);
    EXPECT_EQ(GetBoundsConnectFull(Line(P(3, 5), P(1, -2))).X1, O.X + 1);
  }
  const TGConnectBrief B = ReverseConnectBrief(TGConnectBrief{3, 8, TConnectKind::Arc, 0.25});
  EXPECT_TRUE(B.V1 == 8 && B.V2 == 3 && B.Kind == TConnectKind::Arc && B.Convexity == -0.25);
}

}  // namespace
}  // namespace geo
