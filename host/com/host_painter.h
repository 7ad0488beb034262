// Drawing host geometry (host_drawing.h) with QPainter.
#pragma once

#include <QPainter>
#include <QPainterPath>
#include <vector>

#include "host/com/host_drawing.h"

namespace host {

inline QPointF QtPoint(THostDevicePoint P) {
  return {P.X, P.Y};
}

// Device path of the parts; arcs become chords within a quarter pixel.
QPainterPath PaintPath(const std::vector<THostPaintPart>& Parts, const THostViewTransform& T);

// A pen and brush as QPainter takes them at one resolution: a map redraw
// makes one per style, not one per object.
struct THostDrawStyle {
  bool Stroked = false;
  QPen Pen;
  // Closed parts are filled with Back, then with Hatch, where set.
  bool Back = false;
  QBrush BackBrush;
  bool Hatch = false;
  QBrush HatchBrush;
};
THostDrawStyle DrawStyle(const THostPenState& Pen, const THostBrushState& Brush,
                         const THostViewTransform& T);

// Strokes and fills Path (closed parts filled) as the host's pen and brush
// would on a view of transform T.
void PaintParts(QPainter& Painter, const std::vector<THostPaintPart>& Parts,
                const THostPenState& Pen, const THostBrushState& Brush,
                const THostViewTransform& T);
// The same with the style made beforehand, on a painter already set to
// antialias; the painter's pen is left as Style's.
void PaintParts(QPainter& Painter, const std::vector<THostPaintPart>& Parts,
                const THostDrawStyle& Style, const THostViewTransform& T);

QColor HostColor(std::uint32_t Color);

}  // namespace host
