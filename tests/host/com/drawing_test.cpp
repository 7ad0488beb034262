// The drawing objects as an add-on reaches them from IOrvexApplication:
// paint contours and their parts, the surface's pen and brush, and what a
// DrawContour call leaves on the view's image and in its records.
#include <gtest/gtest.h>

#include "compat/com_ptr.h"
#include "host/model/small_project.h"
#include "tests/support/test_host.h"

namespace {

using compat::TComPtr;

const double X0 = 500000, Y0 = 6000000;

class HostDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    App = Host.Query<kx::IOrvexApplication>(kx::IID_IOrvexApplication);
    ASSERT_TRUE(App);
    Host.View().SetTransform({X0, Y0, 0.1, 400, 300});
  }
  void TearDown() override {
    App.Reset();
    EXPECT_EQ(Host.Manager().OutstandingReferences(), 0);
  }

  // The surface as the add-on finds it: application [0], then [1], then [0].
  TComPtr<kx::IOrvexCanvas> Canvas() {
    TComPtr<kx::IOrvexDocument> Doc;
    TComPtr<kx::IOrvexMapView> View;
    TComPtr<kx::IOrvexCanvas> C;
    EXPECT_EQ(App->GetActiveDocument(Doc.Out()), S_OK);
    EXPECT_EQ(Doc->GetMapView(View.Out()), S_OK);
    EXPECT_EQ(View->GetCanvas(C.Out()), S_OK);
    return C;
  }
  TComPtr<kx::IOrvexContour> NewContour() {
    VARIANT Empty;
    VariantInit(&Empty);
    TComPtr<IDispatch> D;
    EXPECT_EQ(App->CreateContour(0, Empty, D.Out()), S_OK);
    TComPtr<kx::IOrvexContour> C;
    EXPECT_EQ(D->QueryInterface(kx::IID_IOrvexContour, C.OutVoid()), S_OK);
    return C;
  }

  host::TTestHost Host;
  TComPtr<kx::IOrvexApplication> App;
};

TEST_F(HostDrawing, PaintContourPartsHoldVerticesAndClosing) {
  auto C = NewContour();
  TComPtr<kx::IOrvexContourPart> A, B, First;
  ASSERT_EQ(C->AddPart(-1, A.Out()), S_OK);
  ASSERT_EQ(C->AddPart(0, B.Out()), S_OK);  // before A
  std::int32_t N = 0;
  ASSERT_EQ(C->GetPartCount(&N), S_OK);
  EXPECT_EQ(N, 2);
  EXPECT_EQ(A->InsertVertex(-1, 1, 2, 0), S_OK);
  EXPECT_EQ(A->InsertVertex(-1, 5, 6, 0.5), S_OK);
  EXPECT_EQ(A->InsertVertex(1, 3, 4, 0), S_OK);  // between
  EXPECT_EQ(A->SetVertex(0, 1, 2, -0.25), S_OK);
  EXPECT_EQ(A->SetClosed(-1), S_OK);
  EXPECT_EQ(A->InsertVertex(5, 0, 0, 0), E_INVALIDARG);
  EXPECT_EQ(A->SetVertex(3, 0, 0, 0), E_INVALIDARG);
  EXPECT_EQ(A->InsertVertex(-1, NAN, 0, 0), E_INVALIDARG);
  // The part handed out by GetPart is the same part.
  ASSERT_EQ(C->GetPart(1, First.Out()), S_OK);
  double X, Y, K;
  ASSERT_EQ(First->GetVertex(1, &X, &Y, &K), S_OK);
  EXPECT_EQ(X, 3);
  EXPECT_EQ(Y, 4);
  ASSERT_EQ(First->GetVertex(2, &X, &Y, &K), S_OK);
  EXPECT_EQ(K, 0.5);
  EXPECT_EQ(First->GetVertex(3, &X, &Y, &K), E_INVALIDARG);
  EXPECT_EQ(C->GetPart(2, First.Out()), E_INVALIDARG);

  // Drawing it records both parts as they stand.
  ASSERT_EQ(Canvas()->DrawContour(C.Get(), -1), S_OK);
  ASSERT_EQ(Host.View().DrawLog().size(), 1u);
  const auto& Parts = Host.View().DrawLog()[0].Parts;
  ASSERT_EQ(Parts.size(), 2u);
  EXPECT_TRUE(Parts[0].Vertices.empty());
  const std::vector<host::THostPaintVertex> Expected = {{1, 2, -0.25}, {3, 4, 0}, {5, 6, 0.5}};
  EXPECT_EQ(Parts[1].Vertices, Expected);
  EXPECT_TRUE(Parts[1].Closed);
  EXPECT_EQ(Host.View().DrawLog()[0].Mode, -1);

  VARIANT Empty;
  VariantInit(&Empty);
  TComPtr<IDispatch> D;
  EXPECT_EQ(App->CreateContour(1, Empty, D.Out()), E_INVALIDARG);
}

