// GIS layers through the application: a GeoPackage with arcs and
// attributes imported by the File menu's path and by the script's step,
// saved in the project, reopened, exported to GeoPackage and read back with
// GDAL; files in degrees or in another coordinate system refused, adding
// nothing.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "geomio/gdal/crs.h"
#include "host/host_script.h"
#include "host/host_script_target.h"
#include "host/host_window.h"
#include "host/test_host.h"
#include "tests/host/gis_io_files.h"

namespace {

using host::MakeID;

const char* const Project = R"({
  "format": "trace-host-project", "version": 1, "name": "GIS",
  "styles": [
    {"id":"STREET","name":"Улица","flags":1,"value1":0,"value2":0,"area":false,
     "pen":{"style":0,"width":1.0,"forZoomScale":0.0,"color":8421504,"mode":4},
     "brush":{"style":1,"backColor":16777215,"hatchColor":0,"transparency":1}},
    {"id":"AREA","name":"Участок","flags":1,"value1":0,"value2":0,"area":true,
     "pen":{"style":0,"width":0.5,"forZoomScale":0.0,"color":255,"mode":4},
     "brush":{"style":0,"backColor":13434828,"hatchColor":0,"transparency":1}}
  ],
  "maps": [
    {"id":"TOWN","name":"Город","layers":[
      {"id":"ROADS","caption":"Улицы","styles":["STREET"]},
      {"id":"PARCELS","caption":"Участки","styles":["AREA"]}]}
  ],
  "objects": []
})";

class GisIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<host::THostWindow>(Host.Manager());
    Window->SetReporter([this](const QString& Text) { Reports << Text; });
    Write("project.json", Project);
    Window->OpenProject(File("project.json"));
    host::test::MakeTownGpkg(Path("town.gpkg"));
  }
  QString File(const QString& Name) const { return Dir.filePath(Name); }
  std::string Path(const QString& Name) const { return File(Name).toStdString(); }
  void Write(const QString& Name, const QByteArray& Text) {
    QFile F(File(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Text);
  }
  // Runs script steps as --script does; empty, or "line: message".
  QString Script(const QString& Text) {
    std::vector<host::TScriptStep> Steps;
    if (const host::TScriptError E = host::ParseScript(Text, Steps)) return E.Message;
    host::THostScriptTarget Target(*Window, QDir(Dir.path()));
    const host::TScriptError E = host::RunScript(Steps, Target);
    return E ? QString::number(E.Line) + ": " + E.Message : QString();
  }
  std::string ImportError(const QString& LayerID, const QString& StyleID, const QString& Name) {
    try {
      Window->ImportFile(MakeID(LayerID.toStdString()), MakeID(StyleID.toStdString()), File(Name));
    } catch (const std::exception& E) {
      return E.what();
    }
    return "(imported)";
  }

  host::TTestHost Host;
  QTemporaryDir Dir;
  std::unique_ptr<host::THostWindow> Window;
  QStringList Reports;
};

// GDAL's own area of a geometry, arcs made into chords of a twentieth of a
// degree (GDAL measures some curved rings exactly and others by coarser
// chords, so both sides are measured alike).
double OgrArea(const OGRGeometry& G) {
  const char* const Options[] = {"MAX_ANGLE_STEP_SIZE=0.05", nullptr};
  std::unique_ptr<OGRGeometry> Linear(G.getLinearGeometry(0, Options));
  return OGR_G_Area(OGRGeometry::ToHandle(Linear.get()));
}

