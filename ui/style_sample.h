// Pen and brush records drawn as samples in the add-on's own windows: the
// collected polygons filled in the brush's style (solid, hatch or partly
// transparent), then outlined with the pen, polylines drawn with the pen.
#pragma once

#include <QColor>
#include <QImage>

#include "compat/gdi_styles.h"
#include "trace/editor/style_records.h"
#include "trace/engine/dev_points.h"

class QPainter;

namespace ui {

// Colour values as the host's pen and brush records hold them.
using compat::ColorFromRef;
using compat::ColorToRef;

// The device points that samples are drawn from.
using trace::AddPoint;
using trace::AddRect;
using trace::FinishDevPoints;
using trace::FlushPart;
using trace::ResetDevPoints;
using trace::TDevPoint;
using trace::TDevPoints;
using trace::TDevPointsLease;
using trace::TDevRect;
using trace::TPointList;
using trace::TPolyPointList;

// Brush transparency levels: 0 opaque, 1 transparent background, 2 to 10
// partly transparent fill.
inline constexpr int MaxTransparencyLevel = 10;

// Constant alpha of the background fill at level 2 to 10.
inline int BlendAlpha(int Level) {
  return (Level - 1) * 255 / 10;
}

// The module's pattern bitmap "HOLLOW_<Level>" (2 to 10): black pixels are
// the ones the background colour covers.
const QImage& HollowPattern(int Level);

// Width in millimetres; DevicePerUnit device pixels per metre; the width is
// given for the scale 1:ForZoomScale and drawn at 1:ScaleFactor.
void ApplyPen(const trace::TPenRecord& Pen, QPainter& Canvas, double DevicePerUnit,
              double ScaleFactor);
void ApplyBrush(const trace::TBrushRecord& Brush, QPainter& Canvas);

// Partly transparent fills blend when UseAlphaBlend is set and the device can
// blend, else they use the level's pattern.
void DrawShape(const TDevPoints& D, QPainter& Canvas, const trace::TPenRecord& Pen,
               const trace::TBrushRecord& Brush, bool UseAlphaBlend, double DevicePerUnit,
               double ScaleFactor);

}  // namespace ui