TEST_F(HostDrawing, PenAndBrushReachTheImageAndTheRecord) {
  auto Surface = Canvas();
  TComPtr<kx::IOrvexPen> Pen;
  TComPtr<kx::IOrvexBrush> Brush;
  ASSERT_EQ(Surface->GetPen(Pen.Out()), S_OK);
  ASSERT_EQ(Surface->GetBrush(Brush.Out()), S_OK);
  // A blue outline, 1 mm, around a solid red square.
  Pen->SetStyle(0);
  Pen->SetWidth(1.0);
  Pen->SetWidthScale(0);
  Pen->SetColor(0xFF0000);
  Pen->SetMode(4);
  Brush->SetStyle(0);
  Brush->SetBackColor(0x0000FF);
  Brush->SetHatchColor(0);
  Brush->SetTransparency(0);

  Host.Picture().Image().fill(Qt::white);
  auto C = NewContour();
  TComPtr<kx::IOrvexContourPart> P;
  ASSERT_EQ(C->AddPart(-1, P.Out()), S_OK);
  // 10 m square north-east of the centre: pixels 200..300 right, 50..150 down.
  for (auto [X, Y] : {std::pair{0.0, 0.0}, {0.0, 10.0}, {10.0, 10.0}, {10.0, 0.0}})
    P->InsertVertex(-1, X0 + X, Y0 + Y, 0);
  P->SetClosed(-1);
  ASSERT_EQ(Surface->DrawContour(C.Get(), -1), S_OK);

  const QImage& Img = Host.Picture().Image();
  EXPECT_EQ(QColor(Img.pixel(250, 100)), QColor(255, 0, 0));  // inside: the back colour
  EXPECT_EQ(QColor(Img.pixel(200, 100)), QColor(0, 0, 255));  // on the west edge: the pen
  EXPECT_EQ(QColor(Img.pixel(150, 100)), QColor(Qt::white));  // outside
  EXPECT_EQ(QColor(Img.pixel(250, 200)), QColor(Qt::white));  // south of it

  const auto& R = Host.View().DrawLog().back();
  EXPECT_EQ(R.Pen, (host::THostPenState{0, 1.0, 0, 0xFF0000, 4}));
  EXPECT_EQ(R.Brush, (host::THostBrushState{0, 0x0000FF, 0, 0}));

  // The scale: 0.1 m a pixel at 96 dpi is 1:377.95...; a 0.002 m mark is
  // 0.002 / scale metres, about 7.6 pixels.
  TComPtr<IDispatch> Viewport;
  double Scale = 0;
  ASSERT_EQ(Surface->GetScale(Viewport.Out(), &Scale), S_OK);
  EXPECT_NEAR(0.002 / Scale / 0.1, 0.002 / 0.0254 * 96, 1e-9);
  auto* V = static_cast<kx::IOrvexViewport*>(Viewport.Get());
  EXPECT_EQ(V->Operation10(), S_OK);
  EXPECT_EQ(Host.Manager().Application().Canvas().Viewport().Operation10Count(), 1);
}

TEST_F(HostDrawing, ArcsAreDrawnAsArcs) {
  auto Surface = Canvas();
  TComPtr<kx::IOrvexPen> Pen;
  ASSERT_EQ(Surface->GetPen(Pen.Out()), S_OK);
  Pen->SetColor(0x000000);
  Pen->SetWidth(0.5);
  Pen->SetStyle(0);
  TComPtr<kx::IOrvexBrush> Brush;
  ASSERT_EQ(Surface->GetBrush(Brush.Out()), S_OK);
  Brush->SetStyle(1);
  Host.Picture().Image().fill(Qt::white);
  // Half circle west to east, counter-clockwise: it passes 10 m south of
  // the centre, 100 pixels below it; the chord itself is not drawn.
  auto C = NewContour();
  TComPtr<kx::IOrvexContourPart> P;
  ASSERT_EQ(C->AddPart(-1, P.Out()), S_OK);
  P->InsertVertex(-1, X0 - 10, Y0, 0);
  P->InsertVertex(-1, X0 + 10, Y0, 1);
  ASSERT_EQ(Surface->DrawContour(C.Get(), -1), S_OK);
  const QImage& Img = Host.Picture().Image();
  EXPECT_LT(qGray(Img.pixel(200, 250)), 128);
  EXPECT_EQ(QColor(Img.pixel(200, 150)), QColor(Qt::white));
  EXPECT_EQ(QColor(Img.pixel(200, 50)), QColor(Qt::white));
}

TEST_F(HostDrawing, RenderDrawsTheMapThenTheEditor) {
  host::AddSmallProject(Host.Project());
  Host.View().SetTransform({X0 + 35, Y0 + 40, 0.25, 400, 300});
  ASSERT_TRUE(Host.View().Render());
  const QImage& Img = Host.Picture().Image();
  // Inside parcel "2" (outer 10..60, hole 25..45): its fill; in the hole: white.
  const QPointF In = QtPoint(Host.View().Transform().ToDevice(X0 + 15, Y0 + 40));
  const QPointF Hole = QtPoint(Host.View().Transform().ToDevice(X0 + 35, Y0 + 40));
  EXPECT_EQ(QColor(Img.pixel(In.toPoint())), host::HostColor(0xE0F0E0));
  EXPECT_EQ(QColor(Img.pixel(Hole.toPoint())), QColor(Qt::white));
  EXPECT_TRUE(Host.View().DrawLog().empty());  // the map is not the drawing objects' work
}

}  // namespace
