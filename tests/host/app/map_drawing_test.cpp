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

#include "host/app/host_window.h"
#include "host/app/map_widget.h"
#include "host/com/host_map_picture.h"
#include "host/model/project_file.h"
#include "tests/support/test_host.h"

namespace {

using host::THostMapView;
using host::THostViewTransform;
using TRedraw = host::THostMapPicture::TMapRedraw;

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
    EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Full);
    return Host.Picture().Image().copy();
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
    host::THostStyle* Style = Host.Project().EditStyle(ID);
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
      ASSERT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Shifted);
      const QImage Shifted = Host.Picture().Image().copy();
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
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Kept);
  EXPECT_EQ(Differing(Host.Picture().Image(), First), 0);

  // A zoom, a move by a part of a pixel or by more than the view, a new
  // layer order and an add-on's Invalidate each need the whole drawing.
  const auto Next = [&](const THostViewTransform& N) {
    Host.View().SetTransform(N);
    EXPECT_TRUE(Host.View().Render(true));
    return Host.Picture().LastMapRedraw();
  };
  T.MetresPerPixel = 0.8;
  EXPECT_EQ(Next(T), TRedraw::Full);
  T.CenterX += 0.3;
  EXPECT_EQ(Next(T), TRedraw::Full);
  EXPECT_EQ(Next(Moved(T, 320, 0)), TRedraw::Full);
  EXPECT_EQ(Next(Moved(Moved(T, 320, 0), 0, -240)), TRedraw::Full);
  Host.View().SetLayerOrder({host::MakeID("PARCELS")});
  EXPECT_EQ(Next(Host.View().Transform()), TRedraw::Full);
  EXPECT_EQ(Next(Host.View().Transform()), TRedraw::Kept);
}

