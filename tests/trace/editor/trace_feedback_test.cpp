// Feedback while tracing, as the host's map view records it: the editor is
// installed in the view, a move redraws the overlay alone, and what the
// overlay shows is what the click at the same pixel then adds.
#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

using namespace tracetest;

constexpr double OX = 500000, OY = 6000000;

struct FeedbackTest : EditorTest {
  void SetUp() override {
    EditorTest::SetUp();
    SetView(OX, OY, 0.1);
    // A square with an arc, longer one way round than the other.
    geo::TContour Z;
    Z.AddMoveTo({OX, OY});
    Z.AddLineTo({OX + 10, OY});
    Z.AddArcTo({OX + 10, OY + 10}, 0.1);
    Z.AddLineTo({OX, OY + 12});
    Z.AddClose();
    Graph.AddContour(Z);
    MakeEditor();
    Host.Settings().SetValue(1, "Trace.TracePenColor", "65280");
    ASSERT_EQ(Host.View().SetEditor(Editor->Editor()), S_OK);
  }
  void TearDown() override {
    Host.View().DropEditor();
    EditorTest::TearDown();
  }
  // The overlay's records after a move to Pixel.
  std::vector<host::THostDrawRecord> MoveTo(kx::TKxViewPoint At, std::int32_t Shift = 0) {
    const int Full = Host.View().InvalidateCount();
    Editor->MouseMove(Shift, At);
    EXPECT_EQ(Host.View().InvalidateCount(), Full);  // the map is not redrawn
    EXPECT_TRUE(Host.View().RenderOverlay()) << Host.View().LastPaintError();
    const auto& Log = Host.View().DrawLog();
    return {Log.begin() + static_cast<std::ptrdiff_t>(Host.View().OverlayStart()), Log.end()};
  }
  geo::TDPoint MapOf(kx::TKxViewPoint At) {
    double X, Y;
    Host.View().DeviceToMap(At.X, At.Y, &X, &Y);
    return {X, Y};
  }
};

TEST_F(FeedbackTest, RubberLineToTheCursorMarkerWhereTheClickSnapsFirstPointMarked) {
  Host.View().Render();
  Click(OX, OY);
  Host.View().Render();
  // The first click shows at once: a square filled in the trace's colour.
  const auto& Log = Host.View().DrawLog();
  ASSERT_GT(Log.size(), Host.View().OverlayStart());
  const host::THostDrawRecord& First = Log[Host.View().OverlayStart()];
  EXPECT_EQ(First.Brush.Style, 0);
  EXPECT_EQ(First.Brush.BackColor, 65280u);
  EXPECT_EQ(First.Parts.at(0).Vertices.at(0).X + First.Parts[0].Vertices[2].X, 2 * OX);

  // Far from every vertex: the rubber line ends at the cursor, no marker.
  const kx::TKxViewPoint Free = Pixel(OX + 5, OY + 5);
  auto O = MoveTo(Free);
  ASSERT_EQ(O.size(), 2u);
  const host::THostPaintPart& Line = O[1].Parts.at(0);
  EXPECT_EQ(O[1].Pen.Color, 65280u);
  EXPECT_FALSE(Line.Closed);
  ASSERT_EQ(Line.Vertices.size(), 2u);
  EXPECT_EQ(Line.Vertices[0].X, OX);
  EXPECT_EQ(Line.Vertices[1].X, MapOf(Free).X);
  EXPECT_EQ(Line.Vertices[1].Y, MapOf(Free).Y);

  // 5 pixels off the vertex: the line ends on it, with the marker about it;
  // √65 pixels off: the raw point again, as the click has it.
  const kx::TKxViewPoint V = Pixel(OX + 10, OY);
  O = MoveTo({V.X + 3, V.Y + 4});
  ASSERT_EQ(O.size(), 3u);
  EXPECT_EQ(O[1].Parts[0].Vertices[1].X, OX + 10);
  const auto& M = O[2].Parts.at(0).Vertices;
  EXPECT_DOUBLE_EQ((M.at(0).X + M.at(2).X) / 2, OX + 10);
  EXPECT_DOUBLE_EQ((M[0].Y + M[2].Y) / 2, OY);
  EXPECT_GT(M[2].X - M[0].X, First.Parts[0].Vertices[2].X - First.Parts[0].Vertices[0].X);
  O = MoveTo({V.X + 8, V.Y + 1});
  ASSERT_EQ(O.size(), 2u);
  EXPECT_EQ(O[1].Parts[0].Vertices[1].X, MapOf({V.X + 8, V.Y + 1}).X);
  Editor->MouseDown(0, 0, {V.X + 8, V.Y + 1});
  EXPECT_EQ(Trace().back().Point.X, MapOf({V.X + 8, V.Y + 1}).X);

  // Each overlay is drawn over the picture kept, never over the last one.
  MoveTo(Free);
  const QImage WithFree = Host.Picture().Image().copy();
  MoveTo({V.X + 3, V.Y + 4});
  EXPECT_NE(Host.Picture().Image(), WithFree);
  MoveTo(Free);
  EXPECT_EQ(Host.Picture().Image(), WithFree);

  // Suspended: no feedback and no redraw.
  Editor->Suspend();
  const int Overlays = Host.View().InvalidateOverlayCount();
  Editor->MouseMove(0, Free);
  EXPECT_EQ(Host.View().InvalidateOverlayCount(), Overlays);
  Host.View().RenderOverlay();
  EXPECT_EQ(Host.View().DrawLog().size(), Host.View().OverlayStart());
}

TEST_F(FeedbackTest, PreviewAlongTheZoneIsWhatTheClickAddsEitherWayRound) {
  for (const std::int32_t Shift : {0, kx::kxShiftStateCtrl}) {
    Editor->UndoAll();
    Click(OX, OY);
    const kx::TKxViewPoint V = Pixel(OX + 10, OY + 10);
    const kx::TKxViewPoint At{V.X - 2, V.Y + 1};
    auto O = MoveTo(At, Shift);
    ASSERT_EQ(O.size(), 3u);
    const auto Preview = O[1].Parts.at(0).Vertices;
    // Moving about the same target keeps the same preview.
    EXPECT_EQ(MoveTo({At.X + 1, At.Y}, Shift)[1].Parts[0].Vertices, Preview);
    Editor->MouseDown(0, Shift, At);
    const Commands T = Trace();
    // Shortest: a line and the arc; Ctrl: the other way, two lines.
    ASSERT_EQ(T.size(), 3u) << CommandsText(T);
    // The host's records are packed: their fields are compared as values.
    EXPECT_EQ(double{T[1].Point.X}, Shift ? OX : OX + 10);
    ASSERT_EQ(Preview.size(), T.size());
    for (std::size_t I = 0; I < T.size(); ++I) {
      EXPECT_EQ(double{Preview[I].X}, double{T[I].Point.X});
      EXPECT_EQ(double{Preview[I].Y}, double{T[I].Point.Y});
      EXPECT_EQ(double{Preview[I].Convexity},
                T[I].Kind == kx::kxArcTo ? double{T[I].Convexity} : 0.0);
    }
  }
}

}  // namespace
