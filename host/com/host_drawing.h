// What host geometry is drawn with, in no toolkit's terms: pen and brush
// states as the host's drawing objects and styles give them, parts whose
// vertices carry the convexity of the segment arriving at them, and the
// view transform. host_painter.h paints them with QPainter.
#pragma once

#include <cstdint>
#include <vector>

#include "host/model/host_contour.h"
#include "hostapi/kx_records.h"

namespace host {

// A point on the device, in pixels from the view's top-left corner.
struct THostDevicePoint {
  double X = 0;
  double Y = 0;
};

// Centre and resolution of a view, and its size in pixels; y grows up on
// the map and down on the device.
struct THostViewTransform {
  double CenterX = 0;
  double CenterY = 0;
  double MetresPerPixel = 1;
  std::int32_t Width = 800;
  std::int32_t Height = 600;

  // N of the scale 1:N at 96 pixels an inch.
  double ScaleDenominator() const { return MetresPerPixel * 96 / 0.0254; }
  THostDevicePoint ToDevice(double X, double Y) const {
    return {Width / 2.0 + (X - CenterX) / MetresPerPixel,
            Height / 2.0 - (Y - CenterY) / MetresPerPixel};
  }
  void ToMap(double DX, double DY, double& X, double& Y) const {
    X = CenterX + (DX - Width / 2.0) * MetresPerPixel;
    Y = CenterY - (DY - Height / 2.0) * MetresPerPixel;
  }
  bool operator==(const THostViewTransform&) const = default;
};

struct THostPenState {
  std::int32_t Style = 0;
  double Width = 0;       // millimetres
  double WidthScale = 0;  // 1/N for a width given at 1:N; 0: fixed on screen
  std::uint32_t Color = 0;
  std::int32_t Mode = 4;
  bool operator==(const THostPenState&) const = default;
};

struct THostBrushState {
  std::int32_t Style = 1;
  std::uint32_t BackColor = 0xFFFFFF;
  std::uint32_t HatchColor = 0;
  std::int32_t Transparency = 1;
  bool operator==(const THostBrushState&) const = default;
};

THostPenState PenState(const kx::TKxPenRecord& Pen);
THostBrushState BrushState(const kx::TKxBrushRecord& Brush);

struct THostPaintVertex {
  double X;
  double Y;
  double Convexity;  // of the segment arriving here; on vertex 0 of a closed part, the closing one
  bool operator==(const THostPaintVertex&) const = default;
};

struct THostPaintPart {
  std::vector<THostPaintVertex> Vertices;
  bool Closed = false;
  bool operator==(const THostPaintPart&) const = default;
};

// The parts of checked host commands.
std::vector<THostPaintPart> PartsOfCommands(const THostCommands& Commands);

// Width in pixels of the host's pen on a view of transform T.
double PenPixels(const THostPenState& Pen, const THostViewTransform& T);

}  // namespace host
