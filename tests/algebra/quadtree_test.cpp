#include "addonlib/algebra/quadtree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "addonlib/algebra/point_list.h"
#include "core/exception.h"

namespace {

using namespace geoalg;

TDRect Small(double X, double Y) {
  return {X, Y, X + 1, Y + 1};
}

TEST(QuadroTree, SplitRules) {
  TQuadroTree Tree(10, {0, 0, 100, 100});
  const double Spots[][2] = {{10, 10}, {60, 10}, {10, 60}, {60, 60}, {20, 20},
                             {70, 20}, {20, 70}, {70, 70}, {30, 30}};
  for (int I = 0; I < 9; ++I) Tree.Insert(I, Small(Spots[I][0], Spots[I][1]));
  EXPECT_FALSE(Tree.Root().HasChildren());
  Tree.Insert(9, {45, 45, 55, 55});  // straddles the centre
  ASSERT_TRUE(Tree.Root().HasChildren());
  ASSERT_EQ(Tree.Root().Items.size(), 1u);
  EXPECT_EQ(Tree.Root().Items[0]->Index, 9);
  // Child 0 is left-upper: x below the centre, y above it.
  EXPECT_EQ(Tree.Root().Children[0]->Rect.X2, 50);
  EXPECT_EQ(Tree.Root().Children[0]->Rect.Y1, 50);
  std::vector<int32_t> LeftUpper;
  for (auto* Item : Tree.Root().Children[0]->Items) LeftUpper.push_back(Item->Index);
  EXPECT_EQ(LeftUpper, (std::vector<int32_t>{6, 2}));  // moved from the last to the first
  EXPECT_EQ(Tree.FindSector(Small(60, 10)), Tree.Root().Children[3]);
  EXPECT_EQ(Tree.FindSector({0, 0, 100, 100}), &Tree.Root());

  TQuadroTree Same(10, {0, 0, 100, 100});
  for (int I = 0; I < 25; ++I) Same.Insert(I, Small(5, 5));
  EXPECT_FALSE(Same.Root().HasChildren());
  EXPECT_EQ(Same.Root().Items.size(), 25u);

  TQuadroTree Flat(2, {0, 0, 100, 0});  // zero height never splits
  for (int I = 0; I < 5; ++I) Flat.Insert(I, {double(I), 0, double(I), 0});
  EXPECT_FALSE(Flat.Root().HasChildren());

  int Object = 0;
  Tree.Reset({0, 0, 10, 10});
  EXPECT_FALSE(Tree.Root().HasChildren());
  EXPECT_TRUE(Tree.Root().Items.empty());
  EXPECT_EQ(Tree.Insert(&Object, Small(1, 1))->Object, &Object);
}

TEST(QuadroTree, EveryItemLivesInTheSectorFindSectorReturns) {
  for (double Shift : {0.0, 500000.0}) {
    std::mt19937 Rng(11);
    std::uniform_real_distribution<double> U(0, 1000), W(0, 30);
    const TDRect Bounds{Shift, Shift * 12, Shift + 1000, Shift * 12 + 1000};
    TQuadroTree Tree(4, Bounds);
    std::vector<TSpatialIndexItem*> Items;
    for (int I = 0; I < 3000; ++I) {
      const double X = Shift + U(Rng), Y = Shift * 12 + U(Rng), S = W(Rng) * W(Rng) / 30;
      Items.push_back(
          Tree.Insert(I, {X, Y, std::min(X + S, Bounds.X2), std::min(Y + S, Bounds.Y2)}));
    }
    size_t Held = 0;
    for (auto* Item : Items) {
      const TQuadroSector* S = Tree.FindSector(Item->Rect);
      ASSERT_NE(std::find(S->Items.begin(), S->Items.end(), Item), S->Items.end());
      ++Held;
    }
    EXPECT_EQ(Held, 3000u);
    EXPECT_TRUE(Tree.Root().HasChildren());
  }
}

TEST(AlgebraPointList, FindWithinTolerance) {
  TDPointList Points;
  Points.Init({0, 0, 100, 100}, 0, 0.01);
  for (int I = 0; I < 40; ++I) Points.Add({2.5 * I, 1.5 * I});
  EXPECT_EQ(Points.Count(), 40);
  EXPECT_EQ(Points.Find({2.5 * 7, 1.5 * 7}), 7);
  EXPECT_EQ(Points.Find({2.5 * 7 + 0.005, 1.5 * 7 - 0.005}), 7);
  EXPECT_EQ(Points.Find({2.5 * 7 + 0.011, 1.5 * 7}), -1);
  EXPECT_EQ(Points.Find({2.5 * 7, 1.5 * 7 + 0.02}), -1);
  // Of two candidates within the tolerance the nearer wins.
  Points.Add({50.004, 50});
  Points.Add({49.998, 50});
  EXPECT_EQ(Points.Find({50, 50}), 41);
  EXPECT_EQ(Points.Find({50.0000001, 50}), 41);  // the same point by PointTolerance
  EXPECT_EQ(Points.Get(40).X, 50.004);
  EXPECT_THROW(Points.Get(-1), core::EAssertionFailed);
  try {
    Points.Get(Points.Count());
    FAIL();
  } catch (const core::EAssertionFailed& E) {
    EXPECT_EQ(std::string(E.what()).rfind("Assertion failure (point_list.cpp, line ", 0), 0u);
  }

  // Far from the origin, in a store sized for a real map sheet.
  TDPointList Far;
  Far.Init({500000, 6000000, 510000, 6010000}, 16, 1e-5);
  std::mt19937 Rng(3);
  std::uniform_real_distribution<double> U(0, 10000);
  std::vector<geo::TDPoint> Stored;
  for (int I = 0; I < 2000; ++I) {
    Stored.push_back({500000 + U(Rng), 6000000 + U(Rng)});
    Far.Add(Stored.back());
  }
  for (int I = 0; I < 2000; ++I) {
    ASSERT_EQ(Far.Find(Stored[I]), I);
    ASSERT_EQ(Far.Find({Stored[I].X + 4e-6, Stored[I].Y - 4e-6}), I);
  }
}

}  // namespace
