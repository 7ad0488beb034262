#include "geomio/wkt_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geomio/enclosed_area.h"
#include "geomio/number_text.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::Commands;
using test::Kinds;
using test::Wkt;

constexpr double Pi = 3.141592653589793;

TEST(WktReader, StraightGeometriesBecomeOpenAndClosedParts) {
  const geo::TContour Parcel = Wkt(
      "POLYGON ((500000 6000000, 500100 6000000, 500100 6000100, 500000 6000100, 500000 6000000), "
      "(500010.25 6000010.5, 500010.25 6000020, 500020 6000020, 500010.25 6000010.5))");
  EXPECT_EQ(Kinds(Parcel), "MLLLCMLLC");
  EXPECT_EQ(Parcel.PointCount(), 7);
  const auto Cmd = Commands(Parcel);
  EXPECT_EQ(Cmd[0].Point.X, 500000);
  EXPECT_EQ(Cmd[0].Point.Y, 6000000);
  EXPECT_EQ(Cmd[2].Point.X, 500100);
  EXPECT_EQ(Cmd[2].Point.Y, 6000100);
  EXPECT_EQ(Cmd[5].Point.X, 500010.25);
  EXPECT_EQ(Cmd[5].Point.Y, 6000010.5);

  // Z and M ordinates are dropped, repeated points too; keywords ignore case.
  const geo::TContour Line = Wkt("linestring z (1 2 3, 4 5 6, 4 5 7, 7 8 9)");
  EXPECT_EQ(Kinds(Line), "MLL");
  EXPECT_EQ(Commands(Line)[2].Point.X, 7);
  EXPECT_EQ(Kinds(Wkt("MULTILINESTRING ((0 0, 1 0), (5 5, 6 6))")), "MLML");
  EXPECT_EQ(Kinds(Wkt("SRID=25832;MULTIPOLYGON (((0 0, 1 0, 1 1, 0 0)), ((5 5, 6 5, 6 6, 5 5)))")),
            "MLLCMLLC");
  EXPECT_EQ(Kinds(Wkt("GEOMETRYCOLLECTION (LINESTRING M (0 0 1, 1 1 2), "
                      "GEOMETRYCOLLECTION (POLYGON ((0 0, 2 0, 2 2, 0 0))), POLYGON EMPTY)")),
            "MLMLLC");
  EXPECT_EQ(Wkt("POLYGON EMPTY").CommandCount(), 0);
  EXPECT_EQ(Wkt("GEOMETRYCOLLECTION Z EMPTY").CommandCount(), 0);
  // An EMPTY item of a list (a polygon, line, ring or curve) adds nothing.
  EXPECT_EQ(Kinds(Wkt("MULTIPOLYGON (((0 0, 1 0, 1 1, 0 0)), EMPTY, ((5 5, 6 5, 6 6, 5 5)))")),
            "MLLCMLLC");
  EXPECT_EQ(Kinds(Wkt("MULTILINESTRING (EMPTY, (0 0, 1 0))")), "ML");
  EXPECT_EQ(Kinds(Wkt("POLYGON ((0 0, 1 0, 1 1, 0 0), EMPTY)")), "MLLC");
  EXPECT_EQ(Kinds(Wkt("MULTISURFACE (EMPTY, CURVEPOLYGON (EMPTY, (0 0, 1 0, 1 1, 0 0)))")), "MLLC");
  EXPECT_EQ(Kinds(Wkt("MULTICURVE (EMPTY, COMPOUNDCURVE (EMPTY, (0 0, 1 0)))")), "ML");
}

