// The map widget: selection by click and band, zoom and pan, layers shown
// in their order, and an installed editor getting the mouse and the paint.
#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "host/app/map_widget.h"
#include "host/com/host_manager.h"
#include "host/model/project_file.h"
#include "tests/support/test_host.h"

namespace {

using host::MakeID;

// Two filled squares overlapping in (10..20, 10..20), each in its own layer
// (A under B), and a line in A, all near (500 000, 6 000 000).
const char* const Project = R"({
  "format": "trace-host-project", "version": 1, "name": "T",
  "styles": [
    {"id":"RED","name":"Red","flags":1,"value1":0,"value2":0,"area":true,
     "pen":{"style":0,"width":0.2,"forZoomScale":0.0,"color":255,"mode":4},
     "brush":{"style":0,"backColor":255,"hatchColor":0,"transparency":1}},
    {"id":"GREEN","name":"Green","flags":1,"value1":0,"value2":0,"area":true,
     "pen":{"style":0,"width":0.2,"forZoomScale":0.0,"color":65280,"mode":4},
     "brush":{"style":0,"backColor":65280,"hatchColor":0,"transparency":1}},
    {"id":"LINE","name":"Line","flags":1,"value1":0,"value2":0,"area":false,
     "pen":{"style":0,"width":0.3,"forZoomScale":0.0,"color":0,"mode":4},
     "brush":{"style":1,"backColor":16777215,"hatchColor":0,"transparency":1}}
  ],
  "maps": [{"id":"M","name":"M","layers":[
    {"id":"A","caption":"A","styles":["RED","LINE"]},
    {"id":"B","caption":"B","styles":["GREEN"]}]}],
  "objects": [
    {"id":"SA","layer":"A","shapes":[{"style":"RED","commands":
      [[1,500000,6000000],[2,500020,6000000],[2,500020,6000020],[2,500000,6000020],[4]]}]},
    {"id":"SB","layer":"B","shapes":[{"style":"GREEN","commands":
      [[1,500010,6000010],[2,500030,6000010],[2,500030,6000030],[2,500010,6000030],[4]]}]},
    {"id":"LN","layer":"A","shapes":[{"style":"LINE","commands":
      [[1,500000,6000040],[2,500030,6000040]]}]}
  ]
})";

class MapWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.Project() = host::ProjectFromJson(Project);
    Map = std::make_unique<host::TMapWidget>(Host.Manager());
    Map->resize(400, 400);
    Map->show();
    QApplication::processEvents();
    // 0.1 m a pixel, (500015, 6000020) in the middle.
    Map->ZoomToRect({499995, 6000000, 500035, 6000040});
    Map->SetOnSelectionChanged([this] { ++SelectionChanges; });
  }
  QPoint At(double X, double Y) {
    return QtPoint(Host.View().Transform().ToDevice(X, Y)).toPoint();
  }
  void Mouse(QEvent::Type Type, QPoint P, Qt::MouseButton B, Qt::KeyboardModifiers K = {}) {
    const Qt::MouseButtons Held =
        Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(B);
    QMouseEvent E(Type, P, Map->mapToGlobal(P), B, Held, K);
    QApplication::sendEvent(Map.get(), &E);
  }
  void Click(QPoint P, Qt::KeyboardModifiers K = {}) {
    Mouse(QEvent::MouseButtonPress, P, Qt::LeftButton, K);
    Mouse(QEvent::MouseButtonRelease, P, Qt::LeftButton, K);
  }
  std::vector<std::string> Selected() {
    std::vector<std::string> IDs;
    for (const auto& ID : Host.View().Selection()) IDs.push_back(ID.ToUtf8());
    return IDs;
  }
  QColor Pixel(double X, double Y) {
    Map->MapChanged();
    const QImage Shot = Map->grab().toImage();
    return Shot.pixelColor(At(X, Y));
  }

  host::TTestHost Host;
  std::unique_ptr<host::TMapWidget> Map;
  int SelectionChanges = 0;
};

using Ids = std::vector<std::string>;

