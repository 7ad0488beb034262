// Pen and brush records drawn as samples in the module's native windows with
// plain GDI: the collected polygons filled in the brush's style (solid, hatch
// or partly transparent), then outlined with the pen; polylines drawn with
// the pen.
#pragma once

#include <windows.h>

#include "trace/editor/style_records.h"
#include "trace/engine/dev_points.h"

namespace winui {

using trace::TDevPoints;

// Brush transparency levels: 0 opaque, 1 transparent background, 2 to 10
// partly transparent fill.
inline constexpr int MaxTransparencyLevel = 10;

// Constant alpha of the background fill at level 2 to 10.
inline int BlendAlpha(int Level) {
  return (Level - 1) * 255 / 10;
}

// The module's pattern bitmap "HOLLOW_<Level>" (2 to 10), loaded once: its
// black pixels are the ones the background colour covers.
HBITMAP HollowPattern(int Level);

// Selects a pen of the record into Canvas: width in millimetres, given for
// the scale 1:ForZoomScale and drawn at 1:ScaleFactor, DevicePerUnit device
// pixels per metre. The module keeps one pen (and one brush) made this way;
// ReleaseStyleObjects frees them once Canvas no longer holds them.
void ApplyPen(const trace::TPenRecord& Pen, HDC Canvas, double DevicePerUnit, double ScaleFactor);
void ApplyBrush(const trace::TBrushRecord& Brush, HDC Canvas);
void ReleaseStyleObjects();

// Whether Canvas can take AlphaBlend with constant alpha.
bool CanBlend(HDC Canvas);

// Partly transparent fills blend when UseAlphaBlend is set and the device can
// blend, else they use the level's pattern. Canvas's state is kept.
void DrawShape(const TDevPoints& D, HDC Canvas, const trace::TPenRecord& Pen,
               const trace::TBrushRecord& Brush, bool UseAlphaBlend, double DevicePerUnit,
               double ScaleFactor);

}  // namespace winui
