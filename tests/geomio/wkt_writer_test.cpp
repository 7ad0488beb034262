#include "geomio/wkt_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "geomio/enclosed_area.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::Wkt;

TEST(WktWriter, StraightResultsUseThePlainTypes) {
  const char* const Same[] = {
      "POLYGON ((500000 6000000, 500000 6000100, 500100 6000100, 500100 6000000, 500000 6000000))",
      "POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0), (2 2, 4 2, 4 4, 2 2))",
      "MULTIPOLYGON (((0 0, 0 1, 1 1, 0 0)), ((5 5, 5 6, 6 6, 5 5)))",
      "LINESTRING (500000.125 6000000.5, 500010 5999999.75)",
      "MULTILINESTRING ((0 0, 1 0), (-0.001 0.0000015, 2 2))",
      "GEOMETRYCOLLECTION (POLYGON ((0 0, 0 1, 1 1, 0 0)), LINESTRING (5 5, 6 6))",
  };
  for (const char* S : Same) EXPECT_EQ(WktOfContour(Wkt(S)), S);
  EXPECT_EQ(WktOfContour(geo::TContour()), "GEOMETRYCOLLECTION EMPTY");
  // Below the point tolerance a contour still holds distinct points: they
  // are written, and read back as they were, so that a zone 1e-9 wide keeps
  // its four corners rather than coming out a sliver triangle.
  geo::TContour Speck;
  Speck.AddMoveTo({1, 1});
  Speck.AddLineTo({1, 1.0000000001});
  EXPECT_EQ(WktOfContour(Speck), "LINESTRING (1 1, 1 1.0000000001)");
  for (const char* S : {"POLYGON ((0 0, 0.000001 0, 0.000001 0.000001, 0 0.000001, 0 0))",
                        "POLYGON ((0 0, 1 1, 1.000000001 0.999999999, 1e-09 -1e-09, 0 0))"}) {
    const geo::TContour Tiny = Wkt(S);
    EXPECT_EQ(WktOfContour(Tiny), S);
    EXPECT_GT(EnclosedArea(Tiny), 0.99e-12) << S;
  }

  // Rings are grouped by nesting, whatever their order and direction: an
  // island inside a hole is a polygon of its own. Polygons keep the order of
  // their outer rings.
  EXPECT_EQ(WktOfContour(Wkt("MULTIPOLYGON (((3 3, 3 7, 7 7, 7 3, 3 3)), ((4 4, 4 6, 6 6, 4 4)), "
                             "((0 0, 0 10, 10 10, 10 0, 0 0)), ((20 0, 20 1, 21 1, 20 0)))")),
            "MULTIPOLYGON (((4 4, 4 6, 6 6, 4 4)), ((0 0, 0 10, 10 10, 10 0, 0 0), "
            "(3 3, 3 7, 7 7, 7 3, 3 3)), ((20 0, 20 1, 21 1, 20 0)))");
}

TEST(WktWriter, ArcsSurviveAReadBack) {
  const char* const Inputs[] = {
      "CURVEPOLYGON (CIRCULARSTRING (500000 6000000, 500060 6000000, 500000 6000000))",
      "CURVEPOLYGON (COMPOUNDCURVE ((500000 6000000, 500100 6000000), CIRCULARSTRING (500100 "
      "6000000, 500130 6000030.5, 500100 6000060), (500100 6000060, 500000 6000060, 500000 "
      "6000000)), (500010 6000010, 500020 6000010, 500020 6000020, 500010 6000010))",
      "CURVEPOLYGON (COMPOUNDCURVE ((0 0, 10 0, 10 10), CIRCULARSTRING (10 10, -5 5, 0 0)))",
      "COMPOUNDCURVE (CIRCULARSTRING (499900 6000020, 499950 6000040, 500000 6000020), (500000 "
      "6000020, 500100 6000020), CIRCULARSTRING (500100 6000020, 500120 6000010, 500130 "
      "5999990, 500135 5999960, 500120 5999940))",
      "MULTICURVE ((0 0, 1 0), CIRCULARSTRING (5 0, 6 1, 7 0))",
      "MULTISURFACE (((0 0, 1 0, 1 1, 0 0)), CURVEPOLYGON (CIRCULARSTRING (5 0, 6 0, 5 0)))",
      "GEOMETRYCOLLECTION (CURVEPOLYGON (CIRCULARSTRING (5 0, 6 0, 5 0)), "
      "CIRCULARSTRING (10 0, 11 1, 12 0))",
  };
  for (const char* S : Inputs) {
    const geo::TContour In = Wkt(S);
    const std::string Out = WktOfContour(In);
    const geo::TContour Back = Wkt(Out);
    EXPECT_TRUE(test::SameCommands(In, Back)) << S << "\n -> " << Out;
    EXPECT_NEAR(EnclosedArea(Back), EnclosedArea(In), 1e-6) << Out;
  }
  EXPECT_EQ(WktOfContour(Wkt(Inputs[0])).rfind("CURVEPOLYGON (CIRCULARSTRING (500000 6000000, ", 0),
            0u);
  EXPECT_EQ(WktOfContour(Wkt(Inputs[3])).rfind("COMPOUNDCURVE (CIRCULARSTRING (", 0), 0u);
  EXPECT_EQ(WktOfContour(Wkt(Inputs[4])),
            "MULTICURVE ((0 0, 1 0), CIRCULARSTRING (5 0, 6 1, 7 0))");
}

}  // namespace
}  // namespace geomio
