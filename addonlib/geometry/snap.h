// Snapping of intersection results to the end points of the intersected pieces.
#pragma once

#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/tolerance.h"

namespace geo {

// Replaces P by the candidate nearest to it (the first on ties) when that one
// is within Tol on both axes; True when P was replaced.
bool SnapToNearest(const TDPoint (&Candidates)[4], TDPoint& P, double Tol);
// Snaps the first Count (0 to 2) results to the end points A, B, C, D within
// Tol.Work. Two results that become the same point raise
// "CheckResult3: Точки склеелись" and leave R1 and R2 as they were.
void CheckResult3(const TDPoint& A, const TDPoint& B, const TDPoint& C, const TDPoint& D,
                  int32_t Count, TDPoint& R1, TDPoint& R2,
                  const TTolerance& Tol = TTolerance::Current());

}  // namespace geo
