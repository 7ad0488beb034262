// The main window's project handling: open, import, export, save, the
// unsaved-changes state, and failures that change nothing.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>

#include "geomio/gdal/crs.h"
#include "host/app/host_window.h"
#include "host/app/layer_panel.h"
#include "host/app/map_widget.h"
#include "host/com/host_manager.h"
#include "host/com/host_values.h"
#include "host/model/host_contour.h"
#include "host/model/small_project.h"
#include "tests/support/test_host.h"

namespace {

using host::MakeID;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<host::THostWindow>(Host.Manager());
    Window->SetReporter([this](const QString& Text) { Reports << Text; });
  }
  QString File(const QString& Name) const { return Dir.filePath(Name); }
  void Write(const QString& Name, const QByteArray& Text) {
    QFile F(File(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Text);
  }

  host::TTestHost Host;
  QTemporaryDir Dir;
  std::unique_ptr<host::THostWindow> Window;
  QStringList Reports;
};

// An object an add-on creates is selected and named in the status bar.
TEST_F(WindowTest, ACreatedObjectIsSelectedAndNamed) {
  host::AddSmallProject(Host.Project());
  auto List = host::MakeValue<host::THostShapeList>(Host.Manager().Context());
  auto Contour = host::MakeValue<host::THostContour>(Host.Manager().Context());
  for (const auto& C : {host::HostMoveTo(500100, 6000100), host::HostLineTo(500150, 6000100)})
    ASSERT_EQ(Contour->AddCommand(&C), S_OK);
  const kx::TKxID Style = MakeID("S1"), Layer = MakeID("L1");
  ASSERT_EQ(List->AddShape(Contour.Get(), &Style), S_OK);
  kx::TKxID New;
  ASSERT_EQ(Host.Manager().MapObjects().CreateObject(&Layer, List.Get(), &New), S_OK);
  QApplication::processEvents();
  EXPECT_EQ(Host.View().Selection(), std::vector<kx::TKxID>{New});
  EXPECT_EQ(Window->Window().statusBar()->currentMessage(),
            QString("Object %1 created in layer Улицы").arg(QString::fromStdString(New.ToUtf8())));
}

TEST_F(WindowTest, OpenImportExportSaveAndTheUnsavedState) {
  Window->OpenProject(host::THostWindow::SampleProject());
  const auto Count = Host.Project().ObjectCount();
  ASSERT_GT(Count, 100);
  EXPECT_FALSE(Window->Modified());
  EXPECT_GT(Window->Layers().DrawOrder().size(), 3u);

  Write("in.wkt",
        "LINESTRING (500000 6000700, 500050 6000700)\n"
        "CIRCULARSTRING (500000 6000710, 500025 6000735, 500050 6000710)\n");
  const auto IDs = Window->ImportFile(MakeID("ROADS"), MakeID("ROAD_LANE"), File("in.wkt"));
  EXPECT_EQ(IDs.size(), 2u);
  EXPECT_EQ(Host.Project().ObjectCount(), Count + 2);
  EXPECT_TRUE(Window->Modified());
  EXPECT_EQ(Host.View().Selection(), IDs) << "what came in is selected";

  // A bad line adds nothing.
  Write("bad.wkt", "LINESTRING (500000 6000700, 500050 6000700)\nLINESTRING (1 2,\n");
  EXPECT_THROW(Window->ImportFile(MakeID("ROADS"), MakeID("ROAD_LANE"), File("bad.wkt")),
               std::exception);
  EXPECT_EQ(Host.Project().ObjectCount(), Count + 2);

  Window->SaveProject(File("saved.json"));
  EXPECT_FALSE(Window->Modified());
  EXPECT_EQ(Window->ProjectPath(), QFileInfo(File("saved.json")).absoluteFilePath());

  // An object an add-on creates counts as a change.
  Host.Project().AddObject(MakeID("ROADS"), Host.Project().Object(IDs[0]).Shapes);
  EXPECT_TRUE(Window->Modified());

  Window->ExportLayer(MakeID("ROADS"), File("roads.wkt"));
  QFile Out(File("roads.wkt"));
  ASSERT_TRUE(Out.open(QIODevice::ReadOnly));
  const QString Text = QString::fromUtf8(Out.readAll());
  EXPECT_EQ(Text.count('\n'), static_cast<int>(Host.Project().Objects(MakeID("ROADS")).size()));
  EXPECT_TRUE(Text.contains("CIRCULARSTRING (500000 6000710, 500025 6000735, 500050 6000710)"));

  Window->OpenProject(File("saved.json"));
  EXPECT_EQ(Host.Project().ObjectCount(), Count + 2);
  EXPECT_FALSE(Window->Modified());
  EXPECT_TRUE(Reports.isEmpty()) << qPrintable(Reports.join('\n'));
}

