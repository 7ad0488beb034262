// The editor's paint through the host's drawing objects: what the host's
// map view recorded of every DrawContour, with the pen and brush it drew
// with.
#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

using namespace tracetest;

constexpr double OX = 500000, OY = 6000000;

struct DrawingTest : EditorTest {
  void SetUp() override {
    EditorTest::SetUp();
    SetView(OX, OY, 0.1);
  }
  const std::vector<host::THostDrawRecord>& Drawn() { return Host.View().DrawLog(); }
  void Store(const std::string& Name, const std::string& Value) {
    Host.Settings().SetValue(1, "Trace." + Name, Value);
  }
  int ScaleUpdates() { return Host.Manager().Application().Canvas().Viewport().Operation10Count(); }
  // The side of a vertex mark drawn as record I (a difference of map
  // coordinates far from the origin: within their rounding).
  double MarkSide(size_t I) {
    const auto& V = Drawn().at(I).Parts.at(0).Vertices;
    return V.at(2).X - V.at(0).X;
  }
};

TEST_F(DrawingTest, OneOrTwoEdgesDrawNoZoneButTheirMarks) {
  geo::TContour Two;
  Two.AddMoveTo({OX, OY});
  Two.AddLineTo({OX + 10, OY});
  Two.AddLineTo({OX + 10, OY + 10});
  Graph.AddContour(Two);
  auto& E = MakeEditor();
  const int Fetches = Host.Manager().Application().SettingsStoreCount();
  E.Paint();
  // An empty trace draws no line either: three vertex marks only, square,
  // closed, in the default mark style.
  ASSERT_EQ(Drawn().size(), 3u);
  for (const host::THostDrawRecord& Mark : Drawn()) {
    ASSERT_EQ(Mark.Parts.size(), 1u);
    EXPECT_EQ(Mark.Parts[0].Vertices.size(), 4u);
    EXPECT_TRUE(Mark.Parts[0].Closed);
    EXPECT_EQ(Mark.Mode, -1);
    EXPECT_EQ(Mark.Pen, (host::THostPenState{0, 0.0, 0.0, 16711680, 4}));
    EXPECT_EQ(Mark.Brush, (host::THostBrushState{0, 16777215, 0, 0}));
  }
  // Default mark size 0.002 over the view's scale 1:N: side 0.002 N, the
  // same on screen at every scale.
  const double N = Host.View().Transform().ScaleDenominator();
  const auto& First = Drawn()[0].Parts[0].Vertices;
  EXPECT_DOUBLE_EQ(First[0].X, OX - 0.001 * N);
  EXPECT_DOUBLE_EQ(First[0].Y, OY - 0.001 * N);
  EXPECT_DOUBLE_EQ(First[1].Y, OY + 0.001 * N);
  EXPECT_DOUBLE_EQ(First[2].X, OX + 0.001 * N);
  EXPECT_EQ(ScaleUpdates(), 1);
  // 22 settings read, the store fetched afresh for each.
  EXPECT_EQ(Host.Manager().Application().SettingsStoreCount() - Fetches, 22);
  E.Suspend();
  Host.View().ClearDrawLog();
  E.Paint();
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(DrawingTest, ZoneOutlinesAreClosedPartsWithAClosingArcOnVertexZero) {
  geo::TContour Zone;
  Zone.AddMoveTo({OX, OY});
  Zone.AddLineTo({OX + 10, OY});
  Zone.AddLineTo({OX + 10, OY + 10});
  Zone.AddCloseArc(0.5);
  Zone.AddMoveTo({OX + 20, OY});
  Zone.AddArcTo({OX + 30, OY}, 0.25);
  Zone.AddLineTo({OX + 30, OY + 10});
  Zone.AddClose();
  Graph.AddContour(Zone);
  auto& E = MakeEditor();
  Store("BufferZonePenForZoomScale", "2000");
  Store("VertexTraceSizeForZoomScale", "2500");
  E.Paint();
  const host::THostDrawRecord& Z = Drawn().at(0);
  ASSERT_EQ(Z.Parts.size(), 2u);
  const auto& P0 = Z.Parts[0].Vertices;
  ASSERT_EQ(P0.size(), 3u);
  EXPECT_TRUE(Z.Parts[0].Closed && Z.Parts[1].Closed);
  EXPECT_EQ(P0[0].X, OX);
  EXPECT_EQ(P0[0].Convexity, 0.5);  // the closing arc
  EXPECT_EQ(P0[1].Convexity, 0.0);
  const auto& P1 = Z.Parts[1].Vertices;
  ASSERT_EQ(P1.size(), 3u);
  EXPECT_EQ(P1[0].Convexity, 0.0);  // a straight close adds nothing
  EXPECT_EQ(P1[1].Convexity, 0.25);
  // The zone's pen and brush from the settings; width scale 1/2000.
  EXPECT_EQ(Z.Pen, (host::THostPenState{0, 1.0, 1.0 / 2000, 32768, 4}));
  EXPECT_EQ(Z.Brush, (host::THostBrushState{4, 16777215, 32768, 1}));
  // Marks sized by the zoom-scale setting: 2500 × 0.002 = 5, no scale asked.
  EXPECT_NEAR(MarkSide(1), 5, 1e-9);
  EXPECT_EQ(ScaleUpdates(), 0);
  EXPECT_EQ(Drawn().size(), 1u + static_cast<size_t>(Graph.Vertices.Count()));
  // A denominator of 1 behaves like none.
  Store("VertexTraceSizeForZoomScale", "1");
  Host.View().ClearDrawLog();
  E.Paint();
  EXPECT_EQ(ScaleUpdates(), 1);
  EXPECT_NEAR(MarkSide(1), 0.002 * Host.View().Transform().ScaleDenominator(), 1e-9);
}

TEST_F(DrawingTest, TraceShownClosedOrOpenAsCloseBySaysAndItsPointsMarked) {
  geo::TContour Square;
  Square.AddMoveTo({OX, OY});
  Square.AddLineTo({OX + 10, OY});
  Square.AddArcTo({OX + 10, OY + 10}, 0.1);
  Square.AddLineTo({OX, OY + 12});  // longer this way
  Square.AddClose();
  Graph.AddContour(Square);
  auto& E = MakeEditor();
  Store("TracePenColor", "65280");
  Click(OX, OY);
  Click(OX + 10, OY + 10);  // along the zone: two edges
  Click(OX + 5, OY + 5);    // a free point
  ASSERT_EQ(Trace().size(), 4u);
  const Commands Before = Trace();
  E.Paint();
  const host::THostDrawRecord& T = Drawn().at(1);
  ASSERT_EQ(T.Parts.size(), 1u);
  ASSERT_EQ(T.Parts[0].Vertices.size(), 4u);
  EXPECT_FALSE(T.Parts[0].Closed);
  EXPECT_EQ(T.Parts[0].Vertices[2].Convexity, 0.1);
  EXPECT_EQ(T.Parts[0].Vertices[3].X, OX + 5);
  EXPECT_EQ(T.Pen, (host::THostPenState{0, 1.0, 0.0, 65280, 4}));
  EXPECT_EQ(T.Brush, (host::THostBrushState{5, 16777215, 255, 1}));
  // Marks: 4 zone vertices and 3 trace points (two of them on vertices).
  EXPECT_EQ(Drawn().size(), 2u + 7u);

  E.CloseBy = true;
  Host.View().ClearDrawLog();
  E.Paint();
  EXPECT_TRUE(Drawn().at(1).Parts[0].Closed);
  EXPECT_TRUE(SameCommands(Trace(), Before));  // only shown closed
  // The host's own repaint runs the installed editor's paint after the map.
  ASSERT_EQ(Host.View().SetEditor(E.Editor()), S_OK);
  const bool Painted = Host.View().Render();
  Host.View().DropEditor();
  ASSERT_TRUE(Painted) << Host.View().LastPaintError();
  EXPECT_EQ(Host.View().OverlayStart(), 2u + 7u);
}

}  // namespace
