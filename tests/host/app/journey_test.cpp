// The whole application, run by a script offscreen with the real module: a
// street is selected, its buffer zone added on the pad, the zone traced by
// clicks and the new object created and exported; and a failing step names
// its line.
#include <unistd.h>

#include <gtest/gtest.h>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <cmath>
#include <numbers>

#include "addonlib/geometry/measures.h"
#include "geomio/enclosed_area.h"
#include "geomio/input_reader.h"
#include "tests/addonkit/qt_app.h"
#include "tests/support/two_style_project.h"

namespace {

// One straight street, 100 m along y = 6 000 000, and an empty layer for
// traced objects in an area style.
const std::string Project = host::test::TTwoStyleProject{.Name = "Journey",
                                                         .LineLayer = "STREETS",
                                                         .AreaLayer = "TRACED",
                                                         .AreaCaption = "Обрисованное",
                                                         .AreaStyleName = "Обрисовка",
                                                         .Objects = R"(
    {"id":"S1","layer":"STREETS","shapes":[
      {"style":"STREET","commands":[[1,500000.0,6000000.0],[2,500100.0,6000000.0]]}]})"}
                                .Json();

class JourneyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    Dir.setPath(QDir::tempPath() + "/trace-journey-" + QString::number(::getpid()));
    Dir.removeRecursively();
    ASSERT_TRUE(QDir().mkpath(Dir.path()));
    Env = QProcessEnvironment::systemEnvironment();
    Env.insert("QT_QPA_PLATFORM", "offscreen");
    Env.insert("TRACE_REGISTRY_FILE", Dir.filePath("registry.reg"));
    ASSERT_EQ(Run({"--register", TRACE_MODULE_PATH}), 0) << Errors.toStdString();
    Write("journey.json", QByteArray::fromStdString(Project));
  }
  void TearDown() override { Dir.removeRecursively(); }

  void Write(const QString& Name, const QByteArray& Text) {
    QFile F(Dir.filePath(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Text);
  }
  int Run(const QStringList& Args) {
    QProcess P;
    P.setProcessEnvironment(Env);
    P.start(TRACE_HOST_PATH, Args);
    if (!P.waitForFinished(120000)) {
      P.kill();
      return -1;
    }
    Errors = QString::fromUtf8(P.readAllStandardError());
    return P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1;
  }
  int RunScript(const QByteArray& Script) {
    Write("script.txt", Script);
    return Run({"--settings", Dir.filePath("settings.ini"), "--script", Dir.filePath("script.txt"),
                Dir.filePath("journey.json")});
  }

  QDir Dir;
  QProcessEnvironment Env;
  QString Errors;
};

TEST_F(JourneyTest, TraceAroundAStreetsZoneAndCreateTheObject) {
  // The zone of the street at width 10 is a stadium: the clicks at its four
  // corners go along the straight sides and around both half-circle ends.
  const int Code = RunScript(
      "resize 1000 700\n"
      "zoom 499970 5999960 500130 6000040\n"
      "select S1\n"
      "command Trace\n"
      "move Трассировка 600 400\n"
      "width 10\n"
      "press AddSelectedObjectsToBZListAction\n"
      "check CheckBoxTraceOn on\n"
      "check CheckBoxAlong on\n"
      "check CheckBoxCloseBy on\n"
      "click 500000 6000010\n"
      "click 500100 6000010\n"
      "click 500100 5999990\n"
      "click 500000 5999990\n"
      "click 500000 6000010\n"
      "screenshot tracing.png\n"
      "screenshot pad.png Трассировка\n"
      "search обр search.png\n"
      "style AREA chooser.png\n"
      "press CreateObjectAction\n"
      "expect objects TRACED 1\n"
      "export TRACED traced.wkt\n"
      "screenshot created.png\n");
  ASSERT_EQ(Code, 0) << Errors.toStdString();

  QFile Wkt(Dir.filePath("traced.wkt"));
  ASSERT_TRUE(Wkt.open(QIODevice::ReadOnly));
  const auto Geometries = geomio::ReadInput(Wkt.readAll().toStdString());
  ASSERT_EQ(Geometries.size(), 1u);
  const geo::TContour& C = Geometries[0].Contour;
  EXPECT_GE(C.ArcCount(), 2) << "the ends stay arcs";
  // Straight sides and two half discs; chords in place of the arcs would
  // fall short by far more than the tolerance.
  EXPECT_NEAR(geomio::EnclosedArea(C), 100 * 20 + std::numbers::pi * 100, 1e-6);
  geo::TDRect B;
  ASSERT_TRUE(geo::GetBounds(C, B));
  EXPECT_NEAR(B.X1, 499990, 1e-6);
  EXPECT_NEAR(B.X2, 500110, 1e-6);
  EXPECT_NEAR(B.Y1, 5999990, 1e-6);
  EXPECT_NEAR(B.Y2, 6000010, 1e-6);

  // The pad alone is far smaller than the application; the dialogs are
  // taken over it.
  EXPECT_LT(QImage(Dir.filePath("pad.png")).width(), 600);
  for (const char* Name : {"tracing.png", "created.png", "pad.png", "search.png", "chooser.png"}) {
    const QImage Shot(Dir.filePath(Name));
    ASSERT_FALSE(Shot.isNull()) << Name;
    if (QString(Name) != "pad.png") {
      EXPECT_GE(Shot.width(), 1000) << Name;
    }
    QSet<QRgb> Colours;
    for (int Y = 0; Y < Shot.height(); Y += 3)
      for (int X = 0; X < Shot.width(); X += 3) Colours.insert(Shot.pixel(X, Y));
    EXPECT_GT(Colours.size(), 20) << Name << " is blank";
  }
}

