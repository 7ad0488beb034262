// The style grids' decisions: where the samples sit, the selection by code,
// clicks and arrow keys, the styles of the samples and what each shows.
#include "forms/style_grid_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using forms::TCellLook;
using forms::TSampleLook;

TEST(StyleGridModel, LayoutAndWrapStyles) {
  forms::TBrushStyleGridModel G;
  G.SetColCount(4);
  EXPECT_EQ(G.Count(), 8);
  EXPECT_EQ(G.RowCount(), 2);
  EXPECT_EQ(G.CellRect(1, 1, 160, 60), (forms::TCellRect{40, 30, 40, 30}));
  EXPECT_EQ(G.CellIndex(1, 0), 1);
  G.SetWrapStyle(forms::wrVerHor);
  EXPECT_EQ(G.CellIndex(0, 1), 1);  // clear is sample 0, solid sample 1
  EXPECT_EQ(TSampleLook::Fill, G.Sample(G.CellIndex(0, 1)).Kind);
  int Col = -1, Row = -1;
  ASSERT_TRUE(G.SampleCell(5, Col, Row));
  EXPECT_EQ(std::pair(Col, Row), std::pair(2, 1));
  EXPECT_FALSE(G.SampleCell(8, Col, Row));

  G.SetColCount(9);  // more columns than samples
  EXPECT_EQ(G.ColCount(), 4);
  G.SetCount(3);
  EXPECT_EQ(G.ColCount(), 3);
  EXPECT_EQ(G.RowCount(), 1);
  G.SetStyleIndex(2);
  G.SetColCount(0);
  EXPECT_EQ(G.RowCount(), 0);
  EXPECT_EQ(G.StyleIndex(), -1);
  G.SetStyleIndex(1);
  EXPECT_EQ(G.StyleIndex(), -1);
  EXPECT_EQ(G.CellRect(0, 0, 160, 60), (forms::TCellRect{0, 0, 160, 60}));

  forms::TPenStyleGridModel P;
  P.SetCount(4);  // as a form would set it
  EXPECT_EQ(P.Count(), 6);
  P.SetColCount(3);
  EXPECT_EQ(P.RowCount(), 2);
}

TEST(StyleGridModel, SelectionByCodeClicksAndKeys) {
  forms::TBrushStyleGridModel G;
  G.SetCount(7);
  G.SetColCount(4);
  std::vector<int> Changes;
  int Repaints = 0;
  G.OnChanged = [&] { Changes.push_back(G.StyleIndex()); };
  G.OnRepaint = [&] { ++Repaints; };

  G.SetStyleIndex(3);
  G.SetStyleIndex(3);  // no change, no event
  G.SetStyleIndex(7);  // no such sample
  EXPECT_EQ(Changes, (std::vector<int>{3, -1}));
  EXPECT_EQ(Repaints, 2);

  Changes.clear();
  G.Click(50, 40, 160, 60);   // cell (1, 1)
  G.Click(50, 40, 160, 60);   // the same again
  G.Click(130, 40, 160, 60);  // a cell without a sample
  G.Click(-5, 10, 160, 60);   // outside
  EXPECT_EQ(Changes, (std::vector<int>{5, 5}));
  EXPECT_EQ(G.CellLook(1, 1, true), TCellLook::Selected);
  EXPECT_EQ(G.CellLook(0, 1, true), TCellLook::Normal);
  EXPECT_EQ(G.CellLook(0, 1, false), TCellLook::Disabled);
  EXPECT_EQ(G.CellLook(3, 1, true), TCellLook::Empty);
  G.Step(0, -1);
  G.Step(1, 0);
  EXPECT_EQ(G.StyleIndex(), 2);
  G.Step(0, 1);  // sample 6 is the last
  G.Step(1, 0);
  EXPECT_EQ(G.StyleIndex(), 6);
  G.Step(1, 0);  // the cell after it holds none
  EXPECT_EQ(G.StyleIndex(), 6);
  // The colours the samples are drawn with repaint when they change.
  Repaints = 0;
  G.SetBackColor(0x123456);
  G.SetBackColor(0x123456);
  G.SetTransparency(true);
  EXPECT_EQ(Repaints, 2);
}

TEST(StyleGridModel, StylesAndSamples) {
  forms::TBrushStyleGridModel B;
  for (int Style : {0, 1, 2, 3, 4, 5, 6, 7}) {
    B.SetStyle(Style);
    EXPECT_EQ(B.Style(), Style);
  }
  B.SetStyle(0);
  EXPECT_EQ(B.StyleIndex(), 1);
  B.SetStyle(8);
  EXPECT_EQ(B.StyleIndex(), 1);
  B.SetStyleIndex(-1);
  EXPECT_EQ(B.Style(), 1);  // clear stands for no selection
  B.SetHatchColor(0x00FF00);
  B.SetTransparency(true);
  EXPECT_EQ(B.Sample(0).Kind, TSampleLook::Label);
  EXPECT_EQ(B.Sample(0).Text, "Нет");
  const TSampleLook Cross = B.Sample(6);
  EXPECT_EQ(Cross.Kind, TSampleLook::Fill);
  // The records are packed: their colours are read by value (unary +).
  EXPECT_EQ(Cross.Brush.Style, 6);
  EXPECT_EQ(+Cross.Brush.HatchColor, 0x00FF00u);
  EXPECT_EQ(+Cross.Brush.BackColor, 0xFFFFFFu);
  EXPECT_EQ(Cross.Brush.Transparency, 1);
  EXPECT_EQ(Cross.Pen.Style, 5);  // no outline
  EXPECT_EQ(B.Sample(8).Kind, TSampleLook::None);

  forms::TPenStyleGridModel P;
  for (int Style : {0, 1, 2, 3, 4, 5}) {
    P.SetStyle(Style);
    EXPECT_EQ(P.Style(), Style);
  }
  P.SetStyle(1);
  P.SetStyle(6);  // inside frame is solid
  EXPECT_EQ(P.StyleIndex(), 5);
  EXPECT_EQ(P.Style(), 0);
  P.SetStyle(9);
  EXPECT_EQ(P.StyleIndex(), 5);
  P.SetColor(0x0000FF);
  EXPECT_EQ(P.Sample(5).Text, "Сплошная");
  EXPECT_TRUE(P.Sample(5).TextInPenColor);
  EXPECT_EQ(P.Sample(0).Text, "Нет");
  EXPECT_FALSE(P.Sample(0).TextInPenColor);
  const TSampleLook DashDot = P.Sample(3);
  EXPECT_EQ(DashDot.Kind, TSampleLook::Line);
  EXPECT_EQ(DashDot.Pen.Style, 3);
  EXPECT_EQ(+DashDot.Pen.Color, 0x0000FFu);
}

}  // namespace
