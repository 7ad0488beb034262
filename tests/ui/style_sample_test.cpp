#include "ui/style_sample.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "pixels.h"
#include "ui_app.h"

namespace {

using trace::TBrushRecord;
using trace::TPenRecord;
using ui::TDevPoints;

TPenRecord Pen(int Style, trace::TColorRef Color = 0, double Width = 0) {
  TPenRecord P;
  P.Style = static_cast<std::uint8_t>(Style);
  P.Color = Color;
  P.Width = Width;
  return P;
}

TBrushRecord Brush(int Style, trace::TColorRef Back, trace::TColorRef Hatch, int Level) {
  TBrushRecord B;
  B.Style = static_cast<std::uint8_t>(Style);
  B.BackColor = Back;
  B.HatchColor = Hatch;
  B.Transparency = static_cast<std::uint8_t>(Level);
  return B;
}

QImage White(int W = 40, int H = 40) {
  QImage Image(W, H, QImage::Format_ARGB32);
  Image.fill(Qt::white);
  return Image;
}

QImage Draw(const TDevPoints& D, const TPenRecord& P, const TBrushRecord& B, bool Blend = true) {
  QImage Image = White();
  QPainter Canvas(&Image);
  ui::DrawShape(D, Canvas, P, B, Blend, 1, 1);
  Canvas.end();
  return Image;
}

// The rectangle 8..32 x 8..32 as one closed part.
void Square(TDevPoints& D) {
  ui::ResetDevPoints(D);
  ui::AddRect(D, {8, 8, 32, 32}, true);
  ui::FinishDevPoints(D);
}

TEST(StyleSample, ClearPenAndBrushDrawNothing) {
  TDevPoints D;
  Square(D);
  ui::AddPoint(D.Current, {0, 0});
  ui::AddPoint(D.Current, {39, 39});
  ui::FinishDevPoints(D);
  const QImage Image = Draw(D, Pen(5), Brush(1, 0, 0, 0));
  EXPECT_EQ(CountColor(Image, Image.rect(), 0xFFFFFFFF), 40 * 40);
  // The same shape with a solid pen draws the outline and the line.
  const QImage Lined = Draw(D, Pen(0), Brush(1, 0, 0, 0));
  EXPECT_EQ(Lined.pixel(25, 15), 0xFFFFFFFF);
  EXPECT_EQ(Lined.pixel(8, 20), 0xFF000000);
  EXPECT_EQ(Lined.pixel(3, 3), 0xFF000000);
}

TEST(StyleSample, SolidBrushLevels) {
  TDevPoints D;
  Square(D);
  const QImage Opaque = Draw(D, Pen(0, 0x0000FF), Brush(0, 0x00FF00, 0, 0));
  EXPECT_EQ(Opaque.pixel(20, 20), 0xFF00FF00);
  EXPECT_EQ(Opaque.pixel(8, 20), 0xFFFF0000);  // red outline
  EXPECT_EQ(Opaque.pixel(36, 36), 0xFFFFFFFF);

  const QImage Level1 = Draw(D, Pen(0, 0x0000FF), Brush(0, 0x00FF00, 0, 1));
  EXPECT_EQ(CountColor(Level1, QRect(10, 10, 20, 20), 0xFFFFFFFF), 400);
  EXPECT_EQ(Level1.pixel(8, 20), 0xFFFF0000);
}

TEST(StyleSample, AlphaBlendIsClippedToThePolygons) {
  EXPECT_EQ(ui::BlendAlpha(10), 229);
  EXPECT_EQ(ui::BlendAlpha(2), 25);
  // A triangle: its bounding box is blended only inside it.
  TDevPoints D;
  for (ui::TDevPoint P : {ui::TDevPoint{0, 0}, {40, 0}, {0, 40}}) ui::AddPoint(D.Current, P);
  D.Current.Closed = true;
  ui::FinishDevPoints(D);
  for (int Level : {2, 10}) {
    const QImage Image = Draw(D, Pen(5), Brush(0, 0x000000, 0, Level));
    const int Expected = 255 - ui::BlendAlpha(Level);  // black over white
    EXPECT_NEAR(qRed(Image.pixel(5, 5)), Expected, 1) << Level;
    EXPECT_EQ(qRed(Image.pixel(5, 5)), qBlue(Image.pixel(5, 5)));
    EXPECT_EQ(Image.pixel(35, 35), 0xFFFFFFFF) << Level;
  }
}

TEST(StyleSample, PatternFillWithoutBlending) {
  TDevPoints D;
  ui::AddRect(D, {0, 0, 40, 40}, true);
  ui::FinishDevPoints(D);
  for (int Level = 2; Level <= 10; ++Level) {
    const QImage& Pattern = ui::HollowPattern(Level);
    ASSERT_EQ(Pattern.size(), QSize(8, 8));
    const QImage Image = Draw(D, Pen(5), Brush(0, 0x0000FF, 0, Level), false);
    // Red exactly where the pattern is black, white elsewhere, tile by tile.
    const int Painted = CountColor(Image, QRect(8, 8, 8, 8), 0xFFFF0000);
    EXPECT_EQ(Painted, (64 * (Level - 1) + 5) / 10) << Level;
    EXPECT_EQ(Painted + CountColor(Image, QRect(8, 8, 8, 8), 0xFFFFFFFF), 64);
    EXPECT_EQ(CountColor(Image, QRect(16, 24, 8, 8), 0xFFFF0000), Painted);
  }
}

TEST(StyleSample, HatchesOverTheBackground) {
  TDevPoints D;
  ui::AddRect(D, {0, 0, 40, 40}, true);
  ui::FinishDevPoints(D);
  const QRect Inner(4, 4, 32, 32);
  // Horizontal hatch: every line of the fill is all hatch or all background.
  const QImage Opaque = Draw(D, Pen(5), Brush(2, 0x00FF00, 0xFF0000, 0));
  const int Hatch = CountColor(Opaque, Inner, 0xFF0000FF);
  EXPECT_GT(Hatch, 0);
  EXPECT_EQ(Hatch % 32, 0);
  EXPECT_EQ(Hatch + CountColor(Opaque, Inner, 0xFF00FF00), 32 * 32);
  // Level 1: the lines over the untouched background.
  const QImage Clear = Draw(D, Pen(5), Brush(2, 0x00FF00, 0xFF0000, 1));
  EXPECT_EQ(CountColor(Clear, Inner, 0xFF0000FF), Hatch);
  EXPECT_EQ(CountColor(Clear, Inner, 0xFFFFFFFF), 32 * 32 - Hatch);
  // Level 5, no blending: lines, the pattern's share of green, white.
  const QImage Partly = Draw(D, Pen(5), Brush(2, 0x00FF00, 0xFF0000, 5), false);
  EXPECT_EQ(CountColor(Partly, Inner, 0xFF0000FF), Hatch);
  EXPECT_GT(CountColor(Partly, Inner, 0xFF00FF00), 0);
  EXPECT_GT(CountColor(Partly, Inner, 0xFFFFFFFF), 0);
}

TEST(StyleSample, PenWidthFromMillimetresAndScale) {
  QImage Image = White();
  QPainter Canvas(&Image);
  TPenRecord P = Pen(0, 0, 1.0);
  ui::ApplyPen(P, Canvas, 4000, 1000);  // 1 mm at 4000 pixels a metre
  EXPECT_EQ(Canvas.pen().width(), 4);
  P.ForZoomScale = 2000;  // given for 1:2000, drawn at 1:1000
  ui::ApplyPen(P, Canvas, 4000, 1000);
  EXPECT_EQ(Canvas.pen().width(), 2);
  P.Style = 6;
  ui::ApplyPen(P, Canvas, 4000, 1000);
  EXPECT_EQ(Canvas.pen().style(), Qt::SolidLine);
  EXPECT_EQ(Canvas.pen().width(), 2);
  P.Style = 1;  // dashed pens are thin
  ui::ApplyPen(P, Canvas, 4000, 1000);
  EXPECT_EQ(Canvas.pen().style(), Qt::DashLine);
  EXPECT_EQ(Canvas.pen().width(), 0);
}

}  // namespace