TEST(WktReader, ThreePointArcsBecomeBulgeArcs) {
  const geo::TDPoint C{500000, 6000000};
  auto Arc = [&](double A0, double A1, double A2) {
    return "CIRCULARSTRING (" + PointText(test::OnCircle(C, 50, A0)) + ", " +
           PointText(test::OnCircle(C, 50, A1)) + ", " + PointText(test::OnCircle(C, 50, A2)) + ")";
  };
  // The bulge is tan(sweep / 4), positive counter-clockwise.
  const geo::TContour Quarter = Wkt(Arc(10, 50, 100));
  ASSERT_EQ(Kinds(Quarter), "MA");
  EXPECT_NEAR(Commands(Quarter)[1].Convexity, std::tan(Pi / 8), 1e-9);
  EXPECT_NEAR(Commands(Wkt(Arc(100, 50, 10)))[1].Convexity, -std::tan(Pi / 8), 1e-9);
  EXPECT_NEAR(Commands(Wkt(Arc(0, 135, 270)))[1].Convexity, std::tan(3 * Pi / 8), 1e-9);
  EXPECT_NEAR(Commands(Wkt(Arc(0, -100, -200)))[1].Convexity, -std::tan(200 * Pi / 720), 1e-9);

  // Collinear points give a straight piece; a run of arcs chains.
  EXPECT_EQ(Kinds(Wkt("CIRCULARSTRING (0 0, 1 1, 2 2)")), "ML");
  EXPECT_EQ(Kinds(Wkt("CIRCULARSTRING (0 0, 1 1, 2 0, 3 -1, 4 0)")), "MAA");

  // A circle given as start, opposite point, start again.
  const geo::TContour Circle =
      Wkt("CURVEPOLYGON (CIRCULARSTRING (500000 6000000, 500060 6000000, 500000 6000000))");
  EXPECT_EQ(Kinds(Circle), "MAc");
  EXPECT_EQ(Commands(Circle)[1].Convexity, 1);
  EXPECT_EQ(Commands(Circle)[2].Convexity, 1);
  EXPECT_NEAR(EnclosedArea(Circle), Pi * 900, 1e-6);

  // A ring of a compound curve closes with its last piece, straight or arc.
  EXPECT_EQ(Kinds(Wkt("CURVEPOLYGON (COMPOUNDCURVE ((0 0, 10 0), CIRCULARSTRING (10 0, 15 5, "
                      "10 10), (10 10, 0 10, 0 0)))")),
            "MLALC");
  const geo::TContour ArcClosed =
      Wkt("CURVEPOLYGON (COMPOUNDCURVE ((0 0, 10 0, 10 10), CIRCULARSTRING (10 10, -5 5, 0 0)), "
          "(2 2, 3 2, 3 3, 2 2))");
  EXPECT_EQ(Kinds(ArcClosed), "MLLcMLLC");
  EXPECT_GT(Commands(ArcClosed)[3].Convexity, 0);  // (-5, 5) lies right of the chord
  EXPECT_EQ(Kinds(Wkt("MULTICURVE ((0 0, 1 0), CIRCULARSTRING (5 0, 6 1, 7 0), "
                      "COMPOUNDCURVE (CIRCULARSTRING (9 0, 10 1, 11 0), (11 0, 12 0)))")),
            "MLMAMAL");
  EXPECT_EQ(Kinds(Wkt("MULTISURFACE (((0 0, 1 0, 1 1, 0 0)), CURVEPOLYGON (CIRCULARSTRING "
                      "(5 0, 6 0, 5 0)), POLYGON ((7 7, 8 7, 8 8, 7 7)))")),
            "MLLCMAcMLLC");
}

TEST(WktReader, RefusesWhatIsNoContourNamingTheColumn) {
  struct {
    std::string Text;
    const char* Part;
    const char* At;  // the column is where this text first begins
  } const Cases[] = {
      {"POINT (1 2)", "POINT is not a contour", "POINT"},
      {"GEOMETRYCOLLECTION (LINESTRING (0 0, 1 1), MULTIPOINT ((1 1)))",
       "MULTIPOINT is not a contour", "MULTIPOINT"},
      {"POLYGON ((0 0, 1 0, 1 1, 0 1))", "ring is not closed", "(0 0"},
      {"POLYGON ((0 0, 1 0, 1 1, 0 0), (5 5, 6 5, 5 5))", "encloses nothing", "(5 5"},
      {"CIRCULARSTRING (0 0, 1 1, 2 0, 3 3)", "odd number of points", "(0 0"},
      {"COMPOUNDCURVE ((0 0, 1 0), (2 0, 3 0))", "do not join", "(2 0"},
      {"LINESTRING (500000 6000000, 500000 6000000)", "at least two distinct points", "LINE"},
      {"CIRCULARSTRING (0 0, 5e-7 2.5e-7, 7e-7 0)", "lies within the point tolerance", "(0 0"},
      {"POLYGON ((7 7, 7 7, 7 7, 7 7))", "ring at 7 7 encloses nothing", "(7 7"},
      // Closed within the tolerance, which drops the last point and with it
      // the only width the ring had.
      {"POLYGON ((0 0, 1 0, 1e-7 1e-7))", "narrower than the point tolerance", "(0 0"},
      {"LINESTRING (0 0, 1 1) x", "unexpected text", "x"},
      {"LINESTRING (0 0, 1 1e999)", "not a finite number", "1e999"},
      {"LINESTRING (0 0, 1 q)", "expected a coordinate", "q)"},
      {"TRIANGLE ((0 0, 1 0, 1 1, 0 0))", "unknown geometry type", "TRIANGLE"},
      {"LINESTRING (0 0, 1 1", "expected ',' or ')'", "END"},
      {"MULTIPOLYGON (LINESTRING (0 0, 1 1))", "expected a polygon", "LINESTRING"},
      {"CURVEPOLYGON (POLYGON ((0 0, 1 0, 1 1, 0 0)))", "expected a curve", "POLYGON (("},
      {"  ", "expected a geometry type", "END"},
  };
  for (const auto& C : Cases) {
    geo::TContour Kept;
    Kept.AddMoveTo({1, 1});
    const EInputError E = test::InputErrorOf([&] { ReadWkt(C.Text, Kept); });
    EXPECT_NE(E.Text.find(C.Part), std::string::npos) << C.Text << " -> " << E.Text;
    const size_t Column = std::string(C.At) == "END" ? C.Text.size() + 1 : C.Text.find(C.At) + 1;
    EXPECT_NE(E.Text.find("(column " + std::to_string(Column) + ")"), std::string::npos)
        << C.Text << " -> " << E.Text;
    EXPECT_EQ(Kept.CommandCount(), 1) << "a failed read must add nothing: " << C.Text;
  }
  std::string Deep;
  for (int i = 0; i < 200; ++i) Deep += "GEOMETRYCOLLECTION (";
  EXPECT_NE(test::InputErrorOf([&] { Wkt(Deep); }).Text.find("nested too deeply"),
            std::string::npos);
}

}  // namespace
}  // namespace geomio
