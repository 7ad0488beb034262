#include "addonlib/algebra/complex_part.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/interior_point.h"
#include "addonlib/geometry/point_in_contour.h"
#include "oracle.h"
#include "shapes.h"
#include "tests/geometry/test_util.h"

namespace {

using geo::TContour;
using geo::TDPoint;
using geoalg::TComplexPartList;

// A star with N points and arcs on every third edge.
TContour Star(std::mt19937& Rng, TDPoint C, double R, int N) {
  return test_shapes::RegularStar(Rng, C, R, N, 0.1, 3, 0);
}

TEST(ComplexParts, StripsAnswerLikeTheWholeContour) {
  std::mt19937 Rng(4);
  TComplexPartList Empty;
  Empty.Build(TContour());
  EXPECT_FALSE(Empty.HasBounds);
  EXPECT_EQ(Empty.Count(), 0);
  EXPECT_FALSE(Empty.PointInside({0, 0}));

  for (TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    const geo::TTolerance Tol{0, 2000 * geo::ConnectTolerance};
    TComplexPartList Small, Large, Thousand;
    const TContour S499 = Star(Rng, O, 1000, 499);
    Small.Build(S499, Tol);
    EXPECT_EQ(Small.Count(), 1);
    const TContour S500 = Star(Rng, O, 1000, 500);
    Large.Build(S500, Tol);
    EXPECT_GE(Large.Count(), 2);
    const TContour S1000 = Star(Rng, O, 1000, 1000);
    Thousand.Build(S1000, Tol);
    EXPECT_GE(Thousand.Count(), 4);
    EXPECT_LE(Thousand.Count(), 5);
    // Strips hold about 250 points each, and together answer as the contour does.
    const oracle::Membership Ref(S1000);
    std::uniform_real_distribution<double> U(-1000, 1000);
    int Inside = 0;
    for (int I = 0; I < 2000; ++I) {
      const TDPoint P{O.X + U(Rng), O.Y + U(Rng)};
      if (Ref.Distance(P) < 1e-3) continue;
      const bool In = Ref.Inside(P);
      Inside += In;
      ASSERT_EQ(Thousand.PointInside(P), In) << P.X << " " << P.Y;
      ASSERT_EQ(Thousand.PointInside(P),
                geo::PointInContour(S1000, P) != geo::TPointPlace::Outside);
    }
    EXPECT_GT(Inside, 200);
    // Every vertex, on a strip border or not, counts as inside.
    for (int32_t I = 0; I < S1000.CommandCount(); ++I) {
      const auto Cmd = S1000.GetCommand(I);
      if (geo::IsToCommand(Cmd)) {
        ASSERT_TRUE(Thousand.PointInside(Cmd.Point)) << I;
      }
    }
  }
}

TEST(ComplexParts, NestingAndOrientation) {
  auto Square = [](double X1, double Y1, double X2, double Y2, bool Clockwise) {
    auto C = std::make_unique<TContour>();
    C->AddMoveTo({X1, Y1});
    if (Clockwise) {
      C->AddLineTo({X1, Y2});
      C->AddLineTo({X2, Y2});
      C->AddLineTo({X2, Y1});
    } else {
      C->AddLineTo({X2, Y1});
      C->AddLineTo({X2, Y2});
      C->AddLineTo({X1, Y2});
    }
    C->AddClose();
    return C;
  };
  geo::TContourList Parts;
  Parts.push_back(Square(0, 0, 10, 10, false));
  Parts.push_back(Square(2, 2, 8, 8, true));   // a hole
  Parts.push_back(Square(3, 3, 5, 5, false));  // an island in the hole
  Parts.push_back(Square(20, 0, 30, 10, false));
  Parts.push_back(Square(30, 0, 40, 10, true));              // touches the previous along a side
  Parts.push_back(Square(4, 4, 4 + 1e-7, 4 + 1e-7, false));  // no edge longer than 1E-6
  geo::TLongintList Depths;
  geoalg::PartNesting(Parts, Depths);
  EXPECT_EQ(std::vector<int32_t>(Depths.List(), Depths.List() + Depths.Count()),
            (std::vector<int32_t>{0, 1, 2, 0, 0, 0}));
  EXPECT_FALSE(geoalg::IsClockwise(*Parts[0]));
  EXPECT_TRUE(geoalg::IsClockwise(*Parts[1]));
  const TDPoint S = geoalg::PartSamplePoint(*Parts[0]);
  EXPECT_EQ(S.X, 5);
  EXPECT_EQ(S.Y, 0);
  TContour Dot;
  Dot.AddMoveTo({1, 1});
  EXPECT_EQ(geo::test::MessageOf([&] { geoalg::PartSamplePoint(Dot); }), "количество команд < 2");
  geo::TContourList One;
  One.push_back(Square(0, 0, 1, 1, true));
  geo::TLongintList OneDepth;
  geoalg::PartNesting(One, OneDepth);
  EXPECT_EQ(OneDepth.Items(0), 0);
}

// The nesting rule spelled out: every other part is asked with the plain
// point-in-contour walk.
std::vector<int32_t> NestingReference(const geo::TContourList& Parts) {
  std::vector<int32_t> Out;
  for (size_t I = 0; I < Parts.size(); ++I) {
    if (Parts.size() == 1) return {0};
    std::vector<TDPoint> Samples;
    geo::TContourEdgeIter It;
    for (bool More = It.Start(*Parts[I]); More; More = It.Next())
      Samples.push_back(geo::EdgeMidPoint(It.Edge));
    int32_t Depth = 0;
    for (size_t K = 0; K < Samples.size(); ++K) {
      int32_t D = 0;
      bool OnBoundary = false;
      for (size_t J = 0; J < Parts.size(); ++J) {
        if (J == I) continue;
        const geo::TPointPlace W = geo::PointInContour(*Parts[J], Samples[K]);
        D += W != geo::TPointPlace::Outside;
        OnBoundary = OnBoundary || W == geo::TPointPlace::Boundary;
      }
      if (K == 0) Depth = D;
      if (!OnBoundary) {
        if (K > 0) Depth = D;
        break;
      }
    }
    Out.push_back(Depth);
  }
  return Out;
}

TEST(ComplexParts, NestingOfManyHolesInBigRingsFollowsTheRule) {
  // Big rings with arcs, each holding holes on a grid, islands in some
  // holes, pairs of holes sharing a side (their samples lie on each other's
  // boundary) and holes whose first side runs on the height of a ring vertex.
  std::mt19937 Rng(11);
  for (TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    geo::TContourList Parts;
    std::vector<int32_t> Built;
    size_t AtVertices = 0;
    const auto Square = [&](double X, double Y, double Side, bool Clockwise, int32_t Depth) {
      auto C = std::make_unique<TContour>();
      const TDPoint P[4] = {{X, Y}, {X + Side, Y}, {X + Side, Y + Side}, {X, Y + Side}};
      C->AddMoveTo(P[0]);
      for (int K = 1; K < 4; ++K) C->AddLineTo(P[Clockwise ? 4 - K : K]);
      C->AddClose();
      Parts.push_back(std::move(C));
      Built.push_back(Depth);
    };
    for (int R = 0; R < 3; ++R) {
      const TDPoint M{O.X + 3000 * R, O.Y};
      auto Ring = std::make_unique<TContour>(Star(Rng, M, 1000, 300 + 200 * R));
      std::vector<TDPoint> Vertices;
      for (int32_t I = 0; I < Ring->CommandCount(); ++I)
        if (geo::IsToCommand(Ring->GetCommand(I))) Vertices.push_back(Ring->GetCommand(I).Point);
      Parts.push_back(std::move(Ring));
      Built.push_back(0);
      // Star radii are at least 500 and its arcs bend little: all these lie
      // inside, apart from each other.
      for (double X = -240; X < 240; X += 40)
        for (double Y = -240; Y < 240; Y += 40) {
          const int Kind = static_cast<int>(Rng() % 4);
          Square(M.X + X, M.Y + Y, 20, Kind % 2, 1);
          if (Kind == 2) Square(M.X + X + 5, M.Y + Y + 5, 10, false, 2);
          if (Kind == 3) Square(M.X + X + 20, M.Y + Y, 20, true, 1);
        }
      std::vector<TDPoint> Placed;
      for (const TDPoint V : Vertices) {
        if (std::hypot(V.X - M.X, V.Y - M.Y) > 560 || std::fabs(V.Y - M.Y) > 150) continue;
        if (std::any_of(Placed.begin(), Placed.end(),
                        [&](TDPoint Q) { return std::hypot(Q.X - V.X, Q.Y - V.Y) < 30; }))
          continue;
        Placed.push_back(V);
        ++AtVertices;
        const double Dir = V.X > M.X ? -1 : 1;
        Square(V.X + Dir * 90 - (Dir < 0 ? 10 : 0), V.Y, 10, Rng() % 2, 1);
      }
    }
    geo::TLongintList Depths;
    geoalg::PartNesting(Parts, Depths);
    const std::vector<int32_t> Got(Depths.List(), Depths.List() + Depths.Count());
    EXPECT_EQ(Got, NestingReference(Parts));
    EXPECT_EQ(Got, Built);
    EXPECT_GE(AtVertices, 6u);
  }
}

TEST(UnionGraphBig, FoldsContoursAndKeepsTheResultOnFailure) {
  std::mt19937 Rng(8);
  geoalg::TGUnionGraphBigReference Big;
  Big.SkipSmall = true;
  Big.SplitTolerance = 1e-4;
  TContour Flat;
  Flat.AddMoveTo({0, 0});
  Flat.AddLineTo({5, 0});
  Big.Add(Flat);  // too small: ignored
  EXPECT_TRUE(Big.IsEmpty);
  std::vector<TContour> Stars;
  for (int I = 0; I < 6; ++I) Stars.push_back(Star(Rng, {500000.0 + 40 * I, 6000000}, 50, 40));
  TContour Expected;
  for (const TContour& S : Stars) {
    Big.Add(S);
    if (Expected.CommandCount() == 0) {
      Expected.Assign(&S);
    } else {
      TContour Next;
      geoalg::CombineContoursReference(Expected, S, geoalg::TUnionOperation::Union, 1e-4, Next);
      Expected = std::move(Next);
    }
  }
  EXPECT_FALSE(Big.IsEmpty);
  EXPECT_NEAR(oracle::EnclosedArea(Big.Result), oracle::EnclosedArea(Expected), 1e-6);
  // Intersection with a far square leaves nothing: a small outcome is
  // discarded and the previous result kept.
  const double Before = oracle::EnclosedArea(Big.Result);
  Big.Operation = geoalg::TUnionOperation::Intersection;
  TContour Far;
  Far.AddMoveTo({0, 0});
  Far.AddLineTo({1, 0});
  Far.AddLineTo({1, 1});
  Far.AddClose();
  Big.Add(Far);
  EXPECT_NEAR(oracle::EnclosedArea(Big.Result), Before, 1e-9);
  Big.Clear();
  EXPECT_TRUE(Big.IsEmpty);
  EXPECT_EQ(Big.Result.CommandCount(), 0);
}

}  // namespace
