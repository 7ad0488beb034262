#include "addonlib/algebra/complex_part.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/point_in_contour.h"
#include "oracle.h"
#include "tests/geometry/test_util.h"

namespace {

using geo::TContour;
using geo::TDPoint;
using geoalg::TComplexPartList;

// A star with N points and arcs on every third edge.
TContour Star(std::mt19937& Rng, TDPoint C, double R, int N) {
  std::uniform_real_distribution<double> Rad(0.5 * R, R), Bulge(-0.1, 0.1);
  TContour S;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * I / N, Q = Rad(Rng);
    const TDPoint P{C.X + Q * std::cos(A), C.Y + Q * std::sin(A)};
    if (I == 0)
      S.AddMoveTo(P);
    else if (I % 3 == 0)
      S.AddArcTo(P, Bulge(Rng));
    else
      S.AddLineTo(P);
  }
  S.AddClose();
  return S;
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
