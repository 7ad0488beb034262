// Where map points fall on the view, as far as the host tells: the view's
// pixel grid from three DeviceToMap answers (any affine view), and its size
// when the host's overlay gives it.
#pragma once

#include <cmath>
#include <cstdint>

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

}  // namespace trace
