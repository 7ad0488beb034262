// GIS layers through the application: a GeoPackage with arcs and
// attributes imported by the File menu's path and by the script's step,
// saved in the project, reopened, exported to GeoPackage and read back with
// GDAL; files in degrees or in another coordinate system refused, adding
// nothing; the File menu's import and export driven through their dialogs.
#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

#include "geomio/gdal/crs.h"
#include "host/app/host_script.h"
#include "host/app/host_script_target.h"
#include "host/app/host_window.h"
#include "tests/host/app/gis_io_files.h"
#include "tests/host/app/modal_answers.h"
#include "tests/support/test_host.h"
#include "tests/support/two_style_project.h"

namespace {

using host::MakeID;

// Roads and parcels to import into.
const std::string Project = host::test::TTwoStyleProject{}.Json();

class GisIoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<host::THostWindow>(Host.Manager());
    Window->SetReporter([this](const QString& Text) { Reports << Text; });
    Write("project.json", QByteArray::fromStdString(Project));
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
  EXPECT_TRUE(Notes[0].contains("chords within 1 cm")) << qPrintable(Notes[0]);
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

// The File menu's dialogs, answered as a person would; no reporter, so that
// errors and notes show as the message boxes they are.
class FileMenuDialogs : public GisIoTest {
 protected:
  void SetUp() override {
    GisIoTest::SetUp();
    Window->SetReporter(nullptr);
  }
  void Trigger(const char* Action) {
    QAction* A = Window->Window().findChild<QAction*>(QString::fromLatin1(Action));
    ASSERT_NE(A, nullptr) << Action;
    A->trigger();
  }
  // Answers the layer (and style) dialog with the items of these captions.
  static std::function<void(QDialog&)> PickLayer(const QString& Layer, const QString& Style = {}) {
    return [=](QDialog& D) {
      auto* Layers = D.findChild<QComboBox*>("Layers");
      auto* Styles = D.findChild<QComboBox*>("Styles");
      ASSERT_TRUE(Layers && Styles);
      Layers->setCurrentIndex(Layers->findText(Layer));
      ASSERT_EQ(Layers->currentText(), Layer);
      // Styles are offered for imports only.
      EXPECT_EQ(Styles->isVisibleTo(&D), !Style.isEmpty());
      if (!Style.isEmpty()) {
        Styles->setCurrentIndex(Styles->findText(Style));
        ASSERT_EQ(Styles->currentText(), Style);
      }
      D.accept();
    };
  }
  std::function<void(QDialog&)> PickFile(const QString& Name) const {
    const QString At = File(Name);
    return [At](QDialog& D) {
      auto& Files = static_cast<QFileDialog&>(D);
      Files.selectFile(At);
      // selectFile leaves the name box alone once it has the focus, which
      // a loaded machine may give it before this answer comes.
      if (auto* Name = Files.findChild<QLineEdit*>("fileNameEdit")) Name->setText(At);
      D.accept();  // QFileDialog's own is protected
    };
  }
  // Answers a message box with OK, keeping its text.
  static std::function<void(QDialog&)> ReadBox(QString& Text) {
    return [&Text](QDialog& D) {
      Text = static_cast<QMessageBox&>(D).text();
      D.accept();
    };
  }
  QString Status() const { return Window->Window().statusBar()->currentMessage(); }

