#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "geomio/enclosed_area.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/gdal/gis_writer.h"
#include "tests/geomio/gdal/gis_test_files.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::TTempFolder;
using test::Wkt;

// A parcel with a curved front and a courtyard, a round pond, and a street
// with a bend, in projected metres.
const char* const Parcel =
    "CURVEPOLYGON (COMPOUNDCURVE ((500200 5999900, 500320 5999900), CIRCULARSTRING (500320 "
    "5999900, 500340 5999955, 500320 6000010), (500320 6000010, 500200 6000010, 500200 5999900)), "
    "(500240 5999940, 500240 5999975, 500285 5999975, 500285 5999940, 500240 5999940))";
const char* const Pond =
    "CURVEPOLYGON (CIRCULARSTRING (499850 6000000, 499880 6000030, 499850 6000060, 499820 "
    "6000030, 499850 6000000))";
const char* const Street =
    "COMPOUNDCURVE ((500000 6000100, 500100 6000100), CIRCULARSTRING (500100 6000100, 500135.355 "
    "6000114.645, 500150 6000150))";

bool HasArcs(const geo::TContour& C) {
  for (const geo::TComplexCommand& Cmd : test::Commands(C))
    if (Cmd.Kind == geo::ccArcTo || Cmd.Kind == geo::ccCloseArc) return true;
  return false;
}

TEST(GisReader, CurvesBecomeTheArcsOfTheWktReaderWithAttributesAndCrs) {
  TTempFolder Dir;
  const std::vector<test::TTestFeature> In = {
      {Parcel, "Parcel 17", 17, 0.25}, {Pond, "Pond", 3, 1.5}, {Street, "Main Street", -4, 0}};
  for (const char* Driver : {"GPKG", "FlatGeobuf", "GML"}) {
    const auto Path = Dir / (std::string("in.") + Driver);
    test::MakeGisFile(Path, Driver, "objects", 25832, In);
    const TInputSet Set = ReadGisLayer(Path, "");
    EXPECT_EQ(Set.Layer, "objects");
    EXPECT_TRUE(SameCrs(Set.Crs, CrsFromDefinition("EPSG:25832"))) << Driver;
    ASSERT_EQ(Set.Geometries.size(), In.size()) << Driver;
    std::vector<std::string> Names;
    for (const TFieldDef& F : Set.Fields) Names.push_back(F.Name);
    ASSERT_GE(Names.size(), 3u);
    const size_t Name = Names.size() - 3;  // GML adds its gml_id first
    EXPECT_EQ(Set.Fields[Name + 1].Kind, TFieldKind::Integer64) << Driver;
    EXPECT_EQ(Set.Fields[Name + 2].Kind, TFieldKind::Real) << Driver;
    for (const TInputGeometry& G : Set.Geometries) {
      // FlatGeobuf orders features by its spatial index; the count names them.
      size_t i = 0;
      while (i + 1 < In.size() && TFieldValue{In[i].Count} != G.Values[Name + 1]) ++i;
      EXPECT_TRUE(test::SameCommands(G.Contour, Wkt(In[i].Wkt))) << Driver << " " << In[i].Wkt;
      EXPECT_EQ(std::get<std::string>(G.Values[Name]), In[i].Name);
      EXPECT_EQ(std::get<int64_t>(G.Values[Name + 1]), In[i].Count);
      EXPECT_EQ(std::get<double>(G.Values[Name + 2]), In[i].Share);
    }
  }
}

