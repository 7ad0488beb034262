#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/rect.h"

namespace geo {
namespace {

const long double kPi = 3.141592653589793238462643383279502884L;

// A closed part as a fine polyline, built from the bulge formulas directly
// (centre at (d/2)(1 - c^2)/(2c) along the chord's left normal, sweep
// 4 atan c), not through the kernel's arc code.
using Ring = std::vector<TDPoint>;

void AppendPiece(Ring& R, const TDPoint& A, const TDPoint& B, double C, int Steps) {
  if (std::fabs(C) <= 1E-15) {
    R.push_back(B);
    return;
  }
  const long double DX = static_cast<long double>(B.X) - A.X,
                    DY = static_cast<long double>(B.Y) - A.Y;
  const long double D = std::sqrt(DX * DX + DY * DY);
  const long double H = (1 - static_cast<long double>(C) * C) / (4 * C);  // times d
  const long double CX = A.X + DX / 2 - DY * H, CY = A.Y + DY / 2 + DX * H;
  const long double Sweep = 4 * std::atan(static_cast<long double>(C));
  const long double A0 = std::atan2(A.Y - CY, A.X - CX);
  const long double Rad = D / 2 * (1 + static_cast<long double>(C) * C) / (2 * std::fabs(C));
  for (int I = 1; I < Steps; ++I) {
    const long double T = A0 + Sweep * I / Steps;
    R.push_back(TDPoint{static_cast<double>(CX + Rad * std::cos(T)),
                        static_cast<double>(CY + Rad * std::sin(T))});
  }
  R.push_back(B);
}

struct Piece {
  TDPoint A, B;
  double C;
};

std::vector<Ring> Linearise(const std::vector<std::vector<Piece>>& Parts, int Steps) {
  std::vector<Ring> Rings;
  for (const auto& Part : Parts) {
    Ring R{Part[0].A};
    for (const Piece& P : Part) AppendPiece(R, P.A, P.B, P.C, Steps);
    R.pop_back();  // the start point again
    Rings.push_back(R);
  }
  return Rings;
}

// Random contour: closed star-shaped parts with random bulges (some
// counter-clockwise, one maybe inside another), plus an open part that
// measures must ignore. Pieces receives the closed parts' pieces.
TContour RandomContour(std::mt19937_64& Rng, const TDPoint& Shift,
                       std::vector<std::vector<Piece>>& Pieces) {
  std::uniform_real_distribution<double> U(0, 1);
  TContour C;
  const int Parts = 1 + static_cast<int>(Rng() % 3);
  for (int K = 0; K < Parts; ++K) {
    const TDPoint O{Shift.X + 300 * K * (U(Rng) > 0.5 ? 1 : 0.1), Shift.Y + 40 * K};
    const double Scale = 100 / (1 + K);
    const int N = 3 + static_cast<int>(Rng() % 12);
    const bool Ccw = U(Rng) > 0.5;
    std::vector<TDPoint> V;
    for (int I = 0; I < N; ++I) {
      const double A = 2 * kPi * (I + 0.7 * U(Rng)) / N * (Ccw ? 1 : -1);
      const double R = Scale * (0.5 + 0.5 * U(Rng));
      V.push_back(TDPoint{O.X + R * std::cos(A), O.Y + R * std::sin(A)});
    }
    Pieces.emplace_back();
    C.AddMoveTo(V[0]);
    for (int I = 1; I <= N; ++I) {
      const double Cv = U(Rng) < 0.5 ? 0 : (U(Rng) - 0.5) * 0.8;
      const TDPoint& P = V[I % N];
      if (I < N) {
        if (Cv == 0)
          C.AddLineTo(P);
        else
          C.AddArcTo(P, Cv);
      } else if (Cv == 0) {
        C.AddClose();
      } else {
        C.AddCloseArc(Cv);
      }
      Pieces.back().push_back(Piece{V[I - 1], P, Cv});
    }
  }
  C.AddMoveTo({Shift.X - 50, Shift.Y - 50});
  C.AddArcTo({Shift.X + 50, Shift.Y + 60}, 0.5);
  return C;
}

// Clockwise positive, like the kernel's Area.
long double RingArea(const Ring& R) {
  long double S = 0;
  const TDPoint O = R[0];
  for (size_t I = 0; I < R.size(); ++I) {
    const TDPoint& A = R[I];
    const TDPoint& B = R[(I + 1) % R.size()];
    S += (static_cast<long double>(A.X) - O.X) * (B.Y - O.Y) -
         (static_cast<long double>(B.X) - O.X) * (A.Y - O.Y);
  }
  return -S / 2;
}

// Even-odd parity of the rings at P, and the distance to the nearest ring edge.
bool RingsContain(const std::vector<Ring>& Rings, const TDPoint& P, double& Dist) {
  bool In = false;
  Dist = 1E300;
  for (const Ring& R : Rings)
    for (size_t I = 0; I < R.size(); ++I) {
      const TDPoint& A = R[I];
      const TDPoint& B = R[(I + 1) % R.size()];
      if ((A.Y > P.Y) != (B.Y > P.Y) && P.X < A.X + (B.X - A.X) * (P.Y - A.Y) / (B.Y - A.Y))
        In = !In;
      const long double DX = static_cast<long double>(B.X) - A.X,
                        DY = static_cast<long double>(B.Y) - A.Y;
      long double T = ((P.X - A.X) * DX + (P.Y - A.Y) * DY) / (DX * DX + DY * DY);
      T = std::clamp(T, 0.0L, 1.0L);
      const long double EX = A.X + T * DX - P.X, EY = A.Y + T * DY - P.Y;
      Dist = std::min(Dist, static_cast<double>(std::sqrt(EX * EX + EY * EY)));
    }
  return In;
}

TEST(Measures, KnownShapes) {
  TContour Sq;
  Sq.AddMoveTo({0, 0});
  Sq.AddLineTo({10, 0});
  Sq.AddLineTo({10, 10});
  Sq.AddLineTo({0, 10});
  Sq.AddClose();
  EXPECT_EQ(Area(Sq), -100.0);  // counter-clockwise
  EXPECT_EQ(PointInContour(Sq, {5, 5}), TPointPlace::Inside);
  EXPECT_EQ(PointInContour(Sq, {10, 5}), TPointPlace::Boundary);
  EXPECT_EQ(PointInContour(Sq, {15, 5}), TPointPlace::Outside);
  EXPECT_EQ(PointInContour(Sq, {5, 10}), TPointPlace::Boundary);
  EXPECT_EQ(PointInContour(Sq, {-5, 0}), TPointPlace::Outside);  // along the bottom edge, outside
  EXPECT_EQ(PointInContour(Sq, {-5, 10}), TPointPlace::Outside);
  TContour Cw;
  Cw.AddMoveTo({0, 0});
  Cw.AddLineTo({0, 10});
  Cw.AddLineTo({10, 10});
  Cw.AddLineTo({10, 0});
  Cw.AddClose();
  EXPECT_EQ(Area(Cw), 100.0);
  TContour Open;
  Open.AddMoveTo({0, 0});
  Open.AddLineTo({0, 10});
  Open.AddLineTo({10, 10});
  EXPECT_EQ(Area(Open), 0.0);
  EXPECT_EQ(PointInContour(Open, {1, 9}), TPointPlace::Outside);

  TContour Dia;
  Dia.AddMoveTo({5, 0});
  Dia.AddLineTo({10, 5});
  Dia.AddLineTo({5, 10});
  Dia.AddLineTo({0, 5});
  Dia.AddClose();
  EXPECT_EQ(PointInContour(Dia, {2, 10}), TPointPlace::Outside);  // touches the top vertex only
  EXPECT_EQ(PointInContour(Dia, {2, 5}), TPointPlace::Inside);    // passes the right vertex
  EXPECT_EQ(PointInContour(Dia, {-2, 5}), TPointPlace::Outside);  // passes both side vertices

  TContour Circle;  // radius 1 around the origin, two half circles
  Circle.AddMoveTo({-1, 0});
  Circle.AddArcTo({1, 0}, 1);
  Circle.AddCloseArc(1);
  EXPECT_EQ(PointInContour(Circle, {0.5, 1}), TPointPlace::Outside);  // tangent at the top
  EXPECT_EQ(PointInContour(Circle, {0, 0.5}), TPointPlace::Inside);
  EXPECT_EQ(PointInContour(Circle, {0, 0}), TPointPlace::Inside);  // through both joints
  EXPECT_EQ(PointInContour(Circle, {-2, 0}), TPointPlace::Outside);
  EXPECT_EQ(PointInContour(Circle, {0, 1}), TPointPlace::Boundary);
  EXPECT_NEAR(Area(Circle), -kPi, 1E-15);

  // A quarter arc that meets the next edge with a horizontal tangent at the
  // probe's height: the boundary passes through y = 1 at (0, 1).
  TContour Q;
  Q.AddMoveTo({0, 0});
  Q.AddLineTo({1, 0});
  Q.AddArcTo({0, 1}, std::tan(kPi / 8));
  Q.AddLineTo({-5, 5});
  Q.AddClose();
  EXPECT_EQ(PointInContour(Q, {-0.5, 1}), TPointPlace::Inside);
  EXPECT_EQ(PointInContour(Q, {0.5, 1}), TPointPlace::Outside);
  EXPECT_EQ(PointInContour(Q, {-1.5, 1}), TPointPlace::Outside);

  TDRect R{9, 9, 9, 9};
  TContour Arc;
  EXPECT_FALSE(GetBounds(Arc, R));
  EXPECT_EQ(R.X1, 9.0);  // untouched
  Arc.AddMoveTo({0, 0});
  Arc.AddArcTo({2, 0}, 1);
  ASSERT_TRUE(GetBounds(Arc, R));
  EXPECT_TRUE(RectsEqual(R, TDRect{0, -1, 2, 0}));
  Arc.ReplaceCommand(1, MakeArcTo({2, 0}, -1));
  ASSERT_TRUE(GetBounds(Arc, R));
  EXPECT_TRUE(RectsEqual(R, TDRect{0, 0, 2, 1}));
  TContour Empty;
  EXPECT_EQ(Area(Empty), 0.0);
  EXPECT_EQ(PointInContour(Empty, {0, 0}), TPointPlace::Outside);
}

TEST(Measures, EdgeLineIntersectAndCrossings) {
  TDPointArray Pts;
  Pts.Init(0);
  Pts.Add({7, 7});
  const TEdge Flat{{{0, 1}, {10, 1 + 1E-10}, 0}, {0, 0}, 0, 0};
  EdgeLineIntersect(Flat, Pts, 1E-9, 1);
  ASSERT_EQ(Pts.Count, 2);  // reset first, then both ends
  EXPECT_EQ(Pts.Get(1).X, 10.0);
  EdgeLineIntersect(Flat, Pts, 1E-9, 1.5);
  EXPECT_EQ(Pts.Count, 0);
  const TEdge Slope{{{0, 0}, {10, 10}, 0}, {0, 0}, 0, 0};
  EdgeLineIntersect(Slope, Pts, 1E-9, 4);
  ASSERT_EQ(Pts.Count, 1);
  EXPECT_EQ(Pts.Get(0).X, 4.0);
  TContour Circle;
  Circle.AddMoveTo({-1, 0});
  Circle.AddArcTo({1, 0}, 1);  // lower half
  Circle.AddCloseArc(1);
  TEdgeCursor E;
  ASSERT_TRUE(E.Start(Circle, 1, true));
  EdgeLineIntersect(E.Edge, Pts, 1E-9, -0.6);
  ASSERT_EQ(Pts.Count, 2);
  EXPECT_NEAR(Pts.Get(0).X, 0.8, 1E-15);
  EXPECT_NEAR(Pts.Get(1).X, -0.8, 1E-15);
  EdgeLineIntersect(E.Edge, Pts, 1E-9, 0.6);  // the upper half is not this arc
  EXPECT_EQ(Pts.Count, 0);

  TPartIter P;
  P.Start(Circle, 0);
  Pts.Reset();
  HorizontalIntersections(P, Pts, 1E-9, 0.6);
  ASSERT_EQ(Pts.Count, 2);
  EXPECT_NEAR(Pts.Get(0).X, 0.8, 1E-15);        // the closing arc runs from the right
  HorizontalIntersections(P, Pts, 1E-9, -0.6);  // appends
  ASSERT_EQ(Pts.Count, 4);
  EXPECT_NEAR(Pts.Get(2).X, 0.8, 1E-15);  // first edge first
  TContour Open;
  Open.AddMoveTo({0, 0});
  Open.AddLineTo({0, 10});
  P.Start(Open, 0);
  HorizontalIntersections(P, Pts, 1E-9, 5);
  EXPECT_EQ(Pts.Count, 4);
}

// Area against the shoelace of a fine linearisation, bounds against dense
// samples, and point membership against even-odd parity of the
// linearisation, on random contours with arcs, at the origin and at
// projected map coordinates.
TEST(Measures, RandomContoursAgainstLinearisation) {
  std::mt19937_64 Rng(20240607);
  for (const TDPoint Shift : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    for (int Round = 0; Round < 50; ++Round) {
      std::vector<std::vector<Piece>> Pieces;
      const TContour C = RandomContour(Rng, Shift, Pieces);
      const std::vector<Ring> Rings = Linearise(Pieces, 100);
      long double Want = 0;
      for (const Ring& R : Linearise(Pieces, 3000)) Want += RingArea(R);
      const double Got = Area(C);
      EXPECT_NEAR(Got, Want, 1E-3 + 1E-7 * std::fabs(Want)) << Round;

      TDRect B;
      ASSERT_TRUE(GetBounds(C, B));
      TDRect S{1E300, 1E300, -1E300, -1E300};
      for (const Ring& R : Rings)
        for (const TDPoint& P : R) ExtendRectByPoint(S, P);
      // The open part's arc, linearised the same way.
      Ring OpenArc{{Shift.X - 50, Shift.Y - 50}};
      AppendPiece(OpenArc, OpenArc[0], {Shift.X + 50, Shift.Y + 60}, 0.5, 100);
      for (const TDPoint& P : OpenArc) ExtendRectByPoint(S, P);
      EXPECT_LE(B.X1, S.X1 + 1E-9);
      EXPECT_LE(B.Y1, S.Y1 + 1E-9);
      EXPECT_GE(B.X2, S.X2 - 1E-9);
      EXPECT_GE(B.Y2, S.Y2 - 1E-9);
      EXPECT_NEAR(B.X1, S.X1, 5E-2);  // sampling misses at most a sagitta
      EXPECT_NEAR(B.Y1, S.Y1, 5E-2);
      EXPECT_NEAR(B.X2, S.X2, 5E-2);
      EXPECT_NEAR(B.Y2, S.Y2, 5E-2);

      std::uniform_real_distribution<double> UX(B.X1 - 5, B.X2 + 5), UY(B.Y1 - 5, B.Y2 + 5);
      std::vector<double> VertexYs;
      for (int32_t I = 0; I < C.CommandCount(); ++I)
        if (IsToKind(C.GetCommand(I).Kind)) VertexYs.push_back(C.GetCommand(I).Point.Y);
      for (int I = 0; I < 200; ++I) {
        // Half of the probes run through vertices, to exercise the vertex rule.
        const TDPoint P{UX(Rng), I % 2 ? UY(Rng) : VertexYs[Rng() % VertexYs.size()]};
        double Dist;
        const bool In = RingsContain(Rings, P, Dist);
        if (Dist < 0.05) continue;
        EXPECT_EQ(PointInContour(C, P), In ? TPointPlace::Inside : TPointPlace::Outside)
            << Round << " " << P.X << " " << P.Y;
      }
      // Vertices of the closed parts lie on the boundary.
      for (const Ring& R : Rings) EXPECT_EQ(PointInContour(C, R[0]), TPointPlace::Boundary);
    }
  }
}

// Cutting a part at its repeated vertices keeps its area: the loops' areas
// add up to the part's.
TEST(Measures, SplitLoopsPreservesArea) {
  std::mt19937_64 Rng(555);
  std::uniform_int_distribution<int> Coord(0, 5);
  std::uniform_real_distribution<double> Conv(-0.9, 0.9);
  for (const TDPoint Shift : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    int Split = 0;
    for (int Round = 0; Round < 200; ++Round) {
      TContour Part;
      Part.AddMoveTo({Shift.X + Coord(Rng), Shift.Y + Coord(Rng)});
      const int N = 4 + Round % 30;
      for (int I = 0; I < N; ++I) {
        const TDPoint P{Shift.X + Coord(Rng), Shift.Y + Coord(Rng)};
        if (Rng() % 2)
          Part.AddArcTo(P, Conv(Rng));
        else
          Part.AddLineTo(P);
      }
      if (Rng() % 2)
        Part.AddClose();
      else
        Part.AddCloseArc(Conv(Rng));
      TContourList Loops;
      SplitLoops(Part, Loops);
      long double Sum = 0;
      for (const auto& L : Loops) {
        Sum += Area(*L);
        // Every loop is simple at its vertices: no point repeats.
        for (int32_t I = 0; I + 1 < L->CommandCount(); ++I)
          for (int32_t J = I + 1; J + 1 < L->CommandCount(); ++J)
            EXPECT_FALSE(SamePoint(L->GetCommand(I).Point, L->GetCommand(J).Point));
      }
      Split += Loops.size() > 1;
      EXPECT_NEAR(static_cast<double>(Sum), Area(Part), 1E-6) << Round;
    }
    EXPECT_GT(Split, 100);  // the inputs really had repeated vertices
  }
}

}  // namespace
}  // namespace geo
