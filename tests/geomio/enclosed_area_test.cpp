#include "geomio/enclosed_area.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geomio/wkt_writer.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::Wkt;

constexpr double Pi = 3.141592653589793;

TEST(EnclosedArea, HolesSubtractByNestingNotByDirection) {
  // All three rings run the same way; the island in the hole counts again.
  const char* Rings =
      "MULTIPOLYGON (((500000 6000000, 500100 6000000, 500100 6000100, 500000 6000100, 500000 "
      "6000000)), ((500020 6000020, 500080 6000020, 500080 6000080, 500020 6000080, 500020 "
      "6000020)), ((500040 6000040, 500060 6000040, 500060 6000060, 500040 6000060, 500040 "
      "6000040)))";
  EXPECT_NEAR(EnclosedArea(Wkt(Rings)), 10000 - 3600 + 400, 1e-6);
  // Disjoint areas add; open parts enclose nothing.
  EXPECT_NEAR(EnclosedArea(Wkt("GEOMETRYCOLLECTION (POLYGON ((0 0, 0 2, 2 2, 2 0, 0 0)), "
                               "POLYGON ((5 5, 6 5, 6 6, 5 5)), LINESTRING (0 0, 9 9, 9 0))")),
              4.5, 1e-12);
  EXPECT_EQ(EnclosedArea(Wkt("CIRCULARSTRING (0 0, 1 1, 2 0)")), 0);
  EXPECT_EQ(EnclosedArea(geo::TContour()), 0);
}

// Many rings: two squares far out, each with a grid of holes, every third
// hole holding an island. Each hole must go to the square around it and
// each island stand as a polygon of its own, whatever the ring order.
TEST(EnclosedArea, GridsOfHolesGoToTheirOwnRings) {
  geo::TContour C;
  const auto Square = [&](double X, double Y, double Side) {
    C.AddMoveTo({X, Y});
    C.AddLineTo({X + Side, Y});
    C.AddLineTo({X + Side, Y + Side});
    C.AddLineTo({X, Y + Side});
    C.AddClose();
  };
  const int N = 60;
  double Expected = 0;
  for (int Sq = 1; Sq >= 0; --Sq) {  // the second square's rings come first
    const double X0 = 500000 + Sq * 1000, Y0 = 6000000;
    for (int I = 0; I < N; ++I)
      for (int J = 0; J < N; ++J) {
        Square(X0 + 10 * I + 2, Y0 + 10 * J + 2, 6);
        Expected -= 36;
        if ((I + J) % 3 == 0) {
          Square(X0 + 10 * I + 4, Y0 + 10 * J + 4, 2);
          Expected += 4;
        }
      }
    Square(X0, Y0, 10 * N);
    Expected += 100.0 * N * N;
  }
  EXPECT_NEAR(EnclosedArea(C), Expected, 1e-6);
  const std::string Out = WktOfContour(C);
  // Two polygons with N * N holes each, then the islands: 2 + islands.
  int Islands = 0;
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J) Islands += (I + J) % 3 == 0;
  ASSERT_EQ(Out.rfind("MULTIPOLYGON (((", 0), 0u);
  size_t Polygons = 1;  // each further polygon starts with ", (("
  for (size_t At = Out.find(", (("); At != std::string::npos; At = Out.find(", ((", At + 1))
    ++Polygons;
  EXPECT_EQ(Polygons, static_cast<size_t>(2 + 2 * Islands));
  EXPECT_NEAR(EnclosedArea(Wkt(Out)), Expected, 1e-6);
}

TEST(EnclosedArea, ArcsCountExactly) {
  // A D shape: a 10 x 10 square with a half disc of radius 5 on its east side.
  const char* D =
      "CURVEPOLYGON (COMPOUNDCURVE ((500000 6000000, 500010 6000000), CIRCULARSTRING (500010 "
      "6000000, 500015 6000005, 500010 6000010), (500010 6000010, 500000 6000010, 500000 "
      "6000000)))";
  EXPECT_NEAR(EnclosedArea(Wkt(D)), 100 + 12.5 * Pi, 1e-7);

  // A pond of radius 30 with a round island of radius 10 off its centre.
  const geo::TContour Pond =
      Wkt("CURVEPOLYGON (CIRCULARSTRING (499970 6000000, 500030 6000000, 499970 6000000), "
          "CIRCULARSTRING (500015 6000000, 500005 6000010, 499995 6000000, 500005 5999990, "
          "500015 6000000))");
  EXPECT_NEAR(EnclosedArea(Pond), Pi * (900 - 100), 1e-7);
}

}  // namespace
}  // namespace geomio