TEST_F(WindowTest, TheSampleTownTakesGisDataInItsOwnSystemOnly) {
  Window->OpenProject(host::THostWindow::SampleProject());
  const host::THostProject& P = Host.Project();
  const std::string Utm32 = geomio::CrsFromDefinition("EPSG:25832");
  EXPECT_TRUE(geomio::SameCrs(P.Crs, Utm32));
  const auto Count = P.ObjectCount();
  const QString Data =
      QFileInfo(host::THostWindow::SampleProject()).dir().filePath("map_objects.geojson");
  EXPECT_EQ(Window->ImportFile(MakeID("ROADS"), MakeID("ROAD_LANE"), Data).size(), 3u);
  EXPECT_TRUE(geomio::SameCrs(P.Crs, Utm32));

  // The same file said to be in the next zone is refused, adding nothing.
  QFile In(Data);
  ASSERT_TRUE(In.open(QIODevice::ReadOnly));
  QByteArray Text = In.readAll();
  ASSERT_TRUE(Text.contains("EPSG::25832"));
  Write("zone33.geojson", Text.replace("EPSG::25832", "EPSG::25833"));
  try {
    Window->ImportFile(MakeID("ROADS"), MakeID("ROAD_LANE"), File("zone33.geojson"));
    ADD_FAILURE() << "imported";
  } catch (const std::exception& E) {
    const std::string Message = E.what();
    EXPECT_NE(Message.find("(EPSG:25833)"), std::string::npos) << Message;
    EXPECT_NE(Message.find("(EPSG:25832)"), std::string::npos) << Message;
  }
  EXPECT_EQ(P.ObjectCount(), Count + 3);
  EXPECT_TRUE(geomio::SameCrs(P.Crs, Utm32));

  // Saved and opened again, the system stays.
  Window->SaveProject(File("town.json"));
  Window->OpenProject(File("town.json"));
  EXPECT_TRUE(geomio::SameCrs(P.Crs, Utm32));
}

TEST_F(WindowTest, ADamagedProjectOrAnUnknownIDChangesNothing) {
  Window->OpenProject(host::THostWindow::SampleProject());
  Window->Select({MakeID("R1")});
  const auto Count = Host.Project().ObjectCount();
  const QString Path = Window->ProjectPath();
  Write("damaged.json", "{\"format\": \"trace-host-project\", \"version\": 1,");
  EXPECT_THROW(Window->OpenProject(File("damaged.json")), std::exception);
  EXPECT_EQ(Host.Project().ObjectCount(), Count);
  EXPECT_EQ(Window->ProjectPath(), Path);
  EXPECT_THROW(Window->Select({MakeID("R2"), MakeID("NOPE")}), std::exception);
  ASSERT_EQ(Host.View().Selection().size(), 1u);
  EXPECT_EQ(Host.View().Selection()[0].ToUtf8(), "R1");
  EXPECT_THROW(Window->ExportLayer(MakeID("NOPE"), File("x.wkt")), std::exception);
  EXPECT_FALSE(QFile::exists(File("x.wkt")));
}

}  // namespace
