// Layers through GIS files: the sample town's layers out to GeoPackage and
// back with their arcs, the project's coordinate system taken from the first
// import, kept in the project file and written with every export; a file in
// another system refused without adding anything.
#include "host/gis/gis_layer_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "geomio/enclosed_area.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "host/gis/layer_io.h"
#include "host/model/host_contour.h"
#include "host/model/host_error.h"
#include "host/model/project_file.h"
#include "host/model/small_project.h"
#include "tests/geomio/gdal/gis_test_files.h"
#include "tests/geomio/geomio_test_util.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace {

// The geometry type the file's first layer declares.
OGRwkbGeometryType DeclaredType(const std::string& Path) {
  std::unique_ptr<GDALDataset> Ds(GDALDataset::Open(Path.c_str(), GDAL_OF_VECTOR));
  return Ds && Ds->GetLayerCount() ? wkbFlatten(Ds->GetLayer(0)->GetGeomType()) : wkbNone;
}

using namespace host;

TEST(HostGisLayerIO, LayersGoOutAndComeBackWithArcsAttributesAndCrs) {
  geomio::test::TTempFolder Dir;
  THostProject Town = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  ASSERT_TRUE(geomio::SameCrs(Town.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  int Layers = 0, Arcs = 0;
  for (const TKxID& L : Town.Map(MakeID("TOWN")).Layers) {
    std::vector<const THostMapObject*> WithGeometry;
    for (const THostMapObject* O : Town.Objects(L))
      if (ObjectGeometry(Town, *O).CommandCount()) WithGeometry.push_back(O);
    if (WithGeometry.empty()) continue;
    const std::string Path = (Dir / (IDText(L) + ".gpkg")).string();
    const std::vector<std::string> Notes = ExportGisLayer(Town, L, Path, 0.01);
    EXPECT_TRUE(Notes.empty()) << Notes.front();
    EXPECT_EQ(geomio::test::OgrinfoComplaints(Path), "");
    // One kind per layer, declared: the roads with their ring road are lines.
    EXPECT_NE(DeclaredType(Path), wkbUnknown) << IDText(L);
    if (IDText(L) == "ROADS") {
      EXPECT_EQ(DeclaredType(Path), wkbMultiCurve);
    } else if (IDText(L) == "PARCELS") {
      EXPECT_TRUE(OGR_GT_IsSubClassOf(DeclaredType(Path), wkbMultiSurface) ||
                  OGR_GT_IsSurface(DeclaredType(Path)));
    }
    const geomio::TInputSet Back = geomio::ReadGisLayer(Path, "");
    EXPECT_TRUE(geomio::SameCrs(Back.Crs, Town.Crs));
    ASSERT_EQ(Back.Geometries.size(), WithGeometry.size());
    for (size_t k = 0; k < WithGeometry.size(); ++k) {
      const geo::TContour C = ObjectGeometry(Town, *WithGeometry[k]);
      // A line encloses nothing, drawn as a ring or not.
      const bool Line = !Town.Style(WithGeometry[k]->Shapes.at(0).StyleID).Area;
      EXPECT_NEAR(geomio::EnclosedArea(Back.Geometries[k].Contour),
                  Line ? 0 : geomio::EnclosedArea(C), 1e-6);
      EXPECT_EQ(Back.Geometries[k].Values.at(0), geomio::TFieldValue{IDText(WithGeometry[k]->ID)});
      for (const auto& Cmd : geomio::test::Commands(Back.Geometries[k].Contour))
        Arcs += Cmd.Kind == geo::ccArcTo || Cmd.Kind == geo::ccCloseArc;
    }

    // Into a layer of a project without a system: it takes the file's.
    THostProject Copy = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
    Copy.Crs.clear();
    const size_t Before = Copy.Objects(L).size();
    const TKxID Style = Copy.Layer(L).Styles.at(0);
    std::vector<TKxID> IDs;
    try {
      IDs = ImportGisLayer(Copy, L, Style, Path);
    } catch (const EHostError& E) {
      // A style that refuses the layer's geometry kind (lines in an area style).
      EXPECT_EQ(Copy.Objects(L).size(), Before) << E.what();
      continue;
    }
    EXPECT_EQ(IDs.size(), WithGeometry.size());
    EXPECT_EQ(Copy.Objects(L).size(), Before + IDs.size());
    EXPECT_TRUE(geomio::SameCrs(Copy.Crs, Town.Crs));
    ++Layers;
  }
  EXPECT_GT(Layers, 0);
  EXPECT_GT(Arcs, 0);

  // The system is kept in the project file.
  SaveProjectFile(Town, (Dir / "town.json").string());
  EXPECT_TRUE(geomio::SameCrs(LoadProjectFile((Dir / "town.json").string()).Crs, Town.Crs));
}

TEST(HostGisLayerIO, FilesInAnotherSystemOrInDegreesAreRefusedAndAddNothing) {
  geomio::test::TTempFolder Dir;
  THostProject Town = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  ASSERT_TRUE(geomio::SameCrs(Town.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  const TKxID L = Town.Map(MakeID("TOWN")).Layers.at(0);
  const TKxID Style = Town.Layer(L).Styles.at(0);
  const size_t Before = Town.Objects(L).size();
  auto Refusal = [&](THostProject& P, const std::filesystem::path& File) -> std::string {
    try {
      ImportGisLayer(P, L, Style, File.string());
    } catch (const EHostError& E) {
      return E.what();
    }
    return "(imported)";
  };

  // A neighbouring zone: refused, naming both systems.
  geomio::test::MakeGisFile(Dir / "utm33.gpkg", "GPKG", "blocks", 25833,
                            {{"LINESTRING (300000 6000000, 300050 6000000)", "b", 1, 0}});
  std::string Text = Refusal(Town, Dir / "utm33.gpkg");
  EXPECT_NE(Text.find("ETRS89 / UTM zone 33N (EPSG:25833)"), std::string::npos) << Text;
  EXPECT_NE(Text.find("ETRS89 / UTM zone 32N (EPSG:25832)"), std::string::npos) << Text;
  EXPECT_EQ(Town.Objects(L).size(), Before);

  // Longitude and latitude: refused even by a project without a system,
  // which stays without one; a zone width in metres would be degrees.
  const char* Degrees = "LINESTRING (9 54, 9.001 54, 9.001 54.001)";
  geomio::test::MakeGisFile(Dir / "geo.gpkg", "GPKG", "blocks", 4326, {{Degrees, "b", 1, 0}});
  THostProject Empty = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  Empty.Crs.clear();
  const size_t EmptyBefore = Empty.Objects(L).size();
  Text = Refusal(Empty, Dir / "geo.gpkg");
  EXPECT_NE(Text.find("WGS 84 (EPSG:4326)"), std::string::npos) << Text;
  EXPECT_NE(Text.find("градусах"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Перепроецируйте"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("вне пределов"), std::string::npos) << Text;
  EXPECT_EQ(Empty.Objects(L).size(), EmptyBefore);
  EXPECT_TRUE(Empty.Crs.empty());

  // The same line reprojected to its UTM zone by GDAL is taken, with the
  // system.
  OGRSpatialReference Geo, Utm;
  Geo.importFromEPSG(4326);
  Utm.importFromEPSG(25832);
  Geo.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  Utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  OGRGeometry* G = nullptr;
  ASSERT_EQ(OGRGeometryFactory::createFromWkt(Degrees, &Geo, &G), OGRERR_NONE);
  ASSERT_EQ(G->transformTo(&Utm), OGRERR_NONE);
  char* Projected = nullptr;
  G->exportToWkt(&Projected);
  geomio::test::MakeGisFile(Dir / "utm32.gpkg", "GPKG", "blocks", 25832, {{Projected, "b", 1, 0}});
  CPLFree(Projected);
  OGRGeometryFactory::destroyGeometry(G);
  const std::vector<TKxID> IDs = ImportGisLayer(Empty, L, Style, (Dir / "utm32.gpkg").string());
  ASSERT_EQ(IDs.size(), 1u);
  EXPECT_TRUE(geomio::SameCrs(Empty.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  // About 64 m east, then 111 m north: metres now.
  geo::TDRect R;
  ASSERT_TRUE(HostBounds(Empty.Object(IDs[0]).Shapes.at(0).Commands, R));
  EXPECT_NEAR(R.X2 - R.X1, 65.5, 1.5);
  EXPECT_NEAR(R.Y2 - R.Y1, 111.3, 0.5);

  EXPECT_TRUE(IsGisFileName("a.gpkg"));
  EXPECT_TRUE(IsGisFileName("a.SHP"));
  EXPECT_TRUE(IsGisFileName("a.geojson"));
  EXPECT_FALSE(IsGisFileName("a.wkt"));
  EXPECT_FALSE(IsGisFileName("a.TXT"));
}

// The small project's area layer, and a square in it.
class HostGisSmall : public ::testing::Test {
 protected:
  void SetUp() override { AddSmallProject(P); }
  geomio::test::TTempFolder Dir;
  THostProject P;
  const TKxID L2 = MakeID("L2"), S2 = MakeID("S2");
  const char* Square = "POLYGON ((500000 6000000,500010 6000000,500010 6000010,500000 6000000))";
};

TEST_F(HostGisSmall, FieldsOfSeveralFilesShareTheLayerAndComeBackOnce) {
  // name (String), count (Integer64), share (Real).
  geomio::test::MakeGisFile(Dir / "a.gpkg", "GPKG", "a", 25832, {{Square, "a", 3, 0.5}});
  const TKxID A = ImportLayerFile(P, L2, S2, (Dir / "a.gpkg").string()).at(0);

  // The same names in other kinds and case, and one more field.
  {
    GDALDataset* Ds = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
        (Dir / "b.gpkg").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(Ds, nullptr);
    OGRSpatialReference Srs;
    Srs.importFromEPSG(25832);
    OGRLayer* L = Ds->CreateLayer("b", &Srs, wkbPolygon, nullptr);
    OGRFieldDefn Count("COUNT", OFTReal), Name("name", OFTInteger), Extra("extra", OFTString);
    L->CreateField(&Count);
    L->CreateField(&Name);
    L->CreateField(&Extra);
    OGRFeature F(L->GetLayerDefn());
    OGRGeometry* G = nullptr;
    OGRGeometryFactory::createFromWkt(Square, nullptr, &G);
    F.SetGeometryDirectly(G);
    F.SetField(0, 2.5);
    F.SetField(1, 12);
    F.SetField(2, "e");
    ASSERT_EQ(L->CreateFeature(&F), OGRERR_NONE);
    GDALClose(Ds);
  }
  const TKxID B = ImportLayerFile(P, L2, S2, (Dir / "b.gpkg").string()).at(0);
  using geomio::TFieldKind;
  using geomio::TFieldValue;
  const std::vector<geomio::TFieldDef>& Fields = P.Layer(L2).Fields;
  ASSERT_EQ(Fields.size(), 4u);
  const std::vector<std::pair<std::string, TFieldKind>> Want = {{"name", TFieldKind::String},
                                                                {"count", TFieldKind::Real},
                                                                {"share", TFieldKind::Real},
                                                                {"extra", TFieldKind::String}};
  for (size_t I = 0; I < Want.size(); ++I) {
    EXPECT_EQ(Fields[I].Name, Want[I].first);
    EXPECT_EQ(Fields[I].Kind, Want[I].second) << I;
  }
  // The first object's whole count became a real; the second's number text.
  EXPECT_EQ(P.Object(A).Values,
            (std::vector<TFieldValue>{std::string("a"), TFieldValue{3.0}, TFieldValue{0.5}}));
  EXPECT_EQ(P.Object(B).Values, (std::vector<TFieldValue>{std::string("12"), TFieldValue{2.5},
                                                          std::monostate{}, std::string("e")}));

  // Out, in again, out again: the object's id and layer come back as
  // attributes and go out in their own columns, not twice.
  const std::string Once = (Dir / "once.gpkg").string(), Twice = (Dir / "twice.gpkg").string();
  EXPECT_TRUE(ExportLayerFile(P, L2, Once, 0.01).empty());
  THostProject Q;
  AddSmallProject(Q);
  Q.RemoveObject(MakeID("2"));
  Q.RemoveObject(MakeID("3"));
  ImportLayerFile(Q, L2, S2, Once);
  EXPECT_TRUE(ExportLayerFile(Q, L2, Twice, 0.01).empty());
  const geomio::TInputSet First = geomio::ReadGisLayer(Once, ""),
                          Second = geomio::ReadGisLayer(Twice, "");
  ASSERT_EQ(First.Fields.size(), 6u);
  ASSERT_EQ(Second.Fields.size(), First.Fields.size());
  for (size_t I = 0; I < First.Fields.size(); ++I)
    EXPECT_EQ(Second.Fields[I].Name, First.Fields[I].Name);
  ASSERT_EQ(Second.Geometries.size(), First.Geometries.size());
  for (size_t K = 0; K < First.Geometries.size(); ++K)
    EXPECT_EQ(Second.Geometries[K].Values, First.Geometries[K].Values) << K;
  EXPECT_EQ(First.Geometries.back().Values.at(0), TFieldValue{IDText(B)});
}

// Exports over an existing file that fail halfway (a file size limit stands
// in for a full disk) leave the old file whole and name it with the reason.
TEST_F(HostGisSmall, AnExportThatFailsLeavesTheOldFile) {
  namespace fs = std::filesystem;
  for (const char* Name : {"old.wkt", "old.gpkg", "old.shp"}) {
    const std::string Path = (Dir / Name).string();
    ExportLayerFile(P, L2, Path, 0.01);
    const auto Files = [&] { return std::distance(fs::directory_iterator(Dir.Path), {}); };
    const auto Before = Files();
    const std::string Old = support::TTempFolder::Text(Path);
    std::string Message;
    try {
      support::TFileSizeLimit Limit(Old.size() / 2);
      ExportLayerFile(P, L2, Path, 0.01);
    } catch (const EHostError& E) {
      Message = E.what();
    }
    EXPECT_NE(Message.find(Path), std::string::npos) << Message;
    EXPECT_NE(Message.find("File too large"), std::string::npos) << Message;
    EXPECT_EQ(support::TTempFolder::Text(Path), Old) << Name;
    EXPECT_EQ(Files(), Before) << Name;
    ExportLayerFile(P, L2, Path, 0.01);  // nothing left beside it either
    EXPECT_EQ(Files(), Before) << Name;
  }
}

// Z and M values go, and each import says so once, with how many had them.
TEST_F(HostGisSmall, DroppedZAndMAreToldOncePerImport) {
  const char* Flat = Square;
  const char* WithZ =
      "POLYGON Z ((500000 6000000 1,500010 6000000 2,500010 6000010 3,500000 6000000 1))";
  geomio::test::MakeGisFile(Dir / "z.gpkg", "GPKG", "z", 25832,
                            {{WithZ, ""}, {WithZ, ""}, {Flat, ""}});
  std::vector<std::string> Notes;
  EXPECT_EQ(ImportLayerFile(P, L2, S2, (Dir / "z.gpkg").string(), "", &Notes).size(), 3u);
  EXPECT_EQ(Notes, std::vector<std::string>{(Dir / "z.gpkg").string() +
                                            ": the map keeps x and y only; Z and M values of 2 "
                                            "of 3 objects were left out"});
  Notes.clear();
  ImportGeometry(P, L2, S2, std::string(Flat) + "\nPOLYGON M ((0 0 1,9 0 1,9 9 1,0 0 1))\n",
                 "t.wkt", &Notes);
  ASSERT_EQ(Notes.size(), 1u);
  EXPECT_NE(Notes[0].find("t.wkt: the map keeps x and y only; Z and M values of 1 of 2"),
            std::string::npos);
  Notes.clear();
  ImportGeometry(P, L2, S2, std::string(Flat) + "\n", "t.wkt", &Notes);
  EXPECT_TRUE(Notes.empty());
}

TEST_F(HostGisSmall, ARefusedFeatureIsNamedWithItsFile) {
  const std::string Path = (Dir / "line.gpkg").string();
  geomio::test::MakeGisFile(Path, "GPKG", "line", 25832,
                            {{"LINESTRING (500000 6000000,500010 6000000)", ""}});
  try {
    ImportLayerFile(P, L2, S2, Path);  // a line into an area style
    ADD_FAILURE() << "a line taken as an area";
  } catch (const EHostError& E) {
    EXPECT_EQ(std::string(E.what()).rfind(Path + ", объект 1: Фигура 0: ", 0), 0u) << E.what();
  }
}

}  // namespace
