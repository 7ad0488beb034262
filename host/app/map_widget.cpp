#include "host/app/map_widget.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "host/com/host_manager.h"

namespace host {

namespace {

// The editor's shift word: the keys, then the buttons held.
std::int32_t ShiftWord(Qt::KeyboardModifiers Keys, Qt::MouseButtons Buttons) {
  std::int32_t Shift = 0;
  if (Keys & Qt::ShiftModifier) Shift |= kx::kxShiftStateShift;
  if (Keys & Qt::AltModifier) Shift |= kx::kxShiftStateAlt;
  if (Keys & Qt::ControlModifier) Shift |= kx::kxShiftStateCtrl;
  if (Buttons & Qt::LeftButton) Shift |= 8;
  if (Buttons & Qt::RightButton) Shift |= 16;
  if (Buttons & Qt::MiddleButton) Shift |= 32;
  return Shift;
}

// The editor's button numbers: left 0, right 1, middle 2.
std::int32_t ButtonCode(Qt::MouseButton Button) {
  return Button == Qt::RightButton ? 1 : Button == Qt::MiddleButton ? 2 : 0;
}

// The editor's key codes: virtual key numbers.
std::uint16_t KeyCode(const QKeyEvent* E) {
  const int K = E->key();
  if ((K >= Qt::Key_A && K <= Qt::Key_Z) || (K >= Qt::Key_0 && K <= Qt::Key_9))
    return static_cast<std::uint16_t>(K);
  switch (K) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

constexpr int ClickTolerance = 4;  // pixels

}  // namespace

TMapWidget::TMapWidget(THostManager& Manager, QWidget* Parent)
    : QWidget(Parent), FManager(Manager) {
  setObjectName(QStringLiteral("MapView"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  // An editor invalidates as the mouse moves: its drawing is redrawn over
  // the map kept, which the view redraws only when the project changed.
  View().SetInvalidateHandler([this] {
    FDirty = true;
    update();
    if (FOnMapChanged) FOnMapChanged();
  });
  // The editor's rubber line and marker alone: drawn again over the
  // picture kept, with neither the map nor the editor's Paint redrawn.
  View().SetInvalidateOverlayHandler([this] {
    FOverlayDirty = true;
    update();
  });
}

THostMapView& TMapWidget::View() const {
  return FManager.MapView();
}

void TMapWidget::MapChanged() {
  FDirty = true;
  FMapDirty = true;
  update();
  if (FOnMapChanged) FOnMapChanged();
}

void TMapWidget::ViewChanged() {
  FDirty = true;
  update();
  // The map moved under a cursor that stood still.
  if (FCursorPixel) ReportCursor(*FCursorPixel);
  if (FOnView) FOnView();
}

void TMapWidget::ReportCursor(QPoint Pixel) {
  if (!FOnCursor) return;
  double X, Y;
  View().Transform().ToMap(Pixel.x(), Pixel.y(), X, Y);
  FOnCursor(QPointF(X, Y));
}

void TMapWidget::ZoomToRect(const geo::TDRect& R) {
  THostViewTransform T = View().Transform();
  T.CenterX = (R.X1 + R.X2) / 2;
  T.CenterY = (R.Y1 + R.Y2) / 2;
  const double M = std::max((R.X2 - R.X1) / T.Width, (R.Y2 - R.Y1) / T.Height) * 1.05;
  // A point or a tiny object: keep a useful scale.
  T.MetresPerPixel = std::max(M, 0.01);
  View().SetTransform(T);
  ViewChanged();
}

void TMapWidget::ZoomToAll() {
  geo::TDRect R;
  if (FManager.Project().Bounds(R)) ZoomToRect(R);
}

void TMapWidget::ZoomToSelection() {
  bool Any = false;
  geo::TDRect All{};
  for (const TKxID& ID : View().Selection()) {
    const THostMapObject* O = FManager.Project().FindObject(ID);
    if (!O) continue;
    All = Any ? geo::TDRect{std::min(All.X1, O->Bounds.X1), std::min(All.Y1, O->Bounds.Y1),
                            std::max(All.X2, O->Bounds.X2), std::max(All.Y2, O->Bounds.Y2)}
              : O->Bounds;
    Any = true;
  }
  if (Any) ZoomToRect(All);
}

void TMapWidget::ZoomAt(QPointF Pixel, double Factor) {
  THostViewTransform T = View().Transform();
  double X, Y;
  T.ToMap(Pixel.x(), Pixel.y(), X, Y);
  const double M = std::clamp(T.MetresPerPixel / Factor, 1e-4, 1e6);
  // Keep (X, Y) under the pixel.
  T.CenterX = X - (Pixel.x() - T.Width / 2.0) * M;
  T.CenterY = Y + (Pixel.y() - T.Height / 2.0) * M;
  T.MetresPerPixel = M;
  View().SetTransform(T);
  ViewChanged();
}

void TMapWidget::PanBy(QPoint Delta) {
  THostViewTransform T = View().Transform();
  T.CenterX -= Delta.x() * T.MetresPerPixel;
  T.CenterY += Delta.y() * T.MetresPerPixel;
  View().SetTransform(T);
  ViewChanged();
}

void TMapWidget::SetSelection(std::vector<TKxID> IDs) {
  View().SetSelection(std::move(IDs));
  update();
  if (FOnSelection) FOnSelection();
}

void TMapWidget::EditorCall(HRESULT Code, const char* What) {
  if (SUCCEEDED(Code) || !FOnEditorError) return;
  std::string Text = FManager.ErrorInfo().MessageUtf8();
  if (Text.empty()) Text = tr("%1 failed").arg(QString::fromLatin1(What)).toStdString();
  // Not from inside the event handler: a message box would nest loops there.
  QTimer::singleShot(0, this, [this, T = QString::fromStdString(Text)] {
    if (FOnEditorError) FOnEditorError(T);
  });
}

void TMapWidget::paintEvent(QPaintEvent*) {
  if (FDirty) {
    QElapsedTimer Clock;
    Clock.start();
    const bool Ok = View().Render(!FMapDirty);
    FLastRenderMs = Clock.nsecsElapsed() / 1e6;
    FDirty = false;
    FMapDirty = false;
    FOverlayDirty = false;
    ShowPaintError(Ok);
  } else if (FOverlayDirty) {
    FOverlayDirty = false;
    ShowPaintError(View().RenderOverlay());
  }
  QPainter P(this);
  P.drawImage(0, 0, FManager.Picture().Image());
  if (!View().Selection().empty())
    P.drawImage(0, 0, FMarks.Layer(FManager.Project(), View().Selection(), View().Transform()));
  if (FBandFrom) {
    P.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
    P.setBrush(QColor(0, 90, 200, 30));
    P.drawRect(QRect(*FBandFrom, FBandTo).normalized());
  }
}

void TMapWidget::ShowPaintError(bool Ok) {
  const QString Error = Ok ? QString() : QString::fromStdString(View().LastPaintError());
  if (!Error.isEmpty() && Error != FLastPaintError && FOnEditorError)
    QTimer::singleShot(0, this, [this, Error] { FOnEditorError(Error); });
  FLastPaintError = Error;
}

void TMapWidget::resizeEvent(QResizeEvent*) {
  THostViewTransform T = View().Transform();
  T.Width = std::max(1, width());
  T.Height = std::max(1, height());
  View().SetTransform(T);
  ViewChanged();
}

std::vector<const THostMapObject*> TMapWidget::ObjectsAt(QPoint Pixel) const {
  const THostViewTransform& T = View().Transform();
  const double Tol = ClickTolerance * T.MetresPerPixel;
  double X, Y;
  T.ToMap(Pixel.x(), Pixel.y(), X, Y);
  const THostProject& Project = FManager.Project();
  // Drawn last is on top: the top layer first, and in a layer the object
  // added last first.
  std::vector<std::pair<std::size_t, const THostMapObject*>> Candidates;
  for (const THostMapObject* O : Project.ObjectsInRect({X - Tol, Y - Tol, X + Tol, Y + Tol}))
    if (const auto Rank = View().LayerRank(O->LayerID)) Candidates.emplace_back(*Rank, O);
  std::stable_sort(Candidates.begin(), Candidates.end(),
                   [](const auto& A, const auto& B) { return A.first < B.first; });
  const QPointF At(Pixel);
  QPainterPathStroker Stroker;
  Stroker.setWidth(2 * ClickTolerance);
  std::vector<const THostMapObject*> Hits;
  for (auto C = Candidates.rbegin(); C != Candidates.rend(); ++C) {
    const THostMapObject* O = C->second;
    for (const THostShape& S : O->Shapes) {
      const auto Parts = PartsOfCommands(S.Commands);
      const QPainterPath Path = PaintPath(Parts, T);
      // Inside counts for areas only: a ring road is hit on its line, not
      // anywhere in the town it rings.
      const THostStyle* Style = Project.FindStyle(S.StyleID);
      const bool Filled = Style && Style->Area &&
                          std::all_of(Parts.begin(), Parts.end(),
                                      [](const THostPaintPart& Part) { return Part.Closed; });
      if ((Filled && Path.contains(At)) || Stroker.createStroke(Path).contains(At)) {
        Hits.push_back(O);
        break;
      }
    }
  }
  return Hits;
}

const THostMapObject* TMapWidget::ObjectAt(QPoint Pixel) const {
  const auto Hits = ObjectsAt(Pixel);
  return Hits.empty() ? nullptr : Hits.front();
}

QString TMapWidget::DescribeAt(QPoint Pixel) const {
  const THostProject& P = FManager.Project();
  QStringList Lines;
  for (const THostMapObject* O : ObjectsAt(Pixel)) {
    const THostLayer* Layer = P.FindLayer(O->LayerID);
    QStringList Styles;
    for (const THostShape& S : O->Shapes)
      if (const THostStyle* Style = P.FindStyle(S.StyleID)) {
        const QString Name = QString::fromStdString(Style->Name);
        if (!Styles.contains(Name)) Styles << Name;
      }
    Lines << QString::fromStdString(IDText(O->ID)) + " — " +
                 (Layer ? QString::fromStdString(Layer->Caption) : QString()) + ": " +
                 Styles.join(", ");
  }
  return Lines.join('\n');
}

bool TMapWidget::event(QEvent* E) {
  if (E->type() == QEvent::ToolTip) {
    const auto* Help = static_cast<QHelpEvent*>(E);
    const QString Text = DescribeAt(Help->pos());
    if (Text.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(Help->globalPos(), Text, this);
    return true;
  }
  return QWidget::event(E);
}

void TMapWidget::SelectAt(QPoint Pixel, bool Add) {
  const THostMapObject* Hit = ObjectAt(Pixel);
  std::vector<TKxID> IDs = Add ? View().Selection() : std::vector<TKxID>{};
  if (Hit) {
    const auto Same = [&](const TKxID& ID) { return IDKey(ID) == IDKey(Hit->ID); };
    const auto It = std::find_if(IDs.begin(), IDs.end(), Same);
    if (It == IDs.end())
      IDs.push_back(Hit->ID);
    else if (Add)
      IDs.erase(It);  // Shift-click on a selected object takes it out
  }
  SetSelection(std::move(IDs));
}

void TMapWidget::SelectIn(QRect Band, bool Add) {
  const THostViewTransform& T = View().Transform();
  double X1, Y1, X2, Y2;
  T.ToMap(Band.left(), Band.bottom(), X1, Y1);
  T.ToMap(Band.right(), Band.top(), X2, Y2);
  std::vector<TKxID> IDs = Add ? View().Selection() : std::vector<TKxID>{};
  for (const THostMapObject* O : FManager.Project().ObjectsInRect({X1, Y1, X2, Y2})) {
    const geo::TDRect& B = O->Bounds;
    if (B.X1 < X1 || B.X2 > X2 || B.Y1 < Y1 || B.Y2 > Y2 || !View().LayerShown(O->LayerID))
      continue;
    const auto Same = [&](const TKxID& ID) { return IDKey(ID) == IDKey(O->ID); };
    if (std::none_of(IDs.begin(), IDs.end(), Same)) IDs.push_back(O->ID);
  }
  SetSelection(std::move(IDs));
}

// An editor takes the mouse and the keys only while its option word is not
// 0: a suspended editor answers 0, and the map then selects as without one.
kx::IKxEditor* TMapWidget::InputEditor() const {
  kx::IKxEditor* Editor = View().Editor();
  std::uint32_t Options = 0;
  return Editor && SUCCEEDED(Editor->GetOptions(&Options)) && Options != 0 ? Editor : nullptr;
}

void TMapWidget::mousePressEvent(QMouseEvent* E) {
  const QPoint P = E->position().toPoint();
  if (E->button() == Qt::MiddleButton || (E->button() == Qt::LeftButton && FHand)) {
    FPanFrom = P;
    setCursor(Qt::ClosedHandCursor);
    return;
  }
  if (kx::IKxEditor* Editor = InputEditor()) {
    View().Operation27();
    EditorCall(Editor->MouseDown(ButtonCode(E->button()), ShiftWord(E->modifiers(), E->buttons()),
                                 P.x(), P.y()),
               "MouseDown");
    return;
  }
  if (E->button() == Qt::LeftButton) {
    FBandFrom = P;
    FBandTo = P;
  }
}

void TMapWidget::mouseMoveEvent(QMouseEvent* E) {
  const QPoint P = E->position().toPoint();
  FCursorPixel = P;
  ReportCursor(P);
  if (FPanFrom) {
    const QPoint Delta = P - *FPanFrom;
    FPanFrom = P;
    PanBy(Delta);
    return;
  }
  if (FBandFrom) {
    FBandTo = P;
    update();
    return;
  }
  if (kx::IKxEditor* Editor = InputEditor())
    EditorCall(Editor->MouseMove(ShiftWord(E->modifiers(), E->buttons()), P.x(), P.y()),
               "MouseMove");
}

void TMapWidget::mouseReleaseEvent(QMouseEvent* E) {
  const QPoint P = E->position().toPoint();
  if (FPanFrom && (E->button() == Qt::MiddleButton || E->button() == Qt::LeftButton)) {
    FPanFrom.reset();
    unsetCursor();
    return;
  }
  if (FBandFrom && E->button() == Qt::LeftButton) {
    const QRect Band = QRect(*FBandFrom, P).normalized();
    const bool Add = E->modifiers() & Qt::ShiftModifier;
    FBandFrom.reset();
    if (Band.width() <= ClickTolerance && Band.height() <= ClickTolerance)
      SelectAt(P, Add);
    else
      SelectIn(Band, Add);
    return;
  }
  if (kx::IKxEditor* Editor = InputEditor())
    EditorCall(Editor->MouseUp(ButtonCode(E->button()), ShiftWord(E->modifiers(), E->buttons()),
                               P.x(), P.y()),
               "MouseUp");
}

void TMapWidget::wheelEvent(QWheelEvent* E) {
  const double Steps = E->angleDelta().y() / 120.0;
  if (Steps != 0) ZoomAt(E->position(), std::pow(1.25, Steps));
}

void TMapWidget::keyPressEvent(QKeyEvent* E) {
  if (kx::IKxEditor* Editor = InputEditor()) {
    if (const std::uint16_t Key = KeyCode(E)) {
      EditorCall(Editor->KeyDown(Key, ShiftWord(E->modifiers(), Qt::NoButton)), "KeyDown");
      return;
    }
  }
  if (E->key() == Qt::Key_Escape) {
    FBandFrom.reset();
    if (!View().Selection().empty()) SetSelection({});
    update();
    return;
  }
  QWidget::keyPressEvent(E);
}

void TMapWidget::keyReleaseEvent(QKeyEvent* E) {
  if (kx::IKxEditor* Editor = InputEditor())
    if (const std::uint16_t Key = KeyCode(E); Key && !E->isAutoRepeat()) {
      EditorCall(Editor->KeyUp(Key, ShiftWord(E->modifiers(), Qt::NoButton)), "KeyUp");
      return;
    }
  QWidget::keyReleaseEvent(E);
}

void TMapWidget::leaveEvent(QEvent*) {
  FCursorPixel.reset();
  if (FOnCursor) FOnCursor(std::nullopt);
}

namespace {

QPoint NearestPixel(const THostViewTransform& T, double X, double Y) {
  const QPointF D = QtPoint(T.ToDevice(X, Y));
  return {static_cast<int>(std::floor(D.x() + 0.5)), static_cast<int>(std::floor(D.y() + 0.5))};
}

}  // namespace

void TMapWidget::HoverAt(double X, double Y) {
  const QPoint P = NearestPixel(View().Transform(), X, Y);
  QMouseEvent Move(QEvent::MouseMove, P, mapToGlobal(P), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  mouseMoveEvent(&Move);
}

void TMapWidget::ClickAt(double X, double Y, Qt::KeyboardModifiers Keys) {
  const QPoint P = NearestPixel(View().Transform(), X, Y);
  QMouseEvent Down(QEvent::MouseButtonPress, P, mapToGlobal(P), Qt::LeftButton, Qt::LeftButton,
                   Keys);
  QMouseEvent Up(QEvent::MouseButtonRelease, P, mapToGlobal(P), Qt::LeftButton, Qt::NoButton, Keys);
  mousePressEvent(&Down);
  mouseReleaseEvent(&Up);
}

}  // namespace host
