// Where map points fall on the view, as far as the host tells: the view's
// pixel grid from three DeviceToMap answers (any affine view), and its size
// when the host's overlay gives it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "addonlib/geometry/primitives.h"

namespace trace {

struct TViewFrame {
  // Map point of pixel (0, 0) and the map steps of one pixel right and down.
  geo::TDPoint Origin{}, Right{}, Down{};
  // Pixels; 0 when the host does not say.
  std::int32_t Width = 0, Height = 0;

  // The map length of one pixel (of its longer side).
  double PixelMetres() const {
    return std::max(std::hypot(Right.X, Right.Y), std::hypot(Down.X, Down.Y));
  }
  // The pixel coordinates of map point P; false for a degenerate grid.
  bool ToDevice(const geo::TDPoint& P, double& DX, double& DY) const {
    const double Det = Right.X * Down.Y - Right.Y * Down.X;
    if (Det == 0) return false;
    const double X = P.X - Origin.X, Y = P.Y - Origin.Y;
    DX = (X * Down.Y - Y * Down.X) / Det;
    DY = (Right.X * Y - Right.Y * X) / Det;
    return true;
  }
};

// How far beyond the view an outline is cut: more than half any pen.
inline constexpr double CutMarginPixels = 64;

// A vertex of a part to draw; C is the convexity of the edge arriving here.
struct TDrawVertex {
  double X, Y, C;
};

// What of an open or closed part shows on the view, with the same picture
// there: vertices of edges shorter than half a pixel are left out, and a
// run of vertices that all lie beyond one side of the view, by Margin
// pixels or more, is cut to its two ends joined by a straight edge (what
// lies beyond one side is left there by a chord on that side, so neither
// stroke nor fill changes in view). The first and the last vertex stay.
// Arcs over a half circle, or bulging by more than half the margin, are
// kept whole.
std::vector<TDrawVertex> VisibleVertices(const std::vector<TDrawVertex>& Part, const TViewFrame& F,
                                         double Margin);

}  // namespace trace
