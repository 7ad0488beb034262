#include "ui/style_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include "ui/style_sample.h"

namespace ui {

namespace {

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

// Device rectangle of the pixels of Rect (right and bottom outside).
TDevRect DevRect(const QRect& Rect) {
  return {Rect.left(), Rect.top(), Rect.left() + Rect.width(), Rect.top() + Rect.height()};
}

}  // namespace

// ---------------------------------------------------------------------------

TStyleGrid::TStyleGrid(QWidget* Parent) : QWidget(Parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Attach(nullptr, std::make_unique<forms::TStyleGridModel>());
}

// An attached model may be gone already: the settings dialog's goes before
// the dialog's controls.
TStyleGrid::~TStyleGrid() = default;

void TStyleGrid::Attach(forms::TStyleGridModel* Model,
                        std::unique_ptr<forms::TStyleGridModel> Own) {
  forms::TStyleGridModel* M = Model ? Model : Own.get();
  if (Model && FModel) {
    // What a form set on the grid holds for the model it now shows.
    M->SetCount(FModel->Count());
    M->SetColCount(FModel->ColCount());
    FModel->OnChanged = nullptr;
    FModel->OnRepaint = nullptr;
  }
  FModel = M;
  FOwn = std::move(Own);
  FModel->OnRepaint = [this] { update(); };
  FModel->OnChanged = [this] {
    if (OnChanged) OnChanged(this);
  };
  update();
}

QRect TStyleGrid::CellRect(int Col, int Row) const {
  const forms::TCellRect R = FModel->CellRect(Col, Row, width(), height());
  return QRect(R.Left, R.Top, R.Width, R.Height);
}

void TStyleGrid::DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) {
  const forms::TSampleLook Look = FModel->Sample(Index);
  switch (Look.Kind) {
    case forms::TSampleLook::None:
      if (OnDrawStyle) OnDrawStyle(Canvas, Index, Rect);
      return;
    case forms::TSampleLook::Label:
      Canvas.fillRect(Rect, palette().color(QPalette::Base));
      CentredText(
          Canvas, Rect,
          Look.TextInPenColor ? ColorFromRef(Look.Pen.Color) : palette().color(QPalette::Text),
          QString::fromStdString(Look.Text));
      return;
    case forms::TSampleLook::Fill: {
      TDevPointsLease D;
      AddRect(*D, DevRect(Rect), true);
      FinishDevPoints(*D);
      DrawShape(*D, Canvas, Look.Pen, Look.Brush, true, 1, 1);
      return;
    }
    case forms::TSampleLook::Line: {
      Canvas.fillRect(Rect, palette().color(QPalette::Base));
      TDevPointsLease D;
      const TDevRect R = DevRect(Rect);
      const int Y = (R.Top + R.Bottom) / 2;
      AddPoint(D->Current, {R.Left + 4, Y});
      AddPoint(D->Current, {R.Right - 4, Y});
      D->Current.Closed = false;
      FinishDevPoints(*D);
      DrawShape(*D, Canvas, Look.Pen, Look.Brush, true, 1, 1);
      return;
    }
  }
}

void TStyleGrid::DrawCell(QPainter& Canvas, int Col, int Row) {
  QRect Rect = CellRect(Col, Row);
  const QPalette& P = palette();
  const QColor Face = P.color(QPalette::Button);
  const QColor Shadow = P.color(QPalette::Dark);
  const QColor Highlight = P.color(QPalette::Light);
  const forms::TCellLook Look = FModel->CellLook(Col, Row, isEnabled());
  switch (Look) {
    case forms::TCellLook::Empty:
      Canvas.fillRect(Rect, P.color(QPalette::Base));
      return;
    case forms::TCellLook::Disabled:
      Frame(Canvas, Rect, Face, Face);
      Frame(Canvas, Rect, Shadow, Highlight);
      Frame(Canvas, Rect, Highlight, Shadow);
      Canvas.fillRect(Rect, Face);
      return;
    case forms::TCellLook::Selected:
      Frame(Canvas, Rect, Qt::black, Qt::black);
      Frame(Canvas, Rect, Qt::white, Qt::white);
      Frame(Canvas, Rect, Qt::black, Qt::black);
      break;
    case forms::TCellLook::Normal:
      Frame(Canvas, Rect, Face, Face);
      Frame(Canvas, Rect, Shadow, Highlight);
      Frame(Canvas, Rect, Qt::black, Face);
      break;
  }
  Canvas.save();
  Canvas.setFont(font());
  Canvas.setClipRect(Rect);
  DrawStyle(Canvas, FModel->CellIndex(Col, Row), Rect);
  Canvas.restore();
  if (Look == forms::TCellLook::Selected && hasFocus())
    FocusRect(Canvas, Rect.adjusted(-2, -2, 2, 2));
}

void TStyleGrid::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  Canvas.fillRect(rect(), palette().color(QPalette::Base));
  const int Rows = FModel->RowCount();
  for (int Row = 0; Row < Rows; ++Row)
    for (int Col = 0; Col < FModel->ColCount(); ++Col) DrawCell(Canvas, Col, Row);
}

void TStyleGrid::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton && Event->button() != Qt::RightButton) return;
  const QPoint Pos = Event->position().toPoint();
  FModel->Click(Pos.x(), Pos.y(), width(), height());
}

void TStyleGrid::keyPressEvent(QKeyEvent* Event) {
  int Col = 0, Row = 0;
  if (!FModel->SampleCell(FModel->StyleIndex(), Col, Row)) {
    QWidget::keyPressEvent(Event);
    return;
  }
  switch (Event->key()) {
    case Qt::Key_Left:
      FModel->Step(-1, 0);
      break;
    case Qt::Key_Right:
      FModel->Step(1, 0);
      break;
    case Qt::Key_Up:
      FModel->Step(0, -1);
      break;
    case Qt::Key_Down:
      FModel->Step(0, 1);
      break;
    default:
      QWidget::keyPressEvent(Event);
  }
}

void TStyleGrid::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::FontChange ||
      Event->type() == QEvent::PaletteChange)
    update();
  QWidget::changeEvent(Event);
}

// ---------------------------------------------------------------------------

TBrushStyleGrid::TBrushStyleGrid(QWidget* Parent) : TStyleGrid(Parent) {
  TStyleGrid::Attach(nullptr, std::make_unique<forms::TBrushStyleGridModel>());
}

forms::TBrushStyleGridModel& TBrushStyleGrid::Model() const {
  return static_cast<forms::TBrushStyleGridModel&>(TStyleGrid::Model());
}

TPenStyleGrid::TPenStyleGrid(QWidget* Parent) : TStyleGrid(Parent) {
  TStyleGrid::Attach(nullptr, std::make_unique<forms::TPenStyleGridModel>());
}

forms::TPenStyleGridModel& TPenStyleGrid::Model() const {
  return static_cast<forms::TPenStyleGridModel&>(TStyleGrid::Model());
}

}  // namespace ui
