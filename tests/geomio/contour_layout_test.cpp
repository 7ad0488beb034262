#include "geomio/contour_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/overlay/overlay.h"
#include "geomio/enclosed_area.h"

namespace geomio {
namespace {

using geo::TContour;
using geo::TDPoint;

void AddSquare(TContour& C, TDPoint P, double Side) {
  C.AddMoveTo(P);
  C.AddLineTo({P.X + Side, P.Y});
  C.AddLineTo({P.X + Side, P.Y + Side});
  C.AddLineTo({P.X, P.Y + Side});
  C.AddClose();
}

// A ring of N vertices around O, radius R, every fourth edge a shallow arc.
std::vector<TDPoint> AddRound(TContour& C, TDPoint O, double R, int N) {
  std::vector<TDPoint> Pts;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * M_PI * I / N;
    Pts.push_back({O.X + R * std::cos(A), O.Y + R * std::sin(A)});
    if (I == 0)
      C.AddMoveTo(Pts[0]);
    else if (I % 4 == 0)
      C.AddArcTo(Pts[I], 0.01);
    else
      C.AddLineTo(Pts[I]);
  }
  C.AddClose();
  return Pts;
}

TEST(ContourLayout, HolesOfBigRingsGoToTheRingAroundThem) {
  // Two many-sided rings far from the origin, holes on a grid in both and
  // islands in some holes; some holes have their first edge on the height
  // of a vertex of their ring, where the crossing rules at vertices decide.
  const TDPoint A{500000, 6000000}, B{503000, 6000000};
  // Holes first: ring order must not matter.
  TContour All;
  double Expected = 0;
  int Islands = 0, HoleCount = 0;
  const auto Hole = [&](TDPoint P, double Side) {
    AddSquare(All, P, Side);
    Expected -= Side * Side;
    ++HoleCount;
    if (HoleCount % 5 == 0) {
      AddSquare(All, {P.X + Side / 4, P.Y + Side / 4}, Side / 2);
      Expected += Side * Side / 4;
      ++Islands;
    }
  };
  TContour RingA, RingB;
  const std::vector<TDPoint> VA = AddRound(RingA, A, 1000, 400);
  AddRound(RingB, B, 400, 160);
  Expected += std::fabs(geo::Area(RingA)) + std::fabs(geo::Area(RingB));
  for (const TDPoint O : {A, B}) {
    const double Reach = O.X == A.X ? 650 : 250;
    for (double X = -Reach; X <= Reach; X += 25)
      for (double Y = -Reach; Y <= Reach; Y += 25) Hole({O.X + X, O.Y + Y}, 10);
  }
  for (size_t K = 5; K < VA.size(); K += 20) {
    // Inward from the vertex, bottom side on its height.
    const double Dir = VA[K].X > A.X ? -1 : 1;
    Hole({VA[K].X + Dir * 60 - (Dir < 0 ? 8 : 0), VA[K].Y}, 8);
  }
  AddRound(All, A, 1000, 400);
  AddRound(All, B, 400, 160);

  const TContourLayout L = LayOutContour(All);
  ASSERT_EQ(L.Polygons.size(), static_cast<size_t>(2 + Islands));
  std::vector<int> Seen(L.Parts.size(), 0);
  for (const auto& Polygon : L.Polygons) {
    const TLayoutPart& Outer = L.Parts[Polygon[0]];
    EXPECT_EQ(Outer.Depth % 2, 0);
    ++Seen[Polygon[0]];
    for (size_t K = 1; K < Polygon.size(); ++K) {
      const TLayoutPart& H = L.Parts[Polygon[K]];
      EXPECT_EQ(H.Depth, Outer.Depth + 1);
      EXPECT_NE(geo::PointInContour(Outer.Contour, geoalg::PartSamplePoint(H.Contour)),
                geo::TPointPlace::Outside);
      ++Seen[Polygon[K]];
    }
  }
  for (int S : Seen) EXPECT_EQ(S, 1);
  EXPECT_EQ(L.Parts.size(), static_cast<size_t>(2 + HoleCount + Islands));
  EXPECT_NEAR(EnclosedArea(All), Expected, 1e-6 * Expected);

  // The engine's own result, laid out by its order and turn, gives the same
  // polygons, each hole with its outer part, as placing every hole does.
  const TContour U = geoalg::UniteContours({&All});
  const TContourLayout Placed = LayOutContour(U), Written = LayOutContour(U, TNesting::AsWritten);
  ASSERT_EQ(Written.Polygons.size(), Placed.Polygons.size());
  std::set<std::vector<size_t>> ByPlace(Placed.Polygons.begin(), Placed.Polygons.end()),
      ByOrder(Written.Polygons.begin(), Written.Polygons.end());
  EXPECT_EQ(ByPlace, ByOrder);
  // (Holes beside the ring's vertices overlap some on the grid: the engine
  // reads their overlap even-odd, so its area is not the sum above.)
  const double Area = EnclosedArea(U);
  EXPECT_NEAR(EnclosedArea(U, TNesting::AsWritten), Area, 1e-9 * Area);
}

}  // namespace
}  // namespace geomio