// An editor invalidates the view as the mouse moves: the map is redrawn only
// when something drawn on it changed, whichever way it changed, and what the
// change made shows at once.
TEST_F(MapDrawing, InvalidateRedrawsTheMapOnlyAfterTheProjectChanged) {
  using namespace host;
  auto Objects = Host.Query<kx::IKxMapObjects>(kx::IID_IKxMapObjects);
  auto View = Host.Query<kx::IKxMapView>(kx::IID_IKxMapView);
  ASSERT_TRUE(Objects && View);
  // The ring road's south-west corner and empty land west of the town.
  const THostViewTransform T{499930, 6000000, 0.5, 320, 240};
  const double MX = 499880, MY = 6000020;  // where the new object goes
  const auto Pixel = [&](double X, double Y) {
    const QPointF P = QtPoint(T.ToDevice(X, Y));
    return Host.Picture().Image().pixel(static_cast<int>(P.x()), static_cast<int>(P.y()));
  };
  const auto Redraw = [&] {
    EXPECT_EQ(View->Invalidate(), S_OK);
    EXPECT_TRUE(Host.View().Render(true));
    return Host.Picture().LastMapRedraw();
  };
  // After a change the map is drawn whole, as a fresh drawing of the
  // changed map, and then kept again.
  const auto RedrawnAsFresh = [&](const char* What) {
    SCOPED_TRACE(What);
    EXPECT_EQ(Redraw(), TRedraw::Full);
    const QImage After = Host.Picture().Image().copy();
    EXPECT_EQ(Differing(After, Fresh(T)), 0);
    EXPECT_EQ(Redraw(), TRedraw::Kept);
  };
  const QImage Before = Fresh(T);
  EXPECT_GT(Inked(Before), 100);
  for (int I = 0; I < 3; ++I) EXPECT_EQ(Redraw(), TRedraw::Kept);
  EXPECT_EQ(Differing(Host.Picture().Image(), Before), 0);
  ASSERT_EQ(Pixel(MX, MY), qRgb(255, 255, 255));

  // A layer and a style of its own, red, as a project's editor adds them.
  const TKxID Layer = MakeID("MARKS"), Style = MakeID("MARK");
  Host.Project().AddStyle({.ID = Style,
                           .Name = "Mark",
                           .Area = true,
                           .Pen = {0, 0.5, 0, 0x0000FF, 4},
                           .Brush = {0, 0x0000FF, 0, 0},
                           .Layers = {}});
  RedrawnAsFresh("style added");
  Host.Project().AddLayer(Host.Project().Maps().front(), Layer, "Marks");
  RedrawnAsFresh("layer added");
  Host.Project().AttachStyle(Layer, Style);
  RedrawnAsFresh("style attached");

  // An object the add-on creates, as a trace becomes one.
  compat::TComPtr<kx::IKxContour> C;
  ASSERT_EQ(Objects->NewContour(C.Out()), S_OK);
  for (const auto& Cmd : {HostMoveTo(MX - 10, MY - 10), HostLineTo(MX + 10, MY - 10),
                          HostLineTo(MX + 10, MY + 10), HostLineTo(MX - 10, MY + 10), HostClose()})
    ASSERT_EQ(C->AddCommand(&Cmd), S_OK);
  compat::TComPtr<kx::IKxShapeList> Shapes;
  ASSERT_EQ(Objects->NewShapeList(Shapes.Out()), S_OK);
  ASSERT_EQ(Shapes->AddShape(C.Get(), &Style), S_OK);
  TKxID Created;
  ASSERT_EQ(Objects->CreateObject(&Layer, Shapes.Get(), &Created), S_OK);
  RedrawnAsFresh("object created");
  EXPECT_EQ(Pixel(MX, MY), HostColor(0x0000FF).rgb());

  // A contour handed out is the object's copy: changing it changes neither
  // the object nor the map.
  compat::TComPtr<kx::IKxShapeList> Read;
  ASSERT_EQ(Objects->GetObjectShapes(&Created, Read.Out()), S_OK);
  compat::TComPtr<kx::IKxContour> Copy;
  ASSERT_EQ(Read->GetShapeContour(0, Copy.Out()), S_OK);
  ASSERT_EQ(Copy->Clear(), S_OK);
  EXPECT_EQ(Host.Project().Object(Created).Shapes[0].Commands.size(), 5u);
  EXPECT_EQ(Redraw(), TRedraw::Kept);
  EXPECT_EQ(Pixel(MX, MY), HostColor(0x0000FF).rgb());

  // The style changed in place: blue.
  THostStyle* Edited = Host.Project().EditStyle(Style);
  ASSERT_NE(Edited, nullptr);
  Edited->Brush.BackColor = 0xFF0000;
  RedrawnAsFresh("style edited");
  EXPECT_EQ(Pixel(MX, MY), HostColor(0xFF0000).rgb());

  // Hidden with its layer, shown again, then removed.
  std::vector<TKxID> Order;
  for (const TKxID& M : Host.Project().Maps())
    for (const TKxID& L : Host.Project().Map(M).Layers)
      if (!(L == Layer)) Order.push_back(L);
  Host.View().SetLayerOrder(Order);
  EXPECT_EQ(Redraw(), TRedraw::Full);
  EXPECT_EQ(Pixel(MX, MY), qRgb(255, 255, 255));
  Order.push_back(Layer);
  Host.View().SetLayerOrder(Order);
  EXPECT_EQ(Redraw(), TRedraw::Full);
  EXPECT_EQ(Pixel(MX, MY), HostColor(0xFF0000).rgb());
  ASSERT_TRUE(Host.Project().RemoveObject(Created));
  RedrawnAsFresh("object removed");
  EXPECT_EQ(Pixel(MX, MY), qRgb(255, 255, 255));

  // A pan after a change is no shift of the old picture.
  Host.Project().AddObject(
      Layer,
      {{Style,
        {HostMoveTo(MX, MY), HostLineTo(MX + 5, MY), HostLineTo(MX + 5, MY + 5), HostClose()}}});
  Host.View().SetTransform(Moved(T, 12, -7));
  EXPECT_TRUE(Host.View().Render(true));
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Full);
  Host.View().SetTransform(T);

  // Another project in its place, however alike, is drawn afresh, and so
  // is this one when it comes back.
  THostProject Old = std::move(Host.Project());
  Host.Project() = LoadProjectFile(THostWindow::SampleProject().toStdString());
  EXPECT_EQ(Redraw(), TRedraw::Full);
  EXPECT_EQ(Differing(Host.Picture().Image(), Before), 0);
  Host.Project() = std::move(Old);
  EXPECT_EQ(Redraw(), TRedraw::Full);
  EXPECT_EQ(Redraw(), TRedraw::Kept);
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
    const QPointF Origin = QtPoint(T.ToDevice(0, 0));
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
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Full);
  Map.PanBy(QPoint(40, -15));
  Map.repaint();
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Shifted);
  Map.ZoomAt(QPointF(150, 100), 1.25);
  Map.repaint();
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Full);
  Map.MapChanged();
  Map.PanBy(QPoint(10, 0));
  Map.repaint();
  EXPECT_EQ(Host.Picture().LastMapRedraw(), TRedraw::Full);
}

}  // namespace