  host::test::TModalAnswers Answers;
};

TEST_F(FileMenuDialogs, TheLayerChosenOfAFileOfSeveralIsTheOneImported) {
  const host::THostProject& P = Host.Project();
  QStringList Offered;
  QString Asked;
  // "roads", the second of the two offered, into the streets layer.
  EXPECT_EQ(Answers.Then("QDialog", PickLayer("Улицы", "Улица"))
                .Then("QFileDialog", PickFile("town.gpkg"))
                .Then("QInputDialog",
                      [&](QDialog& D) {
                        auto& In = static_cast<QInputDialog&>(D);
                        Offered = In.comboBoxItems();
                        Asked = In.labelText();
                        In.setTextValue("roads");
                        In.accept();
                      })
                .Run([&] { Trigger("FileImport"); }),
            QStringList());
  EXPECT_EQ(Offered, QStringList({"parcels", "roads"}));
  EXPECT_TRUE(Asked.contains("town.gpkg")) << qPrintable(Asked);
  const auto Roads = P.Objects(MakeID("ROADS"));
  ASSERT_EQ(Roads.size(), host::test::Roads().size());
  EXPECT_TRUE(P.Objects(MakeID("PARCELS")).empty());
  EXPECT_EQ(P.ObjectCount(), 2);
  // The road that is an arc came in as one, with its attribute and style.
  const host::THostShape& First = Roads[0]->Shapes.at(0);
  EXPECT_EQ(First.StyleID, MakeID("STREET"));
  EXPECT_TRUE(std::any_of(First.Commands.begin(), First.Commands.end(),
                          [](const kx::TKxContourCommand& C) { return C.Kind == kx::kxArcTo; }));
  EXPECT_EQ(Roads[0]->Values, std::vector<geomio::TFieldValue>{std::string("main")});
  EXPECT_TRUE(geomio::SameCrs(P.Crs, geomio::CrsFromDefinition("EPSG:25832")));
  EXPECT_TRUE(Window->Modified());
  EXPECT_EQ(Status(), "2 objects imported");
}

TEST_F(FileMenuDialogs, CancellingTheLayerChoiceOrThePickedLayerAddsNothing) {
  const host::THostProject& P = Host.Project();
  // Cancelled at the file's layers, after the layer and file were picked.
  EXPECT_EQ(Answers.Then("QDialog", PickLayer("Участки", "Участок"))
                .Then("QFileDialog", PickFile("town.gpkg"))
                .Then("QInputDialog", [](QDialog& D) { D.reject(); })
                .Run([&] { Trigger("FileImport"); }),
            QStringList());
  // Cancelled at the first question: no file is asked for.
  EXPECT_EQ(
      Answers.Then("QDialog", [](QDialog& D) { D.reject(); }).Run([&] { Trigger("FileImport"); }),
      QStringList());
  EXPECT_EQ(P.ObjectCount(), 0);
  EXPECT_TRUE(P.Crs.empty());
  EXPECT_FALSE(Window->Modified());

  // A failing import shows its error and adds nothing either.
  Write("bad.wkt", "LINESTRING (500000 6000000, 500010 6000000)\nLINESTRING (1 2,\n");
  QString Error;
  EXPECT_EQ(Answers.Then("QDialog", PickLayer("Улицы", "Улица"))
                .Then("QFileDialog", PickFile("bad.wkt"))
                .Then("QMessageBox", ReadBox(Error))
                .Run([&] { Trigger("FileImport"); }),
            QStringList());
  EXPECT_TRUE(Error.contains("bad.wkt, строка 2: WKT")) << qPrintable(Error);
  EXPECT_EQ(P.ObjectCount(), 0);
}

TEST_F(FileMenuDialogs, AnExportThatLosesArcsSaysSoAndCompletes) {
  ASSERT_EQ(
      Window->ImportFile(MakeID("PARCELS"), MakeID("AREA"), File("town.gpkg"), "parcels").size(),
      2u);
  QString Note;
  EXPECT_EQ(Answers.Then("QDialog", PickLayer("Участки"))
                .Then("QFileDialog", PickFile("parcels.geojson"))
                .Then("QMessageBox", ReadBox(Note))
                .Run([&] { Trigger("FileExport"); }),
            QStringList());
  EXPECT_TRUE(Note.contains("chords within 1 cm")) << qPrintable(Note);
  EXPECT_EQ(Status(), "Layer exported to " + File("parcels.geojson"));
  // The file is whole: both parcels, the arc's as chords of the same area.
  GDALDataset* Ds = static_cast<GDALDataset*>(GDALOpenEx(Path("parcels.geojson").c_str(),
                                                         GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                                         nullptr, nullptr));
  ASSERT_NE(Ds, nullptr);
  OGRLayer* L = Ds->GetLayer(0);
  ASSERT_NE(L, nullptr);
  std::size_t K = 0;
  for (auto& F : *L) {
    ASSERT_LT(K, host::test::Parcels().size());
    OGRGeometry* Source = nullptr;
    ASSERT_EQ(OGRGeometryFactory::createFromWkt(host::test::Parcels()[K].Wkt, nullptr, &Source),
              OGRERR_NONE);
    ASSERT_NE(F->GetGeometryRef(), nullptr);
    EXPECT_FALSE(F->GetGeometryRef()->hasCurveGeometry(TRUE));
    // Chords within 1 cm of a half circle of 31.4 m lose at most 0.314 m².
    EXPECT_NEAR(OgrArea(*F->GetGeometryRef()), OgrArea(*Source), 0.32);
    OGRGeometryFactory::destroyGeometry(Source);
    ++K;
  }
  EXPECT_EQ(K, host::test::Parcels().size());
  GDALClose(Ds);

  // A format that keeps arcs has nothing to say: no box shows.
  EXPECT_EQ(Answers.Then("QDialog", PickLayer("Участки"))
                .Then("QFileDialog", PickFile("parcels.gpkg"))
                .Run([&] { Trigger("FileExport"); }),
            QStringList());
  EXPECT_TRUE(QFileInfo::exists(File("parcels.gpkg")));
  EXPECT_EQ(Status(), "Layer exported to " + File("parcels.gpkg"));
}

}  // namespace