TEST(GisReader, RefusesWhatIsNoContourAndAmbiguousLayers) {
  TTempFolder Dir;
  test::MakeGisFile(Dir / "pts.gpkg", "GPKG", "wells", 25832,
                    {{Pond, "a", 1, 0}, {"POINT (500000 6000000)", "b", 2, 0}});
  const EInputError Point = test::InputErrorOf([&] { ReadGisLayer(Dir / "pts.gpkg", ""); });
  EXPECT_NE(Point.Text.find("pts.gpkg, layer wells, feature 2: POINT is not a contour"),
            std::string::npos)
      << Point.Text;
  EXPECT_EQ(Point.Text.find("column"), std::string::npos) << Point.Text;

  // A second layer in the same GeoPackage.
  test::MakeGisFile(Dir / "two.gpkg", "GPKG", "parcels", 25832, {{Parcel, "p", 1, 0}});
  {
    GDALDataset* Ds =
        GDALDataset::Open((Dir / "two.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE);
    ASSERT_NE(Ds, nullptr);
    ASSERT_NE(Ds->CreateLayer("streets", nullptr, wkbLineString, nullptr), nullptr);
    GDALClose(Ds);
  }
  EXPECT_EQ((GisLayerNames(Dir / "two.gpkg")), (std::vector<std::string>{"parcels", "streets"}));
  EXPECT_NE(test::InputErrorOf([&] {
              ReadGisLayer(Dir / "two.gpkg", "");
            }).Text.find("has 2 layers (parcels, streets); choose one with --layer"),
            std::string::npos);
  EXPECT_NE(test::InputErrorOf([&] {
              ReadGisLayer(Dir / "two.gpkg", "roads");
            }).Text.find("has no layer 'roads' (its layers: parcels, streets)"),
            std::string::npos);
  EXPECT_EQ(ReadGisLayer(Dir / "two.gpkg", "parcels").Geometries.size(), 1u);
  EXPECT_TRUE(IsGisFile(Dir / "two.gpkg"));
  std::ofstream(Dir / "x.wkt") << "POLYGON ((0 0, 1 0, 1 1, 0 0))\n";
  EXPECT_FALSE(IsGisFile(Dir / "x.wkt"));
}

TEST(GisWriter, EveryFormatReadsBackWithAreasArcsAttributesAndCrs) {
  TTempFolder Dir;
  // Rings given clockwise and holes counter-clockwise, the wrong way round for GeoJSON.
  std::vector<geo::TContour> Shapes;
  Shapes.push_back(Wkt(Parcel));
  Shapes.push_back(
      Wkt("POLYGON ((499900 5999900, 499900 5999990, 499990 5999990, 499990 "
          "5999900, 499900 5999900), (499920 5999920, 499950 5999920, 499950 "
          "5999950, 499920 5999920))"));
  Shapes.push_back(Wkt(Pond));
  const std::vector<TFieldDef> Fields = {
      {"name", TFieldKind::String, 0, 0},
      {"count", TFieldKind::Integer64, 0, 0},
      {"share", TFieldKind::Real, 0, 0},
      {"surveyed", TFieldKind::DateTime, 0, 0},
  };
  const std::vector<std::vector<TFieldValue>> Rows = {
      {std::string("Parcel 17"), int64_t{17}, 0.25, std::string("2024/05/01 10:30:00")},
      {std::string("Block"), int64_t{-3}, std::monostate{}, std::monostate{}},
      {std::monostate{}, int64_t{5000000000}, 1.5, std::string("2023/01/02 00:00:00")},
  };
  std::vector<TGisFeature> Features;
  for (size_t k = 0; k < Shapes.size(); ++k) Features.push_back({&Shapes[k], &Rows[k]});
  const std::string Crs = CrsFromDefinition("EPSG:25832");
  const double Tol = 0.01;

  struct {
    const char* File;
    bool Arcs, Attributes, KeepsCrs;
  } const Formats[] = {
      {"out.gpkg", true, true, true},     {"out.fgb", true, true, true},
      {"out.gml", true, true, true},      {"out.shp", false, true, true},
      {"out.geojson", false, true, true}, {"out.dxf", false, false, false},
  };
  for (const auto& F : Formats) {
    TGisOutput O;
    O.Path = Dir / F.File;
    O.Crs = Crs;
    O.Fields = Fields;
    O.Tolerance = Tol;
    const std::vector<std::string> Notes = WriteGisLayer(O, Features);
    std::string AllNotes;
    for (const std::string& N : Notes) AllNotes += N + "\n";
    EXPECT_EQ(AllNotes.find("GDAL:"), std::string::npos) << F.File << ": " << AllNotes;
    EXPECT_EQ(AllNotes.find("holds no arcs") != std::string::npos, !F.Arcs) << AllNotes;
    EXPECT_EQ(AllNotes.find("keeps no attributes") != std::string::npos, !F.Attributes);
    EXPECT_EQ(AllNotes.find("keeps no coordinate system") != std::string::npos, !F.KeepsCrs);
    EXPECT_EQ(test::OgrinfoComplaints(O.Path), "") << F.File;

    const TInputSet Back = ReadGisLayer(O.Path, "");
    ASSERT_EQ(Back.Geometries.size(), Shapes.size()) << F.File;
    EXPECT_EQ(SameCrs(Back.Crs, Crs), F.KeepsCrs) << F.File;
    // FlatGeobuf orders features by its spatial index; the count names them.
    for (const TInputGeometry& G : Back.Geometries) {
      size_t k = 0;
      if (F.Attributes) {
        const size_t C = G.Values.size() - 3;  // count, after name (and GML's gml_id)
        while (k < Rows.size() && Rows[k][1] != G.Values[C]) ++k;
        ASSERT_LT(k, Rows.size()) << F.File;
        EXPECT_EQ(G.Values[C - 1], Rows[k][0]) << F.File;
        EXPECT_EQ(G.Values[C + 1], Rows[k][2]) << F.File;
        // Shapefiles hold no time of day: the date and time come as text.
        EXPECT_EQ(G.Values[C + 2] == TFieldValue{}, Rows[k][3] == TFieldValue{}) << F.File;
      } else {
        k = static_cast<size_t>(&G - Back.Geometries.data());
      }
      EXPECT_EQ(HasArcs(G.Contour), F.Arcs && HasArcs(Shapes[k])) << F.File;
      const double Exact = EnclosedArea(Shapes[k]);
      // Chords cut off less than their length times the tolerance; 800 m of outline at most.
      EXPECT_NEAR(EnclosedArea(G.Contour), Exact, F.Arcs ? 1e-6 : 800 * Tol) << F.File << " " << k;
      if (!F.Arcs) {
        EXPECT_LT(EnclosedArea(G.Contour), Exact + 1e-6) << F.File;
      }
    }
  }
  // The GeoJSON turned every ring: exterior counter-clockwise, holes clockwise.
  std::ifstream Json(Dir / "out.geojson");
  const std::string Text((std::istreambuf_iterator<char>(Json)), std::istreambuf_iterator<char>());
  EXPECT_EQ(test::CheckOrientation(ParseJsonSequence(Text).at(0)), 5);
  EXPECT_NE(Text.find("urn:ogc:def:crs:EPSG::25832"), std::string::npos);

  // An existing file is kept unless replacing it is asked for.
  TGisOutput O;
  O.Path = Dir / "out.gpkg";
  EXPECT_NE(test::InputErrorOf([&] { WriteGisLayer(O, Features); }).Text.find("--overwrite"),
            std::string::npos);
  O.Overwrite = true;
  O.Fields = Fields;
  WriteGisLayer(O, {Features[0]});
  EXPECT_EQ(ReadGisLayer(O.Path, "").Geometries.size(), 1u);
  O.Path = Dir / "out.xyz";
  EXPECT_NE(test::InputErrorOf([&] { WriteGisLayer(O, Features); }).Text.find("--driver"),
            std::string::npos);
  O.Driver = "NoSuchDriver";
  EXPECT_NE(test::InputErrorOf([&] { WriteGisLayer(O, Features); }).Text.find("no driver"),
            std::string::npos);
}

TEST(Crs, NamesKindsAndTheWayToWgs84) {
  const std::string Utm = CrsFromDefinition("EPSG:32632");
  const std::string Wgs = CrsFromDefinition("EPSG:4326");
  EXPECT_EQ(CrsName(Utm), "WGS 84 / UTM zone 32N (EPSG:32632)");
  EXPECT_EQ(CrsName(""), "unknown");
  EXPECT_EQ(CrsUrn(Utm), "urn:ogc:def:crs:EPSG::32632");
  EXPECT_TRUE(CrsIsGeographic(Wgs));
  EXPECT_FALSE(CrsIsGeographic(Utm));
  EXPECT_FALSE(CrsIsGeographic(""));
  EXPECT_TRUE(SameCrs(Wgs, Wgs84Crs()));
  EXPECT_FALSE(SameCrs(Utm, Wgs));
  EXPECT_FALSE(SameCrs(Utm, ""));
  EXPECT_NE(test::InputErrorOf([] { CrsFromDefinition("EPSG:999999"); }).Text.find("unknown"),
            std::string::npos);

  // The zone's central meridian on the equator, longitude first; a disc
  // becomes chords first, each point then moved.
  const TToWgs84 To(Utm);
  geo::TContour Disc = Wkt("CURVEPOLYGON (CIRCULARSTRING (500000 -100, 500000 100, 500000 -100))");
  const geo::TContour Geo = To.Apply(Disc, 0.01);
  EXPECT_FALSE(HasArcs(Geo));
  const auto Cmds = test::Commands(Geo);
  ASSERT_GT(Cmds.size(), 20u);
  EXPECT_NEAR(Cmds[0].Point.X, 9, 1e-12);
  EXPECT_NEAR(Cmds[0].Point.Y, -100 / 0.9996 / 110574.0, 1e-7);  // metres on the equator
  for (const auto& C : Cmds)
    if (geo::IsToCommand(C)) {
      EXPECT_LT(std::hypot(C.Point.X - 9, C.Point.Y), 0.0011);
    }
  EXPECT_NE(test::InputErrorOf([] { TToWgs84 Bad(""); }).Text.find("unknown"), std::string::npos);
}

}  // namespace
}  // namespace geomio
