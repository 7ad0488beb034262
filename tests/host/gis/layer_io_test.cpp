// Import of WKT and GeoJSON text into layers and export of layers: round
// trips of the sample town and of curved WKT, GeoJSON's coordinate system,
// and input with errors.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "addonlib/geometry/measures.h"
#include "geomio/gdal/crs.h"
#include "geomio/input_reader.h"
#include "host/gis/gis_layer_io.h"
#include "host/gis/layer_io.h"
#include "host/model/host_error.h"
#include "host/model/project_file.h"
#include "host/model/small_project.h"
#include "tests/geomio/gdal/gis_test_files.h"

namespace {

using namespace host;

// A project with the same maps, layers and styles and no objects.
THostProject EmptyCopy(const THostProject& P) {
  THostProject Q;
  for (const TKxID& S : P.StyleOrder()) Q.AddStyle(P.Style(S));
  for (const TKxID& M : P.Maps()) {
    Q.AddMap(M, P.Map(M).Name);
    for (const TKxID& L : P.Map(M).Layers) {
      Q.AddLayer(M, L, P.Layer(L).Caption);
      for (const TKxID& S : P.Layer(L).Styles) Q.AttachStyle(L, S);
    }
  }
  return Q;
}

// Same kinds, points bit for bit (they are written to full precision), and
// convexities to 1e-9: an arc goes out as three points and comes back as a
// bulge computed from them, and its middle point, written to full precision,
// is only good to a nanometre or so at 6 000 000 (a flat arc's bulge moves by
// some 1e-11 with it).
void ExpectSameGeometry(const geo::TContour& A, const geo::TContour& B, const std::string& What) {
  ASSERT_EQ(A.CommandCount(), B.CommandCount()) << What;
  for (std::int32_t I = 0; I < A.CommandCount(); ++I) {
    const geo::TComplexCommand P = A.GetCommand(I), Q = B.GetCommand(I);
    ASSERT_EQ(P.Kind, Q.Kind) << What << " command " << I;
    if (geo::IsToKind(P.Kind)) {
      EXPECT_EQ(P.Point.X, Q.Point.X) << What << " command " << I;
      EXPECT_EQ(P.Point.Y, Q.Point.Y) << What << " command " << I;
    }
    if (geo::IsArcKind(P.Kind)) {
      EXPECT_NEAR(P.Convexity, Q.Convexity, 1e-9) << What << " command " << I;
    }
  }
  const double AreaA = geo::Area(A), AreaB = geo::Area(B);
  EXPECT_LE(std::fabs(AreaA - AreaB), 1e-12 * std::fabs(AreaA)) << What;
}

TEST(HostLayerIO, TheSampleTownRoundTripsThroughWktLayerByLayer) {
  const THostProject Town = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  THostProject Copy = EmptyCopy(Town);
  int Compared = 0, Arcs = 0;
  for (const TKxID& L : Town.Map(MakeID("TOWN")).Layers) {
    const std::string Wkt = ExportLayerWkt(Town, L);
    // Objects with geometry, in order, imported in the first geometry style
    // of the layer (the comparison is of geometry only).
    std::vector<const THostMapObject*> WithGeometry;
    for (const THostMapObject* O : Town.Objects(L))
      if (ObjectGeometry(Town, *O).CommandCount()) WithGeometry.push_back(O);
    if (WithGeometry.empty()) {
      EXPECT_TRUE(Wkt.empty());
      continue;
    }
    // Each object back into its own first shape's style, one line at a time.
    std::size_t Pos = 0;
    for (const THostMapObject* O : WithGeometry) {
      const std::size_t End = Wkt.find('\n', Pos);
      const std::string Line = Wkt.substr(Pos, End - Pos);
      Pos = End + 1;
      const auto IDs = ImportGeometry(Copy, L, O->Shapes[0].StyleID, Line);
      ASSERT_EQ(IDs.size(), 1u) << Line;
      const geo::TContour Before = ObjectGeometry(Town, *O);
      ExpectSameGeometry(Before, ObjectGeometry(Copy, Copy.Object(IDs[0])), IDText(O->ID));
      Arcs += Before.ArcCount() > 0;
      ++Compared;
    }
    EXPECT_EQ(Pos, Wkt.size());
  }
  EXPECT_GT(Compared, 150);
  // Five bent streets, the ring road, two curved parcels, the river, the lake.
  EXPECT_EQ(Arcs, 10);
}

TEST(HostLayerIO, CurvedWktAndGeoJsonRoundTrip) {
  THostProject P;
  AddSmallProject(P);
  P.Crs = geomio::CrsFromDefinition("EPSG:25832");
  geomio::test::TTempFolder Dir;
  const TKxID L1 = MakeID("L1"), L2 = MakeID("L2"), S1 = MakeID("S1"), S2 = MakeID("S2");
  const std::string Wkt =
      "CURVEPOLYGON(COMPOUNDCURVE(CIRCULARSTRING(500000 6000000,500010 6000010,500020 "
      "6000000),(500020 6000000,500020 5999980,500000 5999980,500000 6000000)))\n"
      "# a comment line\n"
      "CIRCULARSTRING(500100 6000100,500150 6000150,500200 6000100)\n"
      "MULTISURFACE(CURVEPOLYGON(CIRCULARSTRING(500300 6000000,500310 6000010,500300 6000000)),"
      "((500400 6000000,500410 6000000,500410 6000010,500400 6000000)))\n";
  // Lines go to the line layer, areas to the area layer.
  std::string Areas, Lines;
  std::size_t Pos = 0;
  while (Pos < Wkt.size()) {
    const std::size_t End = Wkt.find('\n', Pos);
    const std::string Line = Wkt.substr(Pos, End - Pos + 1);
    Pos = End + 1;
    (Line.rfind("CIRCULARSTRING", 0) == 0 ? Lines : Areas) += Line;
  }
  const auto AreaIDs = ImportGeometry(P, L2, S2, Areas);
  const auto LineIDs = ImportGeometry(P, L1, S1, Lines);
  ASSERT_EQ(AreaIDs.size(), 2u);
  ASSERT_EQ(LineIDs.size(), 1u);

  // Out and in again: the same commands; out once more: the same text.
  for (const auto& [Layer, Style, IDs] :
       {std::tuple{L2, S2, AreaIDs}, std::tuple{L1, S1, LineIDs}}) {
    THostProject Q = EmptyCopy(P);
    const std::string Out = ExportLayerWkt(P, Layer);
    const auto Back = ImportGeometry(Q, Layer, Style, Out);
    const auto Originals = P.Objects(Layer);
    ASSERT_EQ(Back.size(), Originals.size());
    for (std::size_t I = 0; I < Back.size(); ++I)
      ExpectSameGeometry(ObjectGeometry(P, *Originals[I]), ObjectGeometry(Q, Q.Object(Back[I])),
                         IDText(Back[I]));
    // And once more: still the same geometry.
    THostProject Q2 = EmptyCopy(P);
    const auto Again = ImportGeometry(Q2, Layer, Style, ExportLayerWkt(Q, Layer));
    ASSERT_EQ(Again.size(), Back.size());
    for (std::size_t I = 0; I < Back.size(); ++I)
      ExpectSameGeometry(ObjectGeometry(P, *Originals[I]), ObjectGeometry(Q2, Q2.Object(Again[I])),
                         IDText(Again[I]));

    // GeoJSON through GDAL: chords, the system named, so that our own
    // reader takes it; read back and written again, the same geometry.
    const auto ReadText = [](const std::filesystem::path& Path) {
      std::ifstream In(Path, std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(In), {});
    };
    ExportGisLayer(P, Layer, (Dir / "once.geojson").string(), 0.01, "", true);
    const std::string Json = ReadText(Dir / "once.geojson");
    THostProject R = EmptyCopy(P);
    const auto FromJson = ImportGeometry(R, Layer, Style, Json);
    EXPECT_EQ(FromJson.size(), Originals.size());
    EXPECT_TRUE(geomio::SameCrs(R.Crs, P.Crs));
    ExportGisLayer(R, Layer, (Dir / "twice.geojson").string(), 0.01, "", true);
    const auto Once = geomio::ReadInput(Json),
               Twice = geomio::ReadInput(ReadText(Dir / "twice.geojson"));
    ASSERT_EQ(Twice.size(), Once.size());
    for (std::size_t I = 0; I < Once.size(); ++I)
      ExpectSameGeometry(Once[I].Contour, Twice[I].Contour, "GeoJSON " + std::to_string(I));
    // Chords within 1 cm cut little off the areas.
    for (std::size_t I = 0; I < FromJson.size(); ++I) {
      const double A = std::fabs(geo::Area(ObjectGeometry(P, *Originals[I])));
      const double B = std::fabs(geo::Area(ObjectGeometry(R, R.Object(FromJson[I]))));
      EXPECT_LE(std::fabs(A - B), 0.01 * 200) << I;
    }
  }
  // A full circle through a point 10, 10 away (area 50 pi, two counter-clockwise
  // half circles) and a counter-clockwise triangle of area 50.
  const geo::TContour Circle = ObjectGeometry(P, P.Object(AreaIDs[1]));
  EXPECT_EQ(Circle.ArcCount(), 2);
  EXPECT_NEAR(geo::Area(Circle), -(50 * M_PI + 50), 1e-9);
}

TEST(HostLayerIO, InputWithErrorsAddsNothing) {
  THostProject P;
  AddSmallProject(P);
  const TKxID L1 = MakeID("L1"), L2 = MakeID("L2"), S1 = MakeID("S1"), S2 = MakeID("S2");
  std::string Source = "in.wkt";
  const auto Fails = [&](const TKxID& Layer, const TKxID& Style, const std::string& Text,
                         const std::string& Says) {
    const auto Before = P.ObjectCount();
    try {
      ImportGeometry(P, Layer, Style, Text, Source);
      ADD_FAILURE() << "accepted: " << Text;
    } catch (const EHostError& E) {
      EXPECT_NE(std::string(E.what()).find(Says), std::string::npos) << E.what();
    }
    EXPECT_EQ(P.ObjectCount(), Before);
  };
  // A syntax error on line 3, after two good lines.
  Fails(L1, S1, "LINESTRING(0 0,1 1)\nLINESTRING(2 2,3 3)\nLINESTRING(4 4,\n",
        "in.wkt, строка 3: WKT: expected a coordinate, found the end of the line (column 16)");
  // A line into an area style: the second geometry is refused, the first not added either.
  Fails(L2, S2, "POLYGON((0 0,1 0,1 1,0 0))\n\nLINESTRING(0 0,1 1)\n",
        "in.wkt, строка 3: Фигура 0: Команда 1 контура: часть не замкнута");
  Fails(L1, S2, "LINESTRING(0 0,1 1)\n", "не принадлежит слою");
  Fails(L1, S1,
        "{\"type\":\"FeatureCollection\",\"features\":[\n{\"type\":\"Feature\",\"geometry\":"
        "{\"type\":\"LineString\",\"coordinates\":[[0,0],[1,\"x\"]]}}]}",
        "in.wkt, строка 2");
  Fails(L1, S1, "POINT(1 2)\n", "in.wkt, строка 1");
  EXPECT_THROW(ExportLayerWkt(P, MakeID("L9")), EHostError);
  EXPECT_THROW(ExportGisLayer(P, L1, "never.geojson", 0), EHostError);
  try {
    ExportLayerFile(P, L1, "never.abc", 0.01);
    ADD_FAILURE() << "an unknown extension written";
  } catch (const EHostError& E) {
    EXPECT_EQ(std::string(E.what()).rfind("Файл never.abc не записан: формат не определить по "
                                          "расширению «.abc»",
                                          0),
              0u)
        << E.what();
  }
  Source = "GeoJSON";

  // GeoJSON without "crs" is longitude and latitude (RFC 7946), whatever
  // its numbers: refused, as GDAL's path refuses degrees, and the project
  // takes no system from it.
  const std::string Line =
      R"({"type":"LineString","coordinates":[[500000,6000000],[500010,6000000]]})";
  Fails(L1, S1, Line, "Система координат GeoJSON (WGS 84 (EPSG:4326)) географическая");
  // Its numbers cannot be degrees, so the message says what to fix.
  Fails(L1, S1, Line, "вне пределов долготы и широты");
  Fails(L1, S1, Line, "член \"crs\"");
  Fails(L1, S1,
        R"({"type":"Feature","crs":{"type":"name","properties":{"name":)"
        R"("urn:ogc:def:crs:OGC:1.3:CRS84"}},"properties":{},"geometry":)" +
            Line + "}",
        "географическая");
  EXPECT_TRUE(P.Crs.empty());
  // Named in metres: taken, and the project takes the system.
  const std::string Utm32 = R"({"type":"Feature","crs":{"type":"name","properties":{"name":)"
                            R"("urn:ogc:def:crs:EPSG::25832"}},"properties":{},"geometry":)" +
                            Line + "}";
  EXPECT_EQ(ImportGeometry(P, L1, S1, Utm32).size(), 1u);
  EXPECT_TRUE(geomio::SameCrs(P.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  // A system nobody knows is an error, not a guess.
  Fails(L1, S1,
        R"({"type":"Feature","crs":{"type":"name","properties":{"name":"EPSG:999999"}},)"
        R"("properties":{},"geometry":)" +
            Line + "}",
        "999999");
}

}  // namespace
