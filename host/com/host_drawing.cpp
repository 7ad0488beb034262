#include "host/com/host_drawing.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr double PixelsPerMillimetre = 96 / 25.4;

}  // namespace

THostPenState PenState(const kx::TKxPenRecord& Pen) {
  const double Scale = Pen.ForZoomScale;
  return {Pen.Style, Pen.Width, Scale > 0 ? 1 / Scale : 0, Pen.Color, Pen.Mode};
}

THostBrushState BrushState(const kx::TKxBrushRecord& Brush) {
  return {Brush.Style, Brush.BackColor, Brush.HatchColor, Brush.Transparency};
}

std::vector<THostPaintPart> PartsOfCommands(const THostCommands& Commands) {
  std::vector<THostPaintPart> Parts;
  for (const kx::TKxContourCommand& C : Commands) {
    switch (C.Kind) {
      case kx::kxMoveTo:
        Parts.emplace_back();
        Parts.back().Vertices.push_back({C.Point.X, C.Point.Y, 0});
        break;
      case kx::kxLineTo:
      case kx::kxArcTo:
        if (Parts.empty() || Parts.back().Closed) break;
        Parts.back().Vertices.push_back(
            {C.Point.X, C.Point.Y, C.Kind == kx::kxArcTo ? C.Convexity : 0});
        break;
      case kx::kxClose:
      case kx::kxCloseArc:
        if (Parts.empty() || Parts.back().Closed) break;
        Parts.back().Closed = true;
        Parts.back().Vertices.front().Convexity = C.Kind == kx::kxCloseArc ? C.CloseConvexity : 0;
        break;
      default:
        break;
    }
  }
  return Parts;
}

double PenPixels(const THostPenState& Pen, const THostViewTransform& T) {
  double Pixels = Pen.Width * PixelsPerMillimetre;
  if (Pen.WidthScale > 0) Pixels /= Pen.WidthScale * T.ScaleDenominator();
  return std::isfinite(Pixels) ? std::clamp(Pixels, 0.0, 1000.0) : 0.0;
}

}  // namespace host