TEST_F(GisIoTest, AGeoPackageComesInAndGoesOutWithArcsAttributesAndItsSystem) {
  const host::THostProject& P = Host.Project();
  // Two layers: one must be chosen, and nothing comes in until it is.
  const std::string Several = ImportError("PARCELS", "AREA", "town.gpkg");
  EXPECT_NE(Several.find("parcels, roads"), std::string::npos) << Several;
  EXPECT_EQ(P.ObjectCount(), 0);
  EXPECT_TRUE(P.Crs.empty());

  // The File menu's path for one layer, the script's step for the other.
  EXPECT_EQ(
      Window->ImportFile(MakeID("PARCELS"), MakeID("AREA"), File("town.gpkg"), "parcels").size(),
      2u);
  EXPECT_TRUE(Window->Modified());
  EXPECT_EQ(Script("import ROADS STREET town.gpkg roads\n"
                   "expect objects ROADS 2\n"
                   "save saved.json\n"
                   "new\n"
                   "open saved.json\n"
                   "export PARCELS parcels.gpkg\n"),
            "");
  EXPECT_TRUE(Reports.isEmpty()) << qPrintable(Reports.join('\n'));

  // Reopened from the project file: the system, the fields and the values.
  EXPECT_TRUE(geomio::SameCrs(P.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  const auto& Fields = P.Layer(MakeID("PARCELS")).Fields;
  ASSERT_EQ(Fields.size(), 3u);
  EXPECT_EQ(Fields[1].Name, "count");
  EXPECT_EQ(Fields[1].Kind, geomio::TFieldKind::Integer64);
  const auto Roads = P.Objects(MakeID("ROADS"));
  ASSERT_EQ(Roads.size(), 2u);
  EXPECT_EQ(Roads[0]->Values, std::vector<geomio::TFieldValue>{std::string("main")});
  EXPECT_TRUE(Roads[1]->Values.empty());

  // Read back with GDAL itself.
  GDALDataset* Ds = static_cast<GDALDataset*>(
      GDALOpenEx(Path("parcels.gpkg").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
  ASSERT_NE(Ds, nullptr);
  ASSERT_EQ(Ds->GetLayerCount(), 1);
  OGRLayer* L = Ds->GetLayer(0);
  OGRSpatialReference Utm;
  Utm.importFromEPSG(25832);
  ASSERT_NE(L->GetSpatialRef(), nullptr);
  EXPECT_TRUE(L->GetSpatialRef()->IsSame(&Utm));
  OGRFeatureDefn* Defn = L->GetLayerDefn();
  const std::vector<std::pair<std::string, OGRFieldType>> Want = {{"id", OFTString},
                                                                  {"layer", OFTString},
                                                                  {"name", OFTString},
                                                                  {"count", OFTInteger64},
                                                                  {"share", OFTReal}};
  ASSERT_EQ(Defn->GetFieldCount(), static_cast<int>(Want.size()));
  for (int i = 0; i < Defn->GetFieldCount(); ++i) {
    EXPECT_EQ(Defn->GetFieldDefn(i)->GetNameRef(), Want[static_cast<size_t>(i)].first);
    EXPECT_EQ(Defn->GetFieldDefn(i)->GetType(), Want[static_cast<size_t>(i)].second);
  }
  size_t K = 0;
  for (auto& F : *L) {
    ASSERT_LT(K, host::test::Parcels().size());
    const host::test::TParcel& T = host::test::Parcels()[K];
    OGRGeometry* Source = nullptr;
    ASSERT_EQ(OGRGeometryFactory::createFromWkt(T.Wkt, nullptr, &Source), OGRERR_NONE);
    const OGRGeometry* G = F->GetGeometryRef();
    ASSERT_NE(G, nullptr);
    // The arc is an arc again, the straight parcel straight.
    EXPECT_EQ(G->hasCurveGeometry(TRUE), Source->hasCurveGeometry(TRUE)) << K;
    EXPECT_NEAR(OgrArea(*G), OgrArea(*Source), 1e-3) << G->exportToWkt();
    OGRGeometryFactory::destroyGeometry(Source);
    EXPECT_EQ(F->GetFieldAsString(1), std::string("PARCELS"));
    EXPECT_EQ(F->IsFieldNull(2), !T.Name);
    if (T.Name) {
      EXPECT_EQ(F->GetFieldAsString(2), *T.Name);
    }
    EXPECT_EQ(F->GetFieldAsInteger64(3), *T.Count);
    EXPECT_EQ(F->IsFieldNull(4), !T.Share);
    if (T.Share) {
      EXPECT_EQ(F->GetFieldAsDouble(4), *T.Share);
    }
    ++K;
  }
  EXPECT_EQ(K, host::test::Parcels().size());
  GDALClose(Ds);

  // GeoJSON holds no arcs: the user is told, with the tolerance.
  const QStringList Notes = Window->ExportLayer(MakeID("ROADS"), File("roads.geojson"));
  ASSERT_EQ(Notes.size(), 1);
  EXPECT_TRUE(Notes[0].contains("chords within 0.01")) << qPrintable(Notes[0]);
}

TEST_F(GisIoTest, DegreesAndAnotherSystemAreRefusedAndAddNothing) {
  const host::THostProject& P = Host.Project();
  // RFC 7946 GeoJSON (no "crs") is longitude and latitude: refused by
  // GDAL's path and by our own text reader alike.
  const QByteArray LonLat =
      R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
      R"("geometry":{"type":"LineString","coordinates":[[9,54],[9.001,54]]}}]})";
  Write("lonlat.geojson", LonLat);
  Write("lonlat.txt", LonLat);
  const std::string ByGdal = ImportError("ROADS", "STREET", "lonlat.geojson");
  EXPECT_NE(ByGdal.find("WGS 84 (EPSG:4326)"), std::string::npos) << ByGdal;
  EXPECT_NE(ByGdal.find("градусах"), std::string::npos) << ByGdal;
  std::string ByText = ImportError("ROADS", "STREET", "lonlat.txt");
  ByText.replace(ByText.find("lonlat.txt"), 10, "lonlat.geojson");
  EXPECT_EQ(ByText, ByGdal);
  EXPECT_EQ(Script("import ROADS STREET lonlat.geojson\n"), QString::fromStdString("1: " + ByGdal));
  EXPECT_EQ(P.ObjectCount(), 0);
  EXPECT_TRUE(P.Crs.empty());

  // The project takes zone 32 from its first file; zone 33 is refused.
  Script("import PARCELS AREA town.gpkg parcels\n");
  ASSERT_EQ(P.ObjectCount(), 2);
  host::test::MakeTownGpkg(Path("utm33.gpkg"), 25833);
  const std::string Other = ImportError("ROADS", "STREET", "utm33.gpkg");
  EXPECT_NE(Other.find("has 2 layers"), std::string::npos) << Other;
  EXPECT_EQ(Script("import ROADS STREET utm33.gpkg roads\n").toStdString(),
            "1: Система координат " + Path("utm33.gpkg") +
                " (ETRS89 / UTM zone 33N (EPSG:25833)) не совпадает с системой координат проекта "
                "(ETRS89 / UTM zone 32N (EPSG:25832))");
  EXPECT_EQ(P.ObjectCount(), 2);
  EXPECT_TRUE(geomio::SameCrs(P.Crs, geomio::CrsFromDefinition("EPSG:25832")));

  // WKT names no system: it is taken as the project's.
  Write("line.wkt", "LINESTRING (500000 6000300, 500100 6000300)\n");
  EXPECT_EQ(Script("import ROADS STREET line.wkt\nexpect objects ROADS 1\n"), "");
  EXPECT_TRUE(geomio::SameCrs(P.Crs, geomio::CrsFromDefinition("EPSG:25832")));
}

}  // namespace
