#include "ui/style_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <span>

#include "ui/style_sample.h"

namespace ui {

namespace {

constexpr std::array<int, 8> BrushSamples = {1, 0, 2, 3, 4, 5, 6, 7};
constexpr std::array<int, 6> PenSamples = {5, 1, 2, 3, 4, 0};
constexpr int PenSolid = 0;
constexpr int PenInsideFrame = 6;

// A one-pixel frame: top and left lines in TopLeft, bottom and right in
// BottomRight; Rect shrinks by one pixel on each side.
void Frame(QPainter& Canvas, QRect& Rect, const QColor& TopLeft, const QColor& BottomRight) {
  if (Rect.width() < 1 || Rect.height() < 1) return;
  const int L = Rect.left(), T = Rect.top(), R = Rect.right(), B = Rect.bottom();
  Canvas.fillRect(L, T, 1, B - T + 1, TopLeft);
  Canvas.fillRect(L, T, R - L, 1, TopLeft);
  Canvas.fillRect(R, T, 1, B - T, BottomRight);
  Canvas.fillRect(L, B, R - L + 1, 1, BottomRight);
  Rect.adjust(1, 1, -1, -1);
}

// Every other pixel of the rectangle's border, as a focus rectangle on a
// white frame shows.
void FocusRect(QPainter& Canvas, const QRect& Rect) {
  Canvas.setPen(Qt::black);
  const int L = Rect.left(), T = Rect.top(), R = Rect.right(), B = Rect.bottom();
  const auto Dot = [&](int X, int Y) {
    if ((X - L + Y - T) % 2 == 0) Canvas.drawPoint(X, Y);
  };
  for (int X = L; X <= R; ++X) {
    Dot(X, T);
    Dot(X, B);
  }
  for (int Y = T + 1; Y < B; ++Y) {
    Dot(L, Y);
    Dot(R, Y);
  }
}

void CentredText(QPainter& Canvas, const QRect& Rect, const QColor& Color, const QString& Text) {
  Canvas.setPen(Color);
  Canvas.drawText(Rect, Qt::AlignCenter | Qt::TextSingleLine, Text);
}

int SampleOf(std::span<const int> Samples, int Index) {
  return Index >= 0 && Index < static_cast<int>(Samples.size())
             ? Samples[static_cast<std::size_t>(Index)]
             : -1;
}

// The first sample of a grid stands for no selection.
int SelectedStyle(std::span<const int> Samples, int Index) {
  const int S = SampleOf(Samples, Index);
  return S < 0 ? Samples[0] : S;
}

void SelectStyle(TStyleGrid& Grid, std::span<const int> Samples, int Style) {
  for (int I = 0; I < Grid.Count(); ++I)
    if (SampleOf(Samples, I) == Style) {
      Grid.SetStyleIndex(I);
      return;
    }
}

// Device rectangle of the pixels of Rect (right and bottom outside).
TDevRect DevRect(const QRect& Rect) {
  return {Rect.left(), Rect.top(), Rect.left() + Rect.width(), Rect.top() + Rect.height()};
}

}  // namespace

// ---------------------------------------------------------------------------

TStyleGrid::TStyleGrid(QWidget* Parent) : QWidget(Parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStyleGrid::SetCount(int Value) {
  FCount = std::max(Value, 0);
  if (FColCount > FCount) FColCount = FCount;
  if (FStyleIndex >= FCount || FColCount == 0) SetStyleIndex(-1);
  update();
}

void TStyleGrid::SetColCount(int Value) {
  if (Value > FCount || Value < 0) return;
  FColCount = Value;
  if (FColCount == 0) SetStyleIndex(-1);
  update();
}

void TStyleGrid::SetWrapStyle(TWrapStyle Value) {
  FWrapStyle = Value;
  update();
}

void TStyleGrid::SetStyleIndex(int Value) {
  const int New = Value >= 0 && Value < FCount && FColCount > 0 ? Value : -1;
  if (New == FStyleIndex) return;
  FStyleIndex = New;
  update();
  Changed();
}

void TStyleGrid::SelectByUser(int Index) {
  FStyleIndex = Index;
  update();
  Changed();
}

void TStyleGrid::Changed() {
  if (OnChanged) OnChanged(this);
}

int TStyleGrid::CellIndex(int Col, int Row) const {
  const int Rows = RowCount();
  if (Col < 0 || Row < 0 || Col >= FColCount || Row >= Rows) return -1;
  return FWrapStyle == wrHorVer ? Row * FColCount + Col : Col * Rows + Row;
}

bool TStyleGrid::SampleCell(int Index, int& Col, int& Row) const {
  if (Index < 0 || Index >= FCount || FColCount < 1) return false;
  if (FWrapStyle == wrHorVer) {
    Row = Index / FColCount;
    Col = Index % FColCount;
  } else {
    Col = Index / RowCount();
    Row = Index % RowCount();
  }
  return true;
}

QRect TStyleGrid::CellRect(int Col, int Row) const {
  const int W = FColCount < 1 ? width() : width() / FColCount;
  const int H = FColCount < 1 ? height() : height() / RowCount();
  return QRect(Col * W, Row * H, W, H);
}

void TStyleGrid::DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) {
  if (OnDrawStyle) OnDrawStyle(Canvas, Index, Rect);
}

void TStyleGrid::DrawCell(QPainter& Canvas, int Col, int Row) {
  QRect Rect = CellRect(Col, Row);
  const QPalette& P = palette();
  const int Index = CellIndex(Col, Row);
  if (Index < 0 || Index >= FCount) {
    Canvas.fillRect(Rect, P.color(QPalette::Base));
    return;
  }
  const QColor Face = P.color(QPalette::Button);
  const QColor Shadow = P.color(QPalette::Dark);
  const QColor Highlight = P.color(QPalette::Light);
  if (!isEnabled()) {
    Frame(Canvas, Rect, Face, Face);
    Frame(Canvas, Rect, Shadow, Highlight);
    Frame(Canvas, Rect, Highlight, Shadow);
    Canvas.fillRect(Rect, Face);
    return;
  }
  const bool Selected = Index == FStyleIndex;
  if (Selected) {
    Frame(Canvas, Rect, Qt::black, Qt::black);
    Frame(Canvas, Rect, Qt::white, Qt::white);
    Frame(Canvas, Rect, Qt::black, Qt::black);
  } else {
    Frame(Canvas, Rect, Face, Face);
    Frame(Canvas, Rect, Shadow, Highlight);
    Frame(Canvas, Rect, Qt::black, Face);
  }
  Canvas.save();
  Canvas.setFont(font());
  Canvas.setClipRect(Rect);
  DrawStyle(Canvas, Index, Rect);
  Canvas.restore();
  if (Selected && hasFocus()) FocusRect(Canvas, Rect.adjusted(-2, -2, 2, 2));
}

void TStyleGrid::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  Canvas.fillRect(rect(), palette().color(QPalette::Base));
  const int Rows = RowCount();
  for (int Row = 0; Row < Rows; ++Row)
    for (int Col = 0; Col < FColCount; ++Col) DrawCell(Canvas, Col, Row);
}

