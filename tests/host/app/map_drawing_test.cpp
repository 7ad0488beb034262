// The map view's drawing of the sample town: the picture kept and shifted
// after a pan is the picture a fresh drawing gives, and at a working scale
// the quick drawing (layer buckets, looked-up styles reused, dots for tiny
// objects) is the plain drawing of every object in its style.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "host/host_map_view.h"
#include "host/host_window.h"
#include "host/map_widget.h"
#include "host/project_file.h"
#include "host/test_host.h"

namespace {

using host::THostMapView;
using host::THostViewTransform;
using TRedraw = THostMapView::TMapRedraw;

// Pixels whose channels differ by more than Tolerance.
int Differing(const QImage& A, const QImage& B, int Tolerance = 0) {
  EXPECT_EQ(A.size(), B.size());
  int N = 0;
  for (int Y = 0; Y < A.height(); ++Y)
    for (int X = 0; X < A.width(); ++X) {
      const QRgb P = A.pixel(X, Y), Q = B.pixel(X, Y);
      if (std::abs(qRed(P) - qRed(Q)) > Tolerance || std::abs(qGreen(P) - qGreen(Q)) > Tolerance ||
          std::abs(qBlue(P) - qBlue(Q)) > Tolerance)
        ++N;
    }
  return N;
}

// Pixels that are not white: a picture that shows something.
int Inked(const QImage& A) {
  int N = 0;
  for (int Y = 0; Y < A.height(); ++Y)
    for (int X = 0; X < A.width(); ++X) N += A.pixel(X, Y) != qRgb(255, 255, 255);
  return N;
}

class MapDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.Project() = host::LoadProjectFile(host::THostWindow::SampleProject().toStdString());
  }
  // The view at T drawn whole.
  QImage Fresh(const THostViewTransform& T) {
    Host.View().SetTransform(T);
    EXPECT_TRUE(Host.View().Render());
    EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Full);
    return Host.View().Image().copy();
  }
  static THostViewTransform Moved(THostViewTransform T, int DX, int DY) {
    T.CenterX -= DX * T.MetresPerPixel;
    T.CenterY += DY * T.MetresPerPixel;
    return T;
  }

  host::TTestHost Host;
};

TEST_F(MapDrawing, ShiftedPictureIsTheFreshPictureAtEveryScale) {
  // A pan in every direction, by a few pixels and by most of the view, from
  // streets and parcels at a working scale to the whole town as dots; the
  // town's hatching must stay put on the map.
  //
  // Qt starts the pattern of a thin dashed line where the line enters the
  // picture, so a dashed outline across the view's edge has its dashes
  // where the view was when it was drawn: the pictures are compared with
  // such lines solid.
  for (const auto& ID : Host.Project().StyleOrder()) {
    host::THostStyle* Style = Host.Project().FindStyle(ID);
    if (Style->Pen.Style >= 1 && Style->Pen.Style <= 4) Style->Pen.Style = 0;
  }
  const int Pans[][2] = {{37, -23}, {-5, 0}, {0, 11}, {-180, 130}, {3, 3}, {250, -190}};
  for (const double M : {0.25, 1.0, 2.0, 6.0, 20.0}) {
    SCOPED_TRACE(M);
    THostViewTransform T{500350, 6000250, M, 320, 240};
    Fresh(T);
    for (const auto& Pan : Pans) {
      T = Moved(T, Pan[0], Pan[1]);
      Host.View().SetTransform(T);
      ASSERT_TRUE(Host.View().Render(true));
      ASSERT_EQ(Host.View().LastMapRedraw(), TRedraw::Shifted);
      const QImage Shifted = Host.View().Image().copy();
      const QImage Whole = Fresh(T);
      EXPECT_GT(Inked(Whole), 100);
      // The coordinates of a shifted picture and of a fresh one differ by
      // rounding only: no pixel differs by more than one level.
      EXPECT_EQ(Differing(Shifted, Whole, 1), 0) << Pan[0] << "," << Pan[1];
    }
  }
}