// A button pressed by its tool tip, and a click with Ctrl held, which takes
// the other way round the stadium: from its top left to its top right
// corner around both ends and along the bottom, not along the top.
TEST_F(JourneyTest, ScriptsPressByToolTipAndClickWithCtrl) {
  ASSERT_EQ(RunScript("resize 1000 700\nzoom 499970 5999960 500130 6000040\nselect S1\n"
                      "command Trace\nwidth 10\n"
                      "press \"Добавить буферную зону к выделенному контуру\"\n"
                      "check CheckBoxTraceOn on\ncheck CheckBoxAlong on\n"
                      "check CheckBoxCloseBy on\n"
                      "click 500000 6000010\nclick 500100 6000010 ctrl\nstyle AREA\n"
                      "press CreateObjectAction\nexport TRACED traced.wkt\n"),
            0)
      << Errors.toStdString();
  QFile Wkt(Dir.filePath("traced.wkt"));
  ASSERT_TRUE(Wkt.open(QIODevice::ReadOnly));
  const auto Geometries = geomio::ReadInput(Wkt.readAll().toStdString());
  ASSERT_EQ(Geometries.size(), 1u);
  geo::TDRect B;
  ASSERT_TRUE(geo::GetBounds(Geometries[0].Contour, B));
  EXPECT_NEAR(B.Y1, 5999990, 1e-6);
  EXPECT_NEAR(B.X1, 499990, 1e-6);
}

TEST_F(JourneyTest, AFailingStepEndsTheRunWithItsLine) {
  EXPECT_EQ(RunScript("# a comment\nselect S1\npress NoSuchAction\nselect S1\n"), 1);
  EXPECT_TRUE(Errors.contains("script.txt:3: no action or button \"NoSuchAction\""))
      << Errors.toStdString();
  EXPECT_EQ(RunScript("select S9\n"), 1);
  EXPECT_TRUE(Errors.contains("script.txt:1:")) << Errors.toStdString();
  EXPECT_EQ(RunScript("click 1 2\n"), 1) << "a point off the view is refused";
  EXPECT_TRUE(Errors.contains("outside the map view")) << Errors.toStdString();
  EXPECT_EQ(RunScript("select S1\nscreenshot pad.png Трассировка\n"), 1);
  EXPECT_TRUE(Errors.contains("script.txt:2: no open window")) << Errors.toStdString();
  EXPECT_EQ(RunScript("search улиц\n"), 1) << "a search is only taken as a picture";
  EXPECT_TRUE(Errors.contains("script.txt:1: wrong number of arguments")) << Errors.toStdString();
}

// A settings file that cannot be read (a key line taken for a section
// header) is told once; the add-on runs on its defaults.
TEST_F(JourneyTest, ADamagedSettingsFileIsToldOnceAndTraceRuns) {
  Write("settings.ini", "[User]\n[k=1\n");
  EXPECT_EQ(RunScript("select S1\ncommand Trace\nwidth 10\n"
                      "press AddSelectedObjectsToBZListAction\n"),
            0)
      << Errors.toStdString();
  EXPECT_EQ(Errors.count("settings.ini, строка 2"), 1) << Errors.toStdString();
}

// A registry that cannot be written: the failure names the file and why.
TEST_F(JourneyTest, AFailedRegistrationNamesTheRegistryFile) {
  ASSERT_TRUE(QDir().mkpath(Dir.filePath("locked")));
  QFile::setPermissions(Dir.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  Env.insert("TRACE_REGISTRY_FILE", Dir.filePath("locked/registry.reg"));
  EXPECT_EQ(Run({"--register", TRACE_MODULE_PATH}), 1);
  EXPECT_TRUE(Errors.contains("registration failed: Cannot write " +
                              Dir.filePath("locked/registry.reg") + ": Permission denied"))
      << Errors.toStdString();
}

}  // namespace
