// The main window's status bar: the cursor's map position while it is over
// the map and the view's centre, said as such, when it is not; the scale;
// the project's coordinate system by name. The map's tool tip: what lies
// under the cursor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>

#include "geomio/gdal/crs.h"
#include "host/app/host_window.h"
#include "host/app/map_widget.h"
#include "host/com/host_manager.h"
#include "tests/support/test_host.h"

namespace {

class StatusBar : public ::testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<host::THostWindow>(Host.Manager());
    Window->SetReporter([](const QString&) {});
    Window->OpenProject(host::THostWindow::SampleProject());
    Window->Window().show();
    QApplication::processEvents();
  }
  QString Text(const char* Label) const {
    const auto* L = Window->Window().findChild<QLabel*>(QString::fromLatin1(Label));
    return L ? L->text() : QStringLiteral("(no label)");
  }
  void MoveTo(QPoint P) {
    QMouseEvent E(QEvent::MouseMove, P, Window->Map().mapToGlobal(P), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&Window->Map(), &E);
  }

  host::TTestHost Host;
  std::unique_ptr<host::THostWindow> Window;
};

TEST_F(StatusBar, CursorOrCentreScaleAndCoordinateSystem) {
  const auto& T = Host.View().Transform();
  EXPECT_EQ(Text("CursorLabel"),
            QString("Centre X %1  Y %2").arg(T.CenterX, 0, 'f', 2).arg(T.CenterY, 0, 'f', 2));
  MoveTo(QPoint(40, 30));
  double X, Y;
  T.ToMap(40, 30, X, Y);
  EXPECT_EQ(Text("CursorLabel"), QString("X %1  Y %2").arg(X, 0, 'f', 2).arg(Y, 0, 'f', 2));
  // A pan under a cursor that stands still shows the map point now under
  // it; off the map the centre of the panned view shows.
  Window->Map().PanBy(QPoint(25, 0));
  EXPECT_EQ(Text("CursorLabel"),
            QString("X %1  Y %2").arg(X - 25 * T.MetresPerPixel, 0, 'f', 2).arg(Y, 0, 'f', 2));
  QEvent Leave(QEvent::Leave);
  QApplication::sendEvent(&Window->Map(), &Leave);
  EXPECT_EQ(Text("CursorLabel"),
            QString("Centre X %1  Y %2").arg(T.CenterX, 0, 'f', 2).arg(T.CenterY, 0, 'f', 2));
  EXPECT_TRUE(Text("CursorLabel").startsWith("Centre X 500"));

  Window->Map().ZoomToRect({500000, 6000000, 500100, 6000070});
  EXPECT_EQ(Text("ScaleLabel"), QString("1:%L1").arg(T.ScaleDenominator(), 0, 'f', 0));
  EXPECT_NE(Text("ScaleLabel"), QString("1:0"));

  // The sample town's own system; another shows by name once the map
  // changed, and a new project has none.
  EXPECT_EQ(Text("CrsLabel"), "ETRS89 / UTM zone 32N (EPSG:25832)");
  Host.Project().Crs = geomio::CrsFromDefinition("EPSG:25833");
  Window->Map().MapChanged();
  EXPECT_EQ(Text("CrsLabel"), "ETRS89 / UTM zone 33N (EPSG:25833)");
  Window->NewProject();
  EXPECT_EQ(Text("CrsLabel"), "No coordinate system");
}

TEST_F(StatusBar, TheToolTipNamesTheObjectItsLayerAndStyles) {
  host::TMapWidget& Map = Window->Map();
  Map.ZoomToRect({500040, 6000000, 500120, 6000070});
  const auto At = [&](double X, double Y) {
    return Map.DescribeAt(QtPoint(Host.View().Transform().ToDevice(X, Y)).toPoint()).toStdString();
  };
  // The small cross-hatched squares by the houses are sheds; a note is a
  // baseline in a style that defines no geometry, and carries no text. Every
  // object under the cursor is named, the topmost first: the shed stands on
  // its parcel, the note lies where two parcels meet.
  EXPECT_EQ(At(500067, 6000017),
            "B2 \u2014 Здания: Сарай\nP1 \u2014 Участки: Участок, Штриховка участка");
  EXPECT_EQ(At(500075, 6000058),
            "N1 \u2014 Надписи: Надпись\nP2 \u2014 Участки: Участок\n"
            "P1 \u2014 Участки: Участок, Штриховка участка");
  EXPECT_EQ(At(500050, 6000000), "R1 \u2014 Улицы: Главная улица, Название улицы");
  // Inside the ring road, away from its line and from every area.
  EXPECT_EQ(At(500078, 6000008), "") << "between a street and the parcels";
}

}  // namespace