void TStyleGrid::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton && Event->button() != Qt::RightButton) return;
  if (FColCount < 1) return;
  const QRect First = CellRect(0, 0);
  if (First.width() < 1 || First.height() < 1) return;
  const QPoint Pos = Event->position().toPoint();
  const int Index = CellIndex(Pos.x() / First.width(), Pos.y() / First.height());
  if (Index >= 0 && Index < FCount) SelectByUser(Index);
}

void TStyleGrid::keyPressEvent(QKeyEvent* Event) {
  int Col = 0, Row = 0;
  if (!SampleCell(FStyleIndex, Col, Row)) {
    QWidget::keyPressEvent(Event);
    return;
  }
  switch (Event->key()) {
    case Qt::Key_Left:
      --Col;
      break;
    case Qt::Key_Right:
      ++Col;
      break;
    case Qt::Key_Up:
      --Row;
      break;
    case Qt::Key_Down:
      ++Row;
      break;
    default:
      QWidget::keyPressEvent(Event);
      return;
  }
  const int Index = CellIndex(Col, Row);
  if (Index >= 0 && Index < FCount) SelectByUser(Index);
}

void TStyleGrid::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::FontChange ||
      Event->type() == QEvent::PaletteChange)
    update();
  QWidget::changeEvent(Event);
}

