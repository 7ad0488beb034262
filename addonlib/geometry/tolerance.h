// Tolerances: the whole story, in one place.
//
// Three kinds of tolerance decide when two computed things are one:
//
// 1. Fixed constants of the kernel (primitives.h). PointTolerance (1e-6)
//    decides when two points are one (both coordinate differences strictly
//    below it), a convexity of at most LineConvexityLimit (1e-15) is a
//    straight edge, and ConnectTolerance (1e-9) is the factor of the working
//    tolerance below and the slack of convexity comparisons. They are part of
//    what stored contours and the host expect, so they never scale.
//
// 2. The length tolerances of one computation on contours, TTolerance below:
//    the split tolerance, below which a meeting point counts as an edge's end
//    and an open chain as closed, and the working tolerance, the absolute
//    slack of intersections, of point-on-arc tests and of snapping, scaled to
//    the size of the data (ConnectTolerance times the inputs' extent, with a
//    floor set by the rounding of the largest coordinate). The union graph
//    derives its context from its inputs and hands it to every routine it
//    calls, so two computations on two threads never share one. Calls given
//    no context use the thread's default working tolerance, WorkTolerance
//    (tolerance.cpp): 0 until a TWorkToleranceScope sets it, and only for that
//    scope's life. Nothing else reads or writes it.
//
// 3. The overlay engine's TOverlayTolerance (overlay/overlay.h): below it two
//    points are one. It has an absolute part given by the caller's features
//    (a zone takes a billionth of its width) and a part relative to the
//    coordinates' magnitude (2^-49 of max(|x|, |y|), a few units in the last
//    place), so results stay right far from the origin and at extreme sizes.
//    Inside the engine, the few expressions decided in double before an
//    extended-precision step carry named bounds on their rounding
//    (overlay/pieces.h), not tolerances: they only decide when the exact
//    route is needed.
#pragma once

#include "addonlib/geometry/primitives.h"

namespace geo {

struct TTolerance {
  // Below it a meeting point counts as an edge's end, an open chain as closed.
  double Split = 0;
  // Absolute length tolerance of intersection and union work.
  double Work = 0;

  // The thread's default: no split tolerance, WorkTolerance.
  static TTolerance Current();
  // The context for combining two inputs with these bounding rectangles: the
  // smaller of their widths and heights times ConnectTolerance, with a floor
  // set by the rounding of the largest coordinate.
  static TTolerance ForInputs(const TDRect& R0, const TDRect& R1, double Split);
};

// Sets WorkTolerance for one scope and restores the previous value after.
class TWorkToleranceScope {
 public:
  explicit TWorkToleranceScope(double Work);
  ~TWorkToleranceScope();
  TWorkToleranceScope(const TWorkToleranceScope&) = delete;
  TWorkToleranceScope& operator=(const TWorkToleranceScope&) = delete;

 private:
  double FSaved;
};

}  // namespace geo