TEST_F(MapWidgetTest, ClickShiftClickBandAndEscape) {
  Click(At(500015, 6000015));  // where B lies over A
  EXPECT_EQ(Selected(), Ids{"SB"});
  Click(At(500005, 6000005), Qt::ShiftModifier);
  EXPECT_EQ(Selected(), (Ids{"SB", "SA"}));
  Click(At(500015, 6000015), Qt::ShiftModifier);  // a selected one goes out
  EXPECT_EQ(Selected(), Ids{"SA"});
  Click(At(500015, 6000040.1));  // within a few pixels of the line
  EXPECT_EQ(Selected(), Ids{"LN"});
  Click(At(500033, 6000005));  // nothing there
  EXPECT_TRUE(Selected().empty());

  // A band selects what lies wholly inside it.
  Mouse(QEvent::MouseButtonPress, At(499999, 5999999), Qt::LeftButton);
  Mouse(QEvent::MouseMove, At(500025, 6000025), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, At(500025, 6000025), Qt::LeftButton);
  EXPECT_EQ(Selected(), Ids{"SA"});

  QKeyEvent Esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(Map.get(), &Esc);
  EXPECT_TRUE(Selected().empty());
  EXPECT_EQ(SelectionChanges, 7);
}

TEST_F(MapWidgetTest, LayersAreDrawnInTheirOrderAndHiddenOnesNeitherDrawnNorHit) {
  EXPECT_EQ(Pixel(500015, 6000015), QColor(0, 255, 0)) << "B over A";
  EXPECT_EQ(Pixel(500005, 6000005), QColor(255, 0, 0));
  Host.View().SetLayerOrder({MakeID("B"), MakeID("A")});
  EXPECT_EQ(Pixel(500015, 6000015), QColor(255, 0, 0)) << "A over B";
  Click(At(500015, 6000015));
  EXPECT_EQ(Selected(), Ids{"SA"}) << "the one on top is hit, though added first";
  Host.View().SetLayerOrder({MakeID("A")});
  EXPECT_EQ(Pixel(500025, 6000025), QColor(255, 255, 255)) << "B hidden";
  Click(At(500025, 6000025));
  EXPECT_TRUE(Selected().empty());
  Click(At(500015, 6000015));
  EXPECT_EQ(Selected(), Ids{"SA"});
}

TEST_F(MapWidgetTest, WheelZoomKeepsThePointUnderTheCursorAndMiddleDragPans) {
  const QPoint P = At(500005, 6000030);
  const double Before = Host.View().Transform().MetresPerPixel;
  double X0, Y0;
  Host.View().Transform().ToMap(P.x(), P.y(), X0, Y0);
  QWheelEvent Wheel(P, Map->mapToGlobal(P), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Map.get(), &Wheel);
  EXPECT_NEAR(Host.View().Transform().MetresPerPixel, Before / 1.25, 1e-12);
  double X, Y;
  Host.View().Transform().ToMap(P.x(), P.y(), X, Y);
  EXPECT_NEAR(X, X0, 1e-6);
  EXPECT_NEAR(Y, Y0, 1e-6);

  const auto T = Host.View().Transform();
  Mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton);
  Mouse(QEvent::MouseMove, QPoint(130, 80), Qt::MiddleButton);
  Mouse(QEvent::MouseButtonRelease, QPoint(130, 80), Qt::MiddleButton);
  EXPECT_NEAR(Host.View().Transform().CenterX, T.CenterX - 30 * T.MetresPerPixel, 1e-6);
  EXPECT_NEAR(Host.View().Transform().CenterY, T.CenterY - 20 * T.MetresPerPixel, 1e-6);
  EXPECT_TRUE(Selected().empty()) << "panning selects nothing";
}

// A selected open line with an arc is marked along the line only: the space
// between its chord and its arc is not filled.
TEST_F(MapWidgetTest, ASelectedOpenArcIsNotFilledToItsChord) {
  kx::TKxID Arc = host::MakeID("ARC");
  // A half circle of radius 10 over the chord from (500005, 6000025) to
  // (500025, 6000025): its top 10 m above or below the chord's middle.
  Host.Project().AddObject(
      host::MakeID("A"),
      {{host::MakeID("LINE"),
        {host::HostMoveTo(500005, 6000025), host::HostArcTo(500025, 6000025, 1)}}},
      &Arc);
  const double X = 500015, Y = 6000025;
  const QColor Above = Pixel(X, Y + 5), Below = Pixel(X, Y - 5);
  const QColor TopAbove = Pixel(X, Y + 10), TopBelow = Pixel(X, Y - 10);
  Host.View().SetSelection({Arc});
  const bool Up = Pixel(X, Y + 10) != TopAbove;
  ASSERT_NE(Up, Pixel(X, Y - 10) != TopBelow) << "the selection is marked along the arc";
  EXPECT_EQ(Up ? Pixel(X, Y + 5) : Pixel(X, Y - 5), Up ? Above : Below)
      << "filled between the chord and the arc";
}

