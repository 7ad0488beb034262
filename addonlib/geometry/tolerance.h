// The length tolerances of one computation, as a value passed down.
//
// Work on contours uses two length tolerances: the split tolerance, below
// which a meeting point counts as an edge's end and an open chain as closed,
// and the working tolerance, the absolute slack of intersections, of
// point-on-arc tests and of snapping, scaled to the size of the data. The
// union graph derives its context from its inputs and hands it to every
// routine it calls, so two computations on two threads never share one.
//
// Calls given no context use the thread's default working tolerance,
// WorkTolerance (tolerance.cpp): 0 until a TWorkToleranceScope sets it, and
// only for that scope's life. Nothing else reads or writes it.
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
