#include "ui/style_grid.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QTest>

#include "pixels.h"
#include "ui/style_sample.h"
#include "ui_app.h"

namespace {

QImage Render(QWidget& W) {
  return W.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint Centre(const ui::TStyleGrid& G, int Col, int Row) {
  return G.CellRect(Col, Row).center();
}

TEST(StyleGrid, SamplesShowWhereTheWrapStylePutsThem) {
  ui::TBrushStyleGrid G;
  G.resize(160, 60);
  G.SetColCount(4);
  EXPECT_EQ(G.CellRect(1, 1), QRect(40, 30, 40, 30));
  G.Model().SetBackColor(0x0000FF);
  G.SetStyleIndex(-1);
  G.Model().SetWrapStyle(ui::wrVerHor);
  EXPECT_EQ(Render(G).pixel(Centre(G, 0, 1)), 0xFFFF0000);  // the solid sample
  G.Model().SetWrapStyle(ui::wrHorVer);
  EXPECT_EQ(Render(G).pixel(Centre(G, 1, 0)), 0xFFFF0000);
}

TEST(StyleGrid, PenGridKeepsSixSamples) {
  ui::TPenStyleGrid G;
  EXPECT_TRUE(G.setProperty("Count", 4));  // as a form would set it
  EXPECT_EQ(G.Count(), 6);
  EXPECT_TRUE(G.setProperty("ColCount", 3));
  EXPECT_EQ(G.Model().RowCount(), 2);
}

TEST(StyleGrid, ClicksAndKeysReachTheModel) {
  ui::TBrushStyleGrid G;
  G.resize(160, 60);
  G.SetCount(7);
  G.SetColCount(4);
  std::vector<int> Changes;
  G.OnChanged = [&](ui::TStyleGrid* Sender) { Changes.push_back(Sender->StyleIndex()); };
  QTest::mouseClick(&G, Qt::LeftButton, {}, Centre(G, 1, 1));
  QTest::mouseClick(&G, Qt::RightButton, {}, Centre(G, 1, 1));  // the same again
  QTest::mouseClick(&G, Qt::LeftButton, {}, Centre(G, 3, 1));   // a cell without a sample
  EXPECT_EQ(Changes, (std::vector<int>{5, 5}));
  QTest::keyClick(&G, Qt::Key_Up);
  QTest::keyClick(&G, Qt::Key_Right);
  EXPECT_EQ(G.StyleIndex(), 2);
  // A grid shown over another model follows that one.
  forms::TBrushStyleGridModel Other;
  Other.SetColCount(2);
  G.Attach(Other);
  EXPECT_EQ(Other.ColCount(), 4);  // what the form set carries over
  EXPECT_EQ(Other.Count(), 7);
  Other.SetStyleIndex(6);
  EXPECT_EQ(Changes.back(), 6);
}

TEST(StyleGrid, FramesAndSamples) {
  ui::TBrushStyleGrid G;
  G.resize(160, 60);
  G.SetColCount(4);
  G.Model().SetBackColor(0x0000FF);
  G.Model().SetHatchColor(0x00FF00);
  G.Model().SetStyle(0);  // solid, cell (1, 0)
  QImage Image = Render(G);
  // Selected: black, white, black frames; the sample fills the rest.
  const QRect Solid = G.CellRect(1, 0);
  EXPECT_EQ(Image.pixel(Solid.topLeft()), 0xFF000000);
  EXPECT_EQ(Image.pixel(Solid.topLeft() + QPoint(1, 1)), 0xFFFFFFFF);
  EXPECT_EQ(Image.pixel(Solid.topLeft() + QPoint(2, 2)), 0xFF000000);
  EXPECT_EQ(CountColor(Image, Solid.adjusted(3, 3, -3, -3), 0xFFFF0000),
            (Solid.width() - 6) * (Solid.height() - 6));
  // Not selected: the innermost frame is black at the top, face at the bottom.
  const QRect Hatch = G.CellRect(2, 0);
  EXPECT_EQ(Image.pixel(Hatch.topLeft() + QPoint(5, 2)), 0xFF000000);
  EXPECT_EQ(Image.pixel(Hatch.bottomLeft() + QPoint(5, -2)),
            G.palette().color(QPalette::Button).rgb());
  // An opaque hatch: lines over the background colour.
  const QRect Inside = Hatch.adjusted(3, 3, -3, -3);
  const int Lines = CountColor(Image, Inside, 0xFF00FF00);
  EXPECT_GT(Lines, 0);
  EXPECT_EQ(Lines + CountColor(Image, Inside, 0xFFFF0000), Inside.width() * Inside.height());

  // Transparent: a solid sample draws nothing, a hatch keeps only its lines.
  G.Model().SetTransparency(true);
  Image = Render(G);
  EXPECT_EQ(CountColor(Image, Solid.adjusted(3, 3, -3, -3), 0xFFFFFFFF),
            (Solid.width() - 6) * (Solid.height() - 6));
  EXPECT_EQ(CountColor(Image, Inside, 0xFF00FF00), Lines);
  EXPECT_EQ(CountColor(Image, Inside, 0xFFFF0000), 0);

  // Disabled: frames and face colour, no sample.
  G.setEnabled(false);
  Image = Render(G);
  EXPECT_EQ(CountColor(Image, Image.rect(), 0xFF00FF00), 0);
  EXPECT_EQ(Image.pixel(Solid.center()), G.palette().color(QPalette::Button).rgb());
}

TEST(StyleGrid, PenSamples) {
  ui::TPenStyleGrid G;
  G.resize(150, 50);
  G.SetColCount(3);
  G.Model().SetColor(0x0000FF);
  G.Model().SetStyle(5);  // the clear sample, top left
  const QImage Image = Render(G);
  const QRect Dash = G.CellRect(1, 0);
  const int Y = Dash.top() + Dash.height() / 2;
  // Dashes in the pen's colour along the middle, 4 pixels inside the frames.
  const int Red = CountColor(Image, QRect(Dash.left(), Y, Dash.width(), 1), 0xFFFF0000);
  EXPECT_GT(Red, 10);
  EXPECT_LT(Red, Dash.width() - 8);
  EXPECT_EQ(CountColor(Image, QRect(Dash.left(), Y, 7, 1), 0xFFFF0000), 0);
  EXPECT_EQ(Image.pixel(Dash.left() + 7, Y), 0xFFFF0000);
  EXPECT_EQ(CountColor(Image, QRect(Dash.right() - 6, Y, 7, 1), 0xFFFF0000), 0);
  EXPECT_EQ(CountColor(Image, Dash.adjusted(3, 3, -3, -3), 0xFFFF0000), Red);
  // "Сплошная" in the pen's colour, "Нет" in the text colour.
  const auto Reddish = [&](const QRect& Cell) {
    return CountWhere(Image, Cell, [](QColor C) { return C.red() > 150 && C.green() < 100; });
  };
  const auto Dark = [&](const QRect& Cell) {
    return CountWhere(Image, Cell.adjusted(3, 3, -3, -3), [](QColor C) { return C.value() < 100; });
  };
  EXPECT_GT(Reddish(G.CellRect(2, 1)), 20);
  EXPECT_EQ(Dark(G.CellRect(2, 1)), 0);
  EXPECT_EQ(Reddish(G.CellRect(0, 0)), 0);
  EXPECT_GT(Dark(G.CellRect(0, 0)), 10);
}

TEST(StyleGrid, Screenshots) {
  QWidget Window;
  Window.setFont(QFont("Arial", 8));
  auto* Layout = new QHBoxLayout(&Window);
  auto* Brush = new ui::TBrushStyleGrid;
  Brush->SetColCount(4);
  Brush->Model().SetBackColor(0xFFFFFF);
  Brush->Model().SetHatchColor(0x008000);
  Brush->Model().SetTransparency(true);
  Brush->Model().SetStyle(4);
  Brush->setFixedSize(200, 60);
  auto* Pen = new ui::TPenStyleGrid;
  Pen->SetColCount(3);
  Pen->Model().SetColor(0x0000FF);
  Pen->Model().SetStyle(0);
  Pen->setFixedSize(200, 60);
  auto* Disabled = new ui::TPenStyleGrid;
  Disabled->SetColCount(3);
  Disabled->setFixedSize(200, 60);
  Disabled->setEnabled(false);
  for (QWidget* W : std::initializer_list<QWidget*>{Brush, Pen, Disabled}) Layout->addWidget(W);
  Window.show();
  Window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  Brush->setFocus();
  ASSERT_TRUE(Brush->hasFocus());
  // The focused selection has a dotted frame where the white one was.
  const QImage Image = Render(*Brush);
  const QRect Focus = Brush->CellRect(0, 1).adjusted(1, 1, -1, -1);
  const int Dots =
      CountColor(Image, QRect(Focus.left(), Focus.top(), Focus.width(), 1), 0xFF000000);
  EXPECT_EQ(Dots, (Focus.width() + 1) / 2);
  QDir().mkpath(TRACE_SCREENSHOT_DIR);
  const QString File = TRACE_SCREENSHOT_DIR "/style_grids.png";
  ASSERT_TRUE(Window.grab().save(File));
}

}  // namespace
