// Planar primitives: points, rectangles and the tolerance rules of the kernel.
#pragma once

#include <cmath>
#include <cstdint>

namespace geo {

// A point or a vector in map metres.
struct TDPoint {
  double X;
  double Y;
};

// Axis-parallel rectangle; normalised form has X1 <= X2 and Y1 <= Y2.
struct TDRect {
  double X1;
  double Y1;
  double X2;
  double Y2;
};

// Two points are the same when both coordinate differences are strictly below it.
inline constexpr long double PointTolerance = 1E-6L;
// Convexity comparisons and boundary tests; the factor of WorkTolerance.
extern const double ConnectTolerance;

// True when abs(A.X - B.X) < 1E-6 and abs(A.Y - B.Y) < 1E-6.
inline bool SamePoint(const TDPoint& A, const TDPoint& B) {
  return std::fabs(static_cast<long double>(A.X) - B.X) < PointTolerance &&
         std::fabs(static_cast<long double>(A.Y) - B.Y) < PointTolerance;
}

}  // namespace geo
