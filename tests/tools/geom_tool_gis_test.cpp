// trace-geom on GIS files made with GDAL: the same zones as from WKT,
// attributes and coordinate systems carried, the refusals that protect
// against metres taken for degrees, GeoJSON as RFC 7946 asks, progress.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "core/exception.h"
#include "geomio/enclosed_area.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/input_reader.h"
#include "geomio/json_value.h"
#include "tests/geomio/gdal/gis_test_files.h"
#include "tools/trace-geom/geom_tool.h"
#include "tools/trace-geom/gis_formats.h"
#include "tools/trace-geom/progress_line.h"

namespace geomio {
namespace {

using test::TTempFolder;

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

TRun RunTool(std::vector<std::string> Args, const std::string& Input = "", bool Terminal = false) {
  std::istringstream In(Input);
  std::ostringstream Out, Err;
  const int Status = RunGeomTool(Args, In, Out, Err, Terminal);
  return {Status, Out.str(), Err.str()};
}

const std::vector<test::TTestFeature> Objects = {
    {"CURVEPOLYGON (COMPOUNDCURVE ((500200 5999900, 500320 5999900), CIRCULARSTRING (500320 "
     "5999900, 500340 5999955, 500320 6000010), (500320 6000010, 500200 6000010, 500200 "
     "5999900)), (500240 5999940, 500240 5999975, 500285 5999975, 500285 5999940, 500240 "
     "5999940))",
     "Parcel 17", 17, 0.5},
    {"POLYGON ((499900 5999900, 499990 5999900, 499990 5999990, 499900 5999990, 499900 "
     "5999900))",
     "Block", 4, 1.25},
};

std::vector<double> WktAreas(const std::string& Wkt) {
  std::vector<double> A;
  for (const TInputGeometry& G : ReadInput(Wkt)) A.push_back(EnclosedArea(G.Contour));
  return A;
}

TEST(GeomToolGis, BuffersEachFormatLikeWktKeepingAttributesAndCrs) {
  TTempFolder Dir;
  std::string Wkt;
  for (const auto& O : Objects) Wkt += O.Wkt + "\n";
  const TRun FromWkt = RunTool({"buffer", "--width", "5"}, Wkt);
  ASSERT_EQ(FromWkt.Status, 0) << FromWkt.Err;
  const std::vector<double> Expected = WktAreas(FromWkt.Out);

  struct {
    const char* Driver;
    const char* In;
    const char* Out;
    bool Arcs;
  } const Cases[] = {
      {"GPKG", "in.gpkg", "zones.gpkg", true},
      {"FlatGeobuf", "in.fgb", "zones.fgb", true},
      {"ESRI Shapefile", "in.shp", "zones.shp", false},
      {"DXF", "in.dxf", "zones.dxf", false},
  };
  const std::string Utm = CrsFromDefinition("EPSG:25832");
  for (const auto& C : Cases) {
    // Shapefiles and DXF hold no arcs: their input is chords already.
    std::vector<test::TTestFeature> In = Objects;
    if (!C.Arcs)
      In[0].Wkt =
          "POLYGON ((500200 5999900, 500320 5999900, 500320 6000010, 500200 "
          "6000010, 500200 5999900))";
    test::MakeGisFile(Dir / C.In, C.Driver, "objects", 25832, In);
    const TRun R = RunTool({"buffer", "--width", "5", Dir / C.In, "-o", Dir / C.Out});
    ASSERT_EQ(R.Status, 0) << C.Driver << ": " << R.Err;
    EXPECT_EQ(test::OgrinfoComplaints(Dir / C.Out), "") << C.Driver;
    const TInputSet Back = ReadGisLayer(Dir / C.Out, "");
    ASSERT_EQ(Back.Geometries.size(), 2u) << C.Driver;
    const std::string Dxf = C.Driver == std::string("DXF") ? "yes" : "";
    // GDAL's DXF has no coordinate system to give, nor to take.
    EXPECT_EQ(SameCrs(Back.Crs, Utm), Dxf.empty()) << C.Driver;
    EXPECT_EQ(Back.Crs.empty(), !Dxf.empty()) << C.Driver;

    // The block's zone has straight sides and quarter circles.
    const size_t Block = Back.Geometries[0].Values.empty() ||
                                 Back.Geometries[0].Values[0] == TFieldValue{std::string("Block")}
                             ? 0
                             : 1;
    const double BlockZone = 90 * 90 + 4 * 90 * 5 + 3.141592653589793 * 25;
    const double Got = EnclosedArea(Back.Geometries[Dxf.empty() ? Block : 1].Contour);
    EXPECT_NEAR(Got, BlockZone, C.Arcs ? 1e-6 : 2 * 3.15 * 5 * 0.005) << C.Driver;
    if (C.Arcs) {
      EXPECT_NEAR(EnclosedArea(Back.Geometries[1 - Block].Contour), Expected[0], 1e-6);
    }
    if (!Dxf.empty()) continue;
    // The input's fields, then the source's identifier, the operation, the width.
    std::vector<std::string> Names;
    for (const TFieldDef& F : Back.Fields) Names.push_back(F.Name);
    std::vector<std::string> Want = {"name", "count", "share", "id", "operation", "width"};
    if (!C.Arcs) Want.push_back("tolerance");
    EXPECT_EQ(Names, Want) << C.Driver;
    const TInputGeometry& B = Back.Geometries[Block];
    EXPECT_EQ(B.Values[1], TFieldValue{int64_t{4}});
    EXPECT_EQ(B.Values[2], TFieldValue{1.25});
    EXPECT_EQ(B.Values[4], TFieldValue{std::string("buffer")});
    EXPECT_EQ(B.Values[5], TFieldValue{5.0});
  }
}

TEST(GeomToolGis, MetresOnDegreesAndMixedSystemsAreRefused) {
  TTempFolder Dir;
  // The same block in longitude and latitude and in its UTM zone.
  test::MakeGisFile(Dir / "geo.gpkg", "GPKG", "blocks", 4326,
                    {{"POLYGON ((9 54, 9.001 54, 9.001 54.001, 9 54.001, 9 54))", "b", 1, 0}});
  const TRun Geo = RunTool({"buffer", "--width", "5", Dir / "geo.gpkg"});
  EXPECT_EQ(Geo.Status, 2);
  EXPECT_NE(Geo.Err.find("the width is in metres, but " + (Dir / "geo.gpkg").string() +
                         " is in WGS 84 (EPSG:4326), a geographic coordinate system (degrees)"),
            std::string::npos)
      << Geo.Err;
  EXPECT_NE(Geo.Err.find("--allow-degrees"), std::string::npos);
  EXPECT_EQ(Geo.Err.find("out of the range"), std::string::npos) << Geo.Err;
  // A file in metres that GDAL reads as WGS 84 (GeoJSON names no system):
  // the message says the numbers cannot be degrees and how to name the system.
  {
    std::ofstream(Dir / "metres.geojson")
        << R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
           R"("geometry":{"type":"LineString","coordinates":[[500000,6000000],[500010,6000000]]}}]})";
  }
  const TRun Metres = RunTool({"buffer", "--width", "5", Dir / "metres.geojson"});
  EXPECT_EQ(Metres.Status, 2);
  EXPECT_NE(Metres.Err.find("out of the range of longitude and latitude"), std::string::npos)
      << Metres.Err;
  EXPECT_NE(Metres.Err.find("--crs"), std::string::npos) << Metres.Err;
  EXPECT_EQ(
      RunTool({"buffer", "--width", "5", "--crs", "EPSG:25832", Dir / "metres.geojson"}).Status, 0);
  EXPECT_TRUE(Geo.Out.empty());
  const TRun Degrees =
      RunTool({"buffer", "--width", "0.0001", "--allow-degrees", Dir / "geo.gpkg"});
  EXPECT_EQ(Degrees.Status, 0) << Degrees.Err;

  const std::string Reproject = "ogr2ogr -t_srs EPSG:32632 '" + (Dir / "utm.gpkg").string() +
                                "' '" + (Dir / "geo.gpkg").string() + "'";
  ASSERT_EQ(std::system(Reproject.c_str()), 0);
  const TRun Utm = RunTool({"buffer", "--width", "5", Dir / "utm.gpkg"});
  ASSERT_EQ(Utm.Status, 0) << Utm.Err;
  const double Block = EnclosedArea(ReadGisLayer(Dir / "utm.gpkg", "").Geometries[0].Contour);
  const std::vector<double> Zone = WktAreas(Utm.Out);
  ASSERT_EQ(Zone.size(), 1u);
  EXPECT_GT(Zone[0], Block + 4 * 60 * 5);  // a block some 65 m by 110 m, grown by 5 m

  const TRun Mixed = RunTool({"union", Dir / "utm.gpkg", Dir / "geo.gpkg"});
  EXPECT_EQ(Mixed.Status, 2);
  EXPECT_NE(Mixed.Err.find("different coordinate systems"), std::string::npos) << Mixed.Err;
  EXPECT_NE(Mixed.Err.find("WGS 84 / UTM zone 32N (EPSG:32632)"), std::string::npos);

  // Two files in one system: the first feature of each; the result keeps the first's attributes.
  test::MakeGisFile(Dir / "b4326.gpkg", "GPKG", "other", 4326,
                    {{"POLYGON ((9.0005 54.0005, 9.002 54.0005, 9.002 54.002, 9.0005 54.002, "
                      "9.0005 54.0005))",
                      "x", 9, 0}});
  ASSERT_EQ(std::system(("ogr2ogr -t_srs EPSG:32632 '" + (Dir / "b.gpkg").string() + "' '" +
                         (Dir / "b4326.gpkg").string() + "'")
                            .c_str()),
            0);
  const TRun Both =
      RunTool({"intersection", Dir / "utm.gpkg", Dir / "b.gpkg", "-o", Dir / "both.gpkg", "-q"});
  ASSERT_EQ(Both.Status, 0) << Both.Err;
  const TInputSet I = ReadGisLayer(Dir / "both.gpkg", "");
  ASSERT_EQ(I.Geometries.size(), 1u);
  EXPECT_NEAR(EnclosedArea(I.Geometries[0].Contour), Block / 4, Block * 0.01);
  EXPECT_EQ(I.Geometries[0].Values[0], TFieldValue{std::string("b")});
  EXPECT_EQ(I.Geometries[0].Values[4], TFieldValue{std::string("intersection")});

  // --crs names the system of text input; GeoJSON names it back.
  const TRun Named =
      RunTool({"buffer", "--width", "1", "--crs", "EPSG:25832", "--format", "geojson"},
              "POLYGON ((500000 6000000, 500010 6000000, 500010 6000010, 500000 "
              "6000000))\n");
  ASSERT_EQ(Named.Status, 0) << Named.Err;
  EXPECT_NE(Named.Out.find("\"crs\":{\"type\":\"name\",\"properties\":{\"name\":"
                           "\"urn:ogc:def:crs:EPSG::25832\"}}"),
            std::string::npos);
  EXPECT_EQ(
      RunTool({"buffer", "--width", "1", "--crs", "EPSG:4326"}, "LINESTRING (0 0, 1 1)\n").Status,
      2);
  // GeoJSON on standard input names its system too.
  const TRun Piped = RunTool({"buffer", "--width", "1", "--format", "geojson"}, Named.Out);
  ASSERT_EQ(Piped.Status, 0) << Piped.Err;
  EXPECT_NE(Piped.Out.find("urn:ogc:def:crs:EPSG::25832"), std::string::npos);
  const std::string Crs84 =
      R"({"type":"FeatureCollection","crs":{"type":"name","properties":{"name":"EPSG:4326"}},)"
      R"("features":[]})";
  EXPECT_NE(RunTool({"buffer", "--width", "1"}, Crs84).Err.find("WGS 84 (EPSG:4326)"),
            std::string::npos);
}

TEST(GeomToolGis, Rfc7946GeoJsonIsInWgs84WithRingsTurnedRight) {
  TTempFolder Dir;
  test::MakeGisFile(Dir / "in.gpkg", "GPKG", "objects", 25832, Objects);
  for (const bool File : {false, true}) {
    std::vector<std::string> Args = {"difference", "--rfc7946", Dir / "in.gpkg"};
    // The parcel minus nothing it overlaps keeps its courtyard as a hole.
    if (File) {
      Args.insert(Args.end(), {"-o", Dir / "out.geojson"});
    } else {
      Args.insert(Args.end(), {"--format", "geojson"});
    }
    const TRun R = RunTool(Args);
    ASSERT_EQ(R.Status, 0) << R.Err;
    std::string Text = R.Out;
    if (File) {
      std::ifstream F(Dir / "out.geojson");
      Text.assign(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>());
      EXPECT_EQ(test::OgrinfoComplaints(Dir / "out.geojson"), "");
    }
    EXPECT_EQ(Text.find("\"crs\""), std::string::npos) << "RFC 7946 names no system";
    const TJsonValue Doc = ParseJsonSequence(Text).at(0);
    const TJsonValue& G = *Doc.Find("features")->Items.at(0).Find("geometry");
    ASSERT_EQ(G.Find("type")->String, "Polygon") << Text.substr(0, 300);
    const auto& Rings = G.Find("coordinates")->Items;
    ASSERT_EQ(Rings.size(), 2u);
    EXPECT_GT(test::RingArea(Rings[0]), 0);
    EXPECT_LT(test::RingArea(Rings[1]), 0);
    // ETRS89 / UTM 32N around x 500 000: the zone's central meridian, 54° north.
    for (const TJsonValue& P : Rings[0].Items) {
      EXPECT_NEAR(P.Items[0].Number, 9, 0.01);
      EXPECT_NEAR(P.Items[1].Number, 54.15, 0.01);
    }
    // Chords of the curved front lie within the tolerance: many points on it.
    EXPECT_GT(Rings[0].Items.size(), 20u);
  }
  EXPECT_EQ(RunTool({"area", "--rfc7946", Dir / "in.gpkg"}).Status, 2);
  EXPECT_NE(RunTool({"buffer", "--width", "1", "--rfc7946", Dir / "in.gpkg", "-o", Dir / "x.gpkg"})
                .Err.find("--rfc7946 applies to GeoJSON output only"),
            std::string::npos);
}

TEST(GeomToolGis, ProgressShowsOnATerminalAfterTheDelayOnly) {
  std::ostringstream Err;
  {
    TProgressLine Now(Err, true, 0);
    Now.Update("buffer", 1, 3);
    EXPECT_EQ(Err.str().rfind("\rtrace-geom: buffer 1 of 3 features, ", 0), 0u) << Err.str();
    Now.Update("writing", 3, 3);  // the last one is always drawn
    EXPECT_NE(Err.str().find("\rtrace-geom: writing 3 of 3 features"), std::string::npos);
    Now.Finish();
    // Wiped: blanks over the widest line, the cursor back at the start.
    const std::string S = Err.str();
    EXPECT_EQ(S.substr(S.rfind('\r', S.size() - 2)),
              "\r" + std::string(S.size() - S.rfind('\r', S.size() - 2) - 2, ' ') + "\r");
  }
  std::ostringstream Quiet;
  TProgressLine Later(Quiet, true, 1e9), Off(Quiet, false, 0);
  Later.Update("buffer", 1, 2);
  Off.Update("buffer", 1, 2);
  Later.Finish();
  EXPECT_EQ(Quiet.str(), "");

  // A quick job on a terminal shows nothing; notes go unless --quiet.
  TTempFolder Dir;
  test::MakeGisFile(Dir / "in.gpkg", "GPKG", "objects", 25832, Objects);
  const TRun R =
      RunTool({"buffer", "--width", "1", Dir / "in.gpkg", "-o", Dir / "z.shp"}, "", true);
  ASSERT_EQ(R.Status, 0) << R.Err;
  EXPECT_EQ(R.Err.find('\r'), std::string::npos);
  EXPECT_NE(R.Err.find("holds no arcs; they are written as chords within 0.001"), std::string::npos)
      << R.Err;
  const TRun Q = RunTool(
      {"buffer", "--width", "1", Dir / "in.gpkg", "-o", Dir / "z.shp", "--overwrite", "-q"});
  EXPECT_EQ(Q.Status, 0);
  EXPECT_EQ(Q.Err, "");
}

TEST(GeomToolGis, AModuleThatCannotBeLoadedIsNamedWithTheReason) {
  try {
    LoadGisFormats("/nonexistent/libtrace-geom-gis.so");
    FAIL() << "loaded";
  } catch (const core::Exception& E) {
    EXPECT_STREQ(E.what(),
                 "cannot load the GIS formats module libtrace-geom-gis.so: "
                 "/nonexistent/libtrace-geom-gis.so: cannot open shared object file: No such "
                 "file or directory");
  }
}

}  // namespace
}  // namespace geomio