// Counts what the view hands it.
class TFakeEditor : public host::THostValue<kx::IKxEditor, kx::IID_IKxEditor> {
 public:
  HRESULT STDMETHODCALLTYPE GetOptions(std::uint32_t* O) override {
    *O = Options;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Hook1() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Hook2(std::int32_t, std::int32_t) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE MouseDown(std::int32_t B, std::int32_t S, std::int32_t X,
                                      std::int32_t Y) override {
    Downs.push_back({B, S, X, Y});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MouseMove(std::int32_t, std::int32_t, std::int32_t) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MouseUp(std::int32_t, std::int32_t, std::int32_t,
                                    std::int32_t) override {
    ++Ups;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE KeyDown(std::uint16_t K, std::int32_t) override {
    Keys.push_back(K);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE KeyUp(std::uint16_t, std::int32_t) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Hook8() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Hook9(std::int32_t) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetContextMacros(kx::IKxContextMacroAttrsList** L, std::int32_t,
                                             std::int32_t) override {
    *L = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ExecuteContextMacro(std::int32_t, std::int32_t) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Hook12() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Paint() override {
    ++Paints;
    return S_OK;
  }

  std::uint32_t Options = 4;
  std::vector<std::array<std::int32_t, 4>> Downs;
  std::vector<std::uint16_t> Keys;
  int Ups = 0;
  int Paints = 0;
};

TEST_F(MapWidgetTest, AnInstalledEditorGetsMouseKeysAndPaint) {
  auto Editor = host::MakeValue<TFakeEditor>();
  Host.View().SetEditor(Editor.Get());
  const QPoint P = At(500015, 6000015);
  Click(P, Qt::ShiftModifier);
  ASSERT_EQ(Editor->Downs.size(), 1u);
  EXPECT_EQ(Editor->Downs[0], (std::array<std::int32_t, 4>{0, 1 | 8, P.x(), P.y()}));
  EXPECT_EQ(Editor->Ups, 1);
  EXPECT_TRUE(Selected().empty()) << "the editor has the left button";

  Mouse(QEvent::MouseButtonPress, P, Qt::MiddleButton);
  Mouse(QEvent::MouseButtonRelease, P, Qt::MiddleButton);
  EXPECT_EQ(Editor->Downs.size(), 1u) << "the middle button pans";

  QKeyEvent Back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(Map.get(), &Back);
  EXPECT_EQ(Editor->Keys, std::vector<std::uint16_t>{8});

  Map->grab();
  const int Before = Editor->Paints;
  Host.View().Invalidate();
  Map->grab();
  EXPECT_EQ(Editor->Paints, Before + 1);
  EXPECT_EQ(Host.Picture().LastMapRedraw(), host::THostMapPicture::TMapRedraw::Kept)
      << "only the editor's drawing changed";
  // The overlay alone: the picture kept, the editor's Paint not called.
  compat::TComPtr<kx::IKxMapViewOverlay> Overlay;
  ASSERT_EQ(Host.View().QueryInterface(kx::IID_IKxMapViewOverlay, Overlay.OutVoid()), S_OK);
  Overlay->InvalidateOverlay();
  Map->grab();
  EXPECT_EQ(Editor->Paints, Before + 1);

  // Suspended, it answers 0 and takes nothing: a click selects again.
  Editor->Options = 0;
  Click(P, Qt::NoModifier);
  EXPECT_EQ(Editor->Downs.size(), 1u);
  EXPECT_FALSE(Selected().empty()) << "a suspended editor leaves the map its selection";
  Host.View().SetEditor(nullptr);
}

}  // namespace
