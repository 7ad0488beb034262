#include "geomio/enclosed_area.h"

#include <gtest/gtest.h>

#include <cmath>

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
