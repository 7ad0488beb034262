#include "trace/engine/nearest_point.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using geo::TDPoint;

// The literal search: index order, a later point only when strictly nearer.
int32_t LiteralNearest(const geo::TTDPointList& Points, const TDPoint& P) {
  int32_t Best = -1;
  double BestD = 0;
  for (int32_t I = 0; I < Points.Count(); ++I) {
    const double D = trace::SquaredDistance(*Points.Ptr(I), P);
    if (Best < 0 || D < BestD) {
      Best = I;
      BestD = D;
    }
  }
  return Best;
}

TEST(NearestPointIndex, AgreesWithTheLiteralScanOnRandomInputsFarFromTheOrigin) {
  std::mt19937_64 Rng(7);
  for (int Round = 0; Round < 6; ++Round) {
    geo::TTDPointList Points;
    trace::TNearestPointIndex Index;
    // Snapped to a coarse grid so that duplicates and equal distances occur.
    const double Step = Round % 2 ? 0.5 : 1e-3;
    std::uniform_int_distribution<int> Cell(0, 400);
    auto Random = [&] { return TDPoint{500000 + Cell(Rng) * Step, 6000000 + Cell(Rng) * Step}; };
    int Checked = 0;
    // The list grows in batches of several sizes, as zones are added.
    for (int Batch : {1, 5, 300, 40, 2000, 7, 600}) {
      for (int I = 0; I < Batch; ++I) Points.Add(Random());
      Index.Update(Points);
      for (int Q = 0; Q < 300; ++Q) {
        TDPoint P = Random();
        if (Q % 3 == 0) P.X += Step / 2;               // between grid points: ties of distance
        if (Q % 7 == 0) P = {P.X + 1000, P.Y - 1000};  // far outside
        double D2 = -1;
        const int32_t Got = Index.Nearest(Points, P, D2);
        const int32_t Want = LiteralNearest(Points, P);
        ASSERT_EQ(Got, Want) << "round " << Round << " count " << Points.Count();
        EXPECT_EQ(D2, trace::SquaredDistance(*Points.Ptr(Want), P));
        ++Checked;
      }
    }
    EXPECT_EQ(Checked, 7 * 300);
    // Emptied and refilled with fewer points: the index starts over.
    Points.Clear();
    Index.Reset();
    double D2;
    EXPECT_EQ(Index.Nearest(Points, {0, 0}, D2), -1);
    Points.Add({500001, 6000001});
    Points.Add({500001, 6000001});
    Index.Update(Points);
    EXPECT_EQ(Index.Nearest(Points, {500000, 6000000}, D2), 0);  // first of two equal points
  }
}

TEST(NearestPointIndex, ShrunkListIsNoticedWithoutReset) {
  geo::TTDPointList Points;
  trace::TNearestPointIndex Index;
  for (int I = 0; I < 1000; ++I) Points.Add({double(I), 0});
  Index.Update(Points);
  Points.Clear();
  Points.Add({5, 5});
  Index.Update(Points);
  double D2;
  EXPECT_EQ(Index.Nearest(Points, {900, 0}, D2), 0);
  EXPECT_EQ(D2, 895.0 * 895 + 25);
}

}  // namespace
