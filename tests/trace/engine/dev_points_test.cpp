// Device points of style samples: repeated and collinear points dropped,
// parts kept apart, rectangles, growth, and the pooled instance.
#include "trace/engine/dev_points.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using trace::TDevPoint;
using trace::TDevPoints;

std::vector<TDevPoint> Points(const trace::TPointList& L) {
  return {L.Points(), L.Points() + L.Count()};
}

TEST(DevPoints, RepeatedCollinearAndSinglePoints) {
  TDevPoints D;
  trace::TPointList& C = D.Current;
  trace::AddPoint(C, {5, 5});
  trace::AddPoint(C, {5, 5});
  EXPECT_EQ(C.Count(), 1);
  trace::FlushPart(D);  // a single point makes no part
  EXPECT_EQ(D.Polylines.PartCount(), 0);
  EXPECT_EQ(C.Count(), 0);

  for (int X = 0; X < 4; ++X) trace::AddPoint(C, {X, 0});
  EXPECT_EQ(Points(C), (std::vector<TDevPoint>{{0, 0}, {3, 0}}));
  // Turning back within the run shortens it: its first point lies between.
  trace::AddPoint(C, {1, 0});
  EXPECT_EQ(Points(C), (std::vector<TDevPoint>{{0, 0}, {1, 0}}));
  // Beyond its start it makes a new run.
  trace::AddPoint(C, {-2, 0});
  EXPECT_EQ(Points(C), (std::vector<TDevPoint>{{0, 0}, {1, 0}, {-2, 0}}));
  trace::FlushPart(D);

  // A diagonal run, then a corner, then a run after the corner.
  for (TDevPoint P : {TDevPoint{0, 0}, TDevPoint{2, 2}, TDevPoint{4, 4}, TDevPoint{4, 4},
                      TDevPoint{6, 6}, TDevPoint{6, 9}, TDevPoint{6, 12}})
    trace::AddPoint(C, P);
  EXPECT_EQ(Points(C), (std::vector<TDevPoint>{{0, 0}, {6, 6}, {6, 12}}));
  trace::FlushPart(D);
  ASSERT_EQ(D.Polylines.PartCount(), 2);
  EXPECT_EQ(D.Polylines.PartCounts(0), 3);
  EXPECT_EQ(D.Polylines.PartCounts(1), 3);
  EXPECT_EQ(D.Polylines[3], (TDevPoint{0, 0}));
  EXPECT_EQ(D.Polylines[5], (TDevPoint{6, 12}));
}

TEST(DevPoints, RectanglesAndGrowth) {
  TDevPoints D;
  trace::AddRect(D, {1, 2, 11, 22}, true);
  trace::AddRect(D, {1, 2, 11, 22}, false);  // flushes the closed one first
  trace::FinishDevPoints(D);
  ASSERT_EQ(D.Polygons.PartCount(), 1);
  ASSERT_EQ(D.Polylines.PartCount(), 1);
  const std::vector<TDevPoint> Ring = {{1, 22}, {1, 2}, {11, 2}, {11, 22}, {1, 22}};
  EXPECT_EQ(Points(D.Polygons), Ring);
  EXPECT_EQ(Points(D.Polylines), Ring);

  // Many parts and points: capacity grows by the needed count plus 32.
  for (int I = 0; I < 100; ++I) trace::AddRect(D, {I, 0, I + 1, 1}, true);
  trace::FinishDevPoints(D);
  EXPECT_EQ(D.Polygons.PartCount(), 101);
  EXPECT_EQ(D.Polygons.Count(), 505);
  EXPECT_GE(D.Polygons.Capacity(), 505);
  EXPECT_EQ(D.Polygons[504], (TDevPoint{99, 1}));
}

TEST(DevPoints, PoolHandsOutOneInstanceAtATime) {
  TDevPoints* A = trace::AcquireDevPoints();
  trace::AddPoint(A->Current, {1, 1});
  TDevPoints* B = trace::AcquireDevPoints();
  EXPECT_NE(A, B);
  trace::ReleaseDevPoints(B);
  trace::ReleaseDevPoints(A);
  TDevPoints* C = trace::AcquireDevPoints();
  EXPECT_EQ(C, A);
  EXPECT_EQ(C->Current.Count(), 0);
  trace::ReleaseDevPoints(C);
}

}  // namespace
