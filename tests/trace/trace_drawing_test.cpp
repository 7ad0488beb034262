#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

using geo::TDPoint;

constexpr double OX = 500000, OY = 6000000;

struct DrawingTest : fake::EditorTest {
  fake::TCanvas& Canvas() { return Host.App.Canvas(); }
  size_t Count(const std::string& Line) {
    return static_cast<size_t>(
        std::count(Canvas().Log.Lines.begin(), Canvas().Log.Lines.end(), Line));
  }
};

TEST_F(DrawingTest, OneOrTwoEdgesDrawNoZoneButTheirMarks) {
  geo::TContour Two;
  Two.AddMoveTo({OX, OY});
  Two.AddLineTo({OX + 10, OY});
  Two.AddLineTo({OX + 10, OY + 10});
  Graph.AddContour(Two);
  auto& E = MakeEditor();
  E.Paint();
  // An empty trace draws no line either: three vertex marks only.
  ASSERT_EQ(Canvas().Drawn.size(), 3u);
  for (const fake::TDrawn& Mark : Canvas().Drawn) {
    ASSERT_EQ(Mark.Parts.size(), 1u);
    EXPECT_EQ(Mark.Parts[0].size(), 4u);
    EXPECT_TRUE(Mark.Closed[0]);
  }
  // Default mark size 0.002 over the view's scale 0.001: side 2.
  const auto& First = Canvas().Drawn[0].Parts[0];
  EXPECT_DOUBLE_EQ(First[0].X, OX - 1);
  EXPECT_DOUBLE_EQ(First[0].Y, OY - 1);
  EXPECT_DOUBLE_EQ(First[1].Y, OY + 1);
  EXPECT_DOUBLE_EQ(First[2].X, OX + 1);
  EXPECT_EQ(Canvas().ScaleObject.Calls, 1);
  // 22 settings read, the store fetched for each.
  EXPECT_EQ(Host.App.Store.Reads.size(), 22u);
  E.Suspend();
  E.Paint();
  EXPECT_EQ(Canvas().Drawn.size(), 3u);
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
  Host.App.Store.Values["Trace.BufferZonePenForZoomScale"] = "2000";
  Host.App.Store.Values["Trace.VertexTraceSizeForZoomScale"] = "2500";
  E.Paint();
  const fake::TDrawn& Z = Canvas().Drawn.at(0);
  ASSERT_EQ(Z.Parts.size(), 2u);
  ASSERT_EQ(Z.Parts[0].size(), 3u);
  EXPECT_TRUE(Z.Closed[0] && Z.Closed[1]);
  EXPECT_EQ(Z.Parts[0][0].X, OX);
  EXPECT_EQ(Z.Parts[0][0].Convexity, 0.5);  // the closing arc
  EXPECT_EQ(Z.Parts[0][1].Convexity, 0.0);
  ASSERT_EQ(Z.Parts[1].size(), 3u);
  EXPECT_EQ(Z.Parts[1][0].Convexity, 0.0);  // a straight close adds nothing
  EXPECT_EQ(Z.Parts[1][1].Convexity, 0.25);
  // Zone pen and brush in the settings' order; width scale 1/2000.
  const std::vector<std::string>& L = Canvas().Log.Lines;
  ASSERT_GE(L.size(), 9u);
  EXPECT_EQ(L[0], "pen.style=0");
  EXPECT_EQ(L[1], "pen.width=1.000000");
  EXPECT_EQ(L[2], "pen.scale=" + std::to_string(1.0 / 2000));
  EXPECT_EQ(L[3], "pen.color=32768");
  EXPECT_EQ(L[4], "pen.mode=4");
  EXPECT_EQ(L[5], "brush.style=4");
  EXPECT_EQ(L[6], "brush.back=16777215");
  EXPECT_EQ(L[7], "brush.hatch=32768");
  EXPECT_EQ(L[8], "brush.transparency=1");
  // Marks sized by the zoom-scale setting: 2500 × 0.002 = 5, no scale asked.
  const auto& Mark = Canvas().Drawn.at(1).Parts[0];
  EXPECT_DOUBLE_EQ(Mark[2].X - Mark[0].X, 5);
  EXPECT_EQ(Canvas().ScaleObject.Calls, 0);
  EXPECT_EQ(Canvas().Drawn.size(), 1u + static_cast<size_t>(Graph.Vertices.Count()));
  // A denominator of 1 behaves like none.
  Host.App.Store.Values["Trace.VertexTraceSizeForZoomScale"] = "1";
  Canvas().Drawn.clear();
  E.Paint();
  EXPECT_EQ(Canvas().ScaleObject.Calls, 1);
  EXPECT_DOUBLE_EQ(Canvas().Drawn.at(1).Parts[0][2].X - Canvas().Drawn.at(1).Parts[0][0].X, 2);
}

TEST_F(DrawingTest, TraceShownClosedOrOpenAsCloseBySaysAndItsPointsMarked) {
  geo::TContour Square;
  Square.AddMoveTo({OX, OY});
  Square.AddLineTo({OX + 10, OY});
  Square.AddArcTo({OX + 10, OY + 10}, 0.1);
  Square.AddLineTo({OX, OY + 12});  // longer this way
  Square.AddClose();
  Graph.AddContour(Square);
  Host.View.CX = OX;
  Host.View.CY = OY;
  Host.View.Scale = 0.1;
  auto& E = MakeEditor();
  Click(OX, OY);
  Click(OX + 10, OY + 10);  // along the zone: two edges
  Click(OX + 5, OY + 5);    // a free point
  ASSERT_EQ(Trace().List.size(), 4u);
  const fake::Commands Before = Trace().List;
  E.Paint();
  const fake::TDrawn& T = Canvas().Drawn.at(1);
  ASSERT_EQ(T.Parts.size(), 1u);
  ASSERT_EQ(T.Parts[0].size(), 4u);
  EXPECT_FALSE(T.Closed[0]);
  EXPECT_EQ(T.Parts[0][2].Convexity, 0.1);
  EXPECT_EQ(T.Parts[0][3].X, OX + 5);
  EXPECT_EQ(Count("pen.color=255"), 1u);  // the trace pen
  // Marks: 4 zone vertices and 3 trace points (two of them on vertices).
  EXPECT_EQ(Canvas().Drawn.size(), 2u + 7u);

  E.CloseBy = true;
  Canvas().Drawn.clear();
  E.Paint();
  EXPECT_TRUE(Canvas().Drawn.at(1).Closed[0]);
  EXPECT_TRUE(fake::SameCommands(Trace().List, Before));  // only shown closed
}

}  // namespace