// ---------------------------------------------------------------------------

TBrushStyleGrid::TBrushStyleGrid(QWidget* Parent) : TStyleGrid(Parent) {
  SetCount(static_cast<int>(BrushSamples.size()));
}

int TBrushStyleGrid::SampleStyle(int Index) {
  return SampleOf(BrushSamples, Index);
}

int TBrushStyleGrid::Style() const {
  return SelectedStyle(BrushSamples, StyleIndex());
}

void TBrushStyleGrid::SetStyle(int Value) {
  SelectStyle(*this, BrushSamples, Value);
}

void TBrushStyleGrid::SetBackColor(trace::TColorRef Value) {
  Repaint(FBackColor, Value);
}

void TBrushStyleGrid::SetHatchColor(trace::TColorRef Value) {
  Repaint(FHatchColor, Value);
}

void TBrushStyleGrid::SetTransparency(bool Value) {
  Repaint(FTransparency, Value);
}

void TBrushStyleGrid::DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) {
  const int Style = SampleStyle(Index);
  if (Style == 1) {
    Canvas.fillRect(Rect, palette().color(QPalette::Base));
    CentredText(Canvas, Rect, palette().color(QPalette::Text), QStringLiteral("Нет"));
    return;
  }
  if (Style < 0) return;
  TDevPointsLease D;
  AddRect(*D, DevRect(Rect), true);
  FinishDevPoints(*D);
  trace::TPenRecord Pen;
  Pen.Style = 5;
  trace::TBrushRecord Brush;
  Brush.Style = static_cast<std::uint8_t>(Style);
  Brush.BackColor = FBackColor;
  Brush.HatchColor = FHatchColor;
  Brush.Transparency = FTransparency ? 1 : 0;
  DrawShape(*D, Canvas, Pen, Brush, true, 1, 1);
}

// ---------------------------------------------------------------------------

TPenStyleGrid::TPenStyleGrid(QWidget* Parent) : TStyleGrid(Parent) {
  SetCount(static_cast<int>(PenSamples.size()));
}

void TPenStyleGrid::SetCount(int) {
  TStyleGrid::SetCount(static_cast<int>(PenSamples.size()));
}

int TPenStyleGrid::SampleStyle(int Index) {
  return SampleOf(PenSamples, Index);
}

int TPenStyleGrid::Style() const {
  return SelectedStyle(PenSamples, StyleIndex());
}

void TPenStyleGrid::SetStyle(int Value) {
  SelectStyle(*this, PenSamples, Value == PenInsideFrame ? PenSolid : Value);
}

void TPenStyleGrid::SetColor(trace::TColorRef Value) {
  Repaint(FColor, Value);
}

void TPenStyleGrid::DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) {
  Canvas.fillRect(Rect, palette().color(QPalette::Base));
  const int Style = SampleStyle(Index);
  if (Style == PenSolid) {
    CentredText(Canvas, Rect, ColorFromRef(FColor), QStringLiteral("Сплошная"));
    return;
  }
  if (Style == 5) {
    CentredText(Canvas, Rect, palette().color(QPalette::Text), QStringLiteral("Нет"));
    return;
  }
  if (Style < 0) return;
  TDevPointsLease D;
  const TDevRect R = DevRect(Rect);
  const int Y = (R.Top + R.Bottom) / 2;
  AddPoint(D->Current, {R.Left + 4, Y});
  AddPoint(D->Current, {R.Right - 4, Y});
  D->Current.Closed = false;
  FinishDevPoints(*D);
  trace::TPenRecord Pen;
  Pen.Style = static_cast<std::uint8_t>(Style);
  Pen.Color = FColor;
  trace::TBrushRecord Brush;
  Brush.Style = 1;
  DrawShape(*D, Canvas, Pen, Brush, true, 1, 1);
}

}  // namespace ui
