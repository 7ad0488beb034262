#include "addonlib/geometry/tolerance.h"

#include <algorithm>
#include <cmath>

#include "addonlib/geometry/rect.h"

namespace geo {

namespace {
// The default working tolerance of calls made without a context, one per
// thread, so that a scope on one thread leaves the others alone.
thread_local double WorkTolerance = 0;
}  // namespace

TTolerance TTolerance::Current() {
  return TTolerance{0, WorkTolerance};
}

TWorkToleranceScope::TWorkToleranceScope(double Work) : FSaved(WorkTolerance) {
  WorkTolerance = Work;
}

TWorkToleranceScope::~TWorkToleranceScope() {
  WorkTolerance = FSaved;
}

TTolerance TTolerance::ForInputs(const TDRect& R0, const TDRect& R1, double Split) {
  const double Extent =
      std::min(std::min(RectWidth(R0), RectHeight(R0)), std::min(RectWidth(R1), RectHeight(R1)));
  TDRect Bounds = R0;
  ExtendRect(Bounds, R1);
  // Small inputs far from the origin: their coordinates carry rounding of
  // about 2^-52 of their magnitude, and centres, radii and crossings computed
  // from them carry some multiple of it. A tolerance below that would tell
  // apart what is one point, one circle or a tangent, and cut edges at
  // points chosen by the rounding; it never goes below 2^-46 of the largest
  // coordinate (1E-7 at six million), still far below PointTolerance.
  const double Magnitude = std::max(
      {std::fabs(Bounds.X1), std::fabs(Bounds.X2), std::fabs(Bounds.Y1), std::fabs(Bounds.Y2)});
  return TTolerance{Split, std::max(Extent * ConnectTolerance, std::ldexp(Magnitude, -46))};
}

}  // namespace geo