TEST_F(MapDrawing, PictureIsKeptOnlyWhileTheMapAndScaleStay) {
  THostViewTransform T{500350, 6000250, 1, 320, 240};
  const QImage First = Fresh(T);
  ASSERT_TRUE(Host.View().Render(true));
  EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Kept);
  EXPECT_EQ(Differing(Host.View().Image(), First), 0);

  // A zoom, a move by a part of a pixel or by more than the view, a new
  // layer order and an add-on's Invalidate each need the whole drawing.
  const auto Next = [&](const THostViewTransform& N) {
    Host.View().SetTransform(N);
    EXPECT_TRUE(Host.View().Render(true));
    return Host.View().LastMapRedraw();
  };
  T.MetresPerPixel = 0.8;
  EXPECT_EQ(Next(T), TRedraw::Full);
  T.CenterX += 0.3;
  EXPECT_EQ(Next(T), TRedraw::Full);
  EXPECT_EQ(Next(Moved(T, 320, 0)), TRedraw::Full);
  EXPECT_EQ(Next(Moved(Moved(T, 320, 0), 0, -240)), TRedraw::Full);
  Host.View().SetLayerOrder({host::MakeID("PARCELS")});
  EXPECT_EQ(Next(Host.View().Transform()), TRedraw::Full);
  ASSERT_EQ(Host.View().Invalidate(), S_OK);
  EXPECT_EQ(Next(Host.View().Transform()), TRedraw::Full);
  EXPECT_EQ(Next(Host.View().Transform()), TRedraw::Kept);
}

TEST_F(MapDrawing, AtAWorkingScaleEveryObjectIsDrawnInItsStyleInLayerOrder) {
  const THostViewTransform T{500300, 6000200, 0.5, 480, 360};
  const QImage Quick = Fresh(T);
  // The plain drawing: every object of every layer, bottom layer first,
  // each shape in its style, clipped by the painter alone.
  const host::THostProject& P = Host.Project();
  QImage Plain(T.Width, T.Height, QImage::Format_ARGB32_Premultiplied);
  Plain.fill(Qt::white);
  {
    QPainter Painter(&Plain);
    const QPointF Origin = T.ToDevice(0, 0);
    Painter.setBrushOrigin(QPoint(((std::lround(std::fmod(Origin.x(), 8.0)) % 8) + 8) % 8,
                                  ((std::lround(std::fmod(Origin.y(), 8.0)) % 8) + 8) % 8));
    for (const auto& M : P.Maps())
      for (const auto& L : P.Map(M).Layers)
        for (const host::THostMapObject* O : P.Objects(L))
          for (const host::THostShape& S : O->Shapes) {
            const host::THostStyle& Style = P.Style(S.StyleID);
            host::PaintParts(Painter, host::PartsOfCommands(S.Commands), host::PenState(Style.Pen),
                             host::BrushState(Style.Brush), T);
          }
  }
  EXPECT_GT(Inked(Plain), 1000);
  EXPECT_EQ(Differing(Quick, Plain), 0);
}

TEST_F(MapDrawing, WidgetShiftsItsPictureOnAPanAndDrawsAfreshWhenTheMapChanged) {
  host::TMapWidget Map(Host.Manager());
  Map.resize(300, 200);
  Map.show();
  QApplication::processEvents();
  Map.ZoomToRect({500100, 6000100, 500400, 6000300});
  Map.repaint();
  EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Full);
  Map.PanBy(QPoint(40, -15));
  Map.repaint();
  EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Shifted);
  Map.ZoomAt(QPointF(150, 100), 1.25);
  Map.repaint();
  EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Full);
  Map.MapChanged();
  Map.PanBy(QPoint(10, 0));
  Map.repaint();
  EXPECT_EQ(Host.View().LastMapRedraw(), TRedraw::Full);
}

}  // namespace
