#include "geomio/geojson_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geomio/arc_linearize.h"
#include "geomio/enclosed_area.h"
#include "geomio/geojson_reader.h"
#include "geomio/json_value.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::Wkt;

// A chord of angle a strays R (1 - cos(a / 2)) from its arc.
double Sagitta(double R, double Sweep, int N) {
  return R * (1 - std::cos(std::fabs(Sweep) / N / 2));
}

TEST(ArcLinearize, ChordCountIsTheFewestWithinTolerance) {
  std::mt19937 Rng(7);
  std::uniform_real_distribution<double> LogR(-2, 4), Sweep(-6.2, 6.2), LogTol(-5, 0);
  for (int i = 0; i < 2000; ++i) {
    const double R = std::pow(10.0, LogR(Rng));
    const double S = Sweep(Rng);
    const double Tol = R * std::pow(10.0, LogTol(Rng));
    const int N = ChordCount(R, S, Tol);
    ASSERT_GE(N, 1);
    EXPECT_LE(Sagitta(R, S, N), Tol * (1 + 1e-12)) << R << " " << S << " " << Tol;
    if (N > 1 && std::fabs(S) / (N - 1) <= 3.141592653589793 / 2) {
      EXPECT_GT(Sagitta(R, S, N - 1), Tol * (1 - 1e-12)) << R << " " << S << " " << Tol;
    }
  }
  // A tolerance beyond the radius still keeps a quarter turn per chord.
  EXPECT_EQ(ChordCount(1, 6, 5), 4);
  EXPECT_NE(test::InputErrorOf([] { ChordCount(1e6, 6, 1e-9); }).Text.find("too fine"),
            std::string::npos);
}

TEST(GeoJsonWriter, ChordedShapesReadBackWithinTolerance) {
  const char* const Inputs[] = {
      // A round pond with a square island, near the projected origin.
      "CURVEPOLYGON (CIRCULARSTRING (500000 6000000, 500060 6000000, 500000 6000000), "
      "(500020 5999990, 500020 6000010, 500040 6000010, 500040 5999990, 500020 5999990))",
      "MULTISURFACE (CURVEPOLYGON (CIRCULARSTRING (0 0, 2 0, 0 0)), ((5 5, 6 5, 6 6, 5 5)))",
  };
  for (const char* S : Inputs) {
    const geo::TContour In = Wkt(S);
    for (const double Tol : {1.0, 0.01, 1e-5}) {
      const std::string Json = GeoJsonGeometry(In, Tol);
      std::vector<TInputGeometry> Back;
      ReadGeoJson(ParseJsonSequence(Json).at(0), Back);
      ASSERT_EQ(Back.size(), 1u);
      // Each chord cuts off less than its length times the tolerance.
      const double Perimeter = 2 * 3.15 * 30 + 80;
      EXPECT_NEAR(EnclosedArea(Back[0].Contour), EnclosedArea(In), Perimeter * Tol) << Json;
    }
  }
  EXPECT_EQ(GeoJsonGeometry(Wkt("LINESTRING (0 0, 1 0.5)"), 1),
            R"({"type":"LineString","coordinates":[[0,0],[1,0.5]]})");
  EXPECT_EQ(GeoJsonGeometry(Wkt("MULTILINESTRING ((0 0, 1 0), (2 2, 3 3))"), 1),
            R"({"type":"MultiLineString","coordinates":[[[0,0],[1,0]],[[2,2],[3,3]]]})");
  EXPECT_EQ(GeoJsonGeometry(Wkt("POLYGON ((500000 6000000, 500000 6000001, 500001 6000001, "
                                "500000 6000000))"),
                            1),
            R"({"type":"Polygon","coordinates":[[[500000,6000000],[500001,6000001],)"
            R"([500000,6000001],[500000,6000000]]]})");
  EXPECT_EQ(GeoJsonGeometry(Wkt("GEOMETRYCOLLECTION (LINESTRING (0 0, 1 0), "
                                "POLYGON ((0 0, 0 1, 1 1, 0 0)))"),
                            1),
            R"({"type":"GeometryCollection","geometries":[{"type":"Polygon","coordinates":)"
            R"([[[0,0],[1,1],[0,1],[0,0]]]},{"type":"LineString","coordinates":[[0,0],[1,0]]}]})");
  EXPECT_EQ(GeoJsonGeometry(geo::TContour(), 1),
            R"({"type":"GeometryCollection","geometries":[]})");

  // Rings come out counter-clockwise, holes clockwise, whatever their
  // direction in the contour: an island in a hole is an outer ring again.
  EXPECT_EQ(GeoJsonGeometry(Wkt("MULTIPOLYGON (((0 0, 0 9, 9 9, 9 0, 0 0), (2 2, 7 2, 7 7, 2 7, "
                                "2 2)), ((4 4, 4 5, 5 5, 5 4, 4 4)))"),
                            1),
            R"({"type":"MultiPolygon","coordinates":[[[[0,0],[9,0],[9,9],[0,9],[0,0]],)"
            R"([[2,2],[2,7],[7,7],[7,2],[2,2]]],[[[4,4],[5,4],[5,5],[4,5],[4,4]]]]})");

  EXPECT_EQ(JsonString("a\"b\\c\n\x01\xC3\xA9"), "\"a\\\"b\\\\c\\n\\u0001\xC3\xA9\"");
  const std::string F = GeoJsonFeature("null", {{"source", JsonString("line 1")}, {"width", "5"}});
  const TJsonValue V = ParseJsonSequence(F).at(0);
  EXPECT_EQ(V.Find("type")->String, "Feature");
  EXPECT_EQ(V.Find("properties")->Find("source")->String, "line 1");
  EXPECT_EQ(V.Find("properties")->Find("width")->Number, 5);
}

}  // namespace
}  // namespace geomio
