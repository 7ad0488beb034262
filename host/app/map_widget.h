// The map on screen: the host's map view (its transform, selection, editor
// and image) shown in a widget. The map is redrawn into the view's image
// only when it changed, and after a pan only where the shifted picture
// leaves a gap; selection marks and the rubber band are drawn over it. An installed editor gets the
// mouse, the keys and the paint; the middle button (or the left with the hand tool) always pans and
// the wheel zooms about the cursor.
#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "addonlib/geometry/primitives.h"
#include "compat/com.h"
#include "host/app/selection_marks.h"
#include "host/model/map_model.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostManager;
class THostMapView;

class TMapWidget : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(TMapWidget)

 public:
  explicit TMapWidget(THostManager& Manager, QWidget* Parent = nullptr);

  THostMapView& View() const;

  // Left drags pan while on.
  void SetHandTool(bool On) { FHand = On; }
  bool HandTool() const { return FHand; }

  void ZoomToAll();
  void ZoomToSelection();
  void ZoomToRect(const geo::TDRect& R);
  // Zooms by Factor (>1 in) keeping the map point under Pixel in place.
  void ZoomAt(QPointF Pixel, double Factor);
  void PanBy(QPoint Delta);

  // The map changed (objects, styles, layers): redraw on the next paint.
  void MapChanged();
  void SetSelection(std::vector<TKxID> IDs);
  void SetOnSelectionChanged(std::function<void()> F) { FOnSelection = std::move(F); }
  // Cursor position in metres, or nothing when it left the map.
  void SetOnCursor(std::function<void(std::optional<QPointF>)> F) { FOnCursor = std::move(F); }
  void SetOnViewChanged(std::function<void()> F) { FOnView = std::move(F); }
  // Called by MapChanged, and on an add-on's Invalidate (which may follow
  // objects it created).
  void SetOnMapChanged(std::function<void()> F) { FOnMapChanged = std::move(F); }
  // An editor's call failed; Text is its error.
  void SetOnEditorError(std::function<void(const QString&)> F) { FOnEditorError = std::move(F); }

  // The visible objects at a pixel, the topmost first.
  std::vector<const THostMapObject*> ObjectsAt(QPoint Pixel) const;
  // The topmost visible object at a pixel, if any.
  const THostMapObject* ObjectAt(QPoint Pixel) const;
  // What the map shows at a pixel, for its tool tip: each object's ID,
  // layer and styles, a line each, the topmost first; empty over nothing.
  QString DescribeAt(QPoint Pixel) const;
  // A left click at a map point, as a person does it, with Keys held.
  void ClickAt(double X, double Y, Qt::KeyboardModifiers Keys = Qt::NoModifier);
  // The mouse moved to a map point, no button held.
  void HoverAt(double X, double Y);

  // Milliseconds that the last map redraw took.
  double LastRenderMs() const { return FLastRenderMs; }

 protected:
  bool event(QEvent*) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  // The installed editor when it takes input, else none.
  kx::IKxEditor* InputEditor() const;
  void ViewChanged();
  void ReportCursor(QPoint Pixel);
  void SelectAt(QPoint Pixel, bool Add);
  void SelectIn(QRect Band, bool Add);
  // Reports a failed paint once, until another error or none.
  void ShowPaintError(bool Ok);
  // Reports a failed editor call with the host's last error.
  void EditorCall(HRESULT Code, const char* What);

  THostManager& FManager;
  bool FDirty = true;
  // The map itself changed, not only the view onto it: no reuse of the
  // picture drawn before.
  bool FMapDirty = true;
  // Only the editor's overlay changed.
  bool FOverlayDirty = false;
  bool FHand = false;
  std::optional<QPoint> FPanFrom;
  std::optional<QPoint> FCursorPixel;  // while the cursor is over the map
  std::optional<QPoint> FBandFrom;
  QPoint FBandTo;
  double FLastRenderMs = 0;
  TSelectionMarks FMarks;
  QString FLastPaintError;
  std::function<void()> FOnSelection;
  std::function<void(std::optional<QPointF>)> FOnCursor;
  std::function<void()> FOnView;
  std::function<void()> FOnMapChanged;
  std::function<void(const QString&)> FOnEditorError;
};

}  // namespace host
