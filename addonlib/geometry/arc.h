// Circular arcs given by their end points and a convexity (bulge).
//
// The convexity c of an arc is tan(sweep/4), the sweep signed
// counter-clockwise: c > 0 turns left, c < 0 right, |c| = 1 is a half circle.
// The centre lies on the chord's perpendicular bisector at the signed
// distance (d/2)(1 - c^2)/(2c) along the chord's left normal; the radius is
// (d/2)(1 + c^2)/(2|c|).
#pragma once

#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/tolerance.h"

namespace geo {

// Centre and signed sweep of the arc P1-P2 with the given convexity: for
// c > 0 the counter-clockwise angle in [0, 2*pi), for c < 0 the clockwise
// angle as a negative value. False, outputs untouched, when |c| <= 1E-15 or
// the end points are the same point. The radius is Distance(Center, P2).
bool GetCenter2(const TDPoint& P1, const TDPoint& P2, double& Sweep, double Convexity,
                TDPoint& Center);
// Circle through A, M and B and the signed sweep from A to B through M.
// False when B lies exactly on the line A-M.
bool CircleBy3Points(const TDPoint& A, const TDPoint& M, const TDPoint& B, double& Sweep,
                     TDPoint& Center);
// Convexity of the arc from A to B around Center, clockwise when Negative.
double ConvexityFromCenter(const TDPoint& A, const TDPoint& Center, const TDPoint& B,
                           bool Negative);
// Convexity of the arc from A through M to B; 0 (and True) when two of the
// points are the same; False for collinear points (treat the piece as straight).
bool ConvexityBy3Points(const TDPoint& A, const TDPoint& M, const TDPoint& B, double& Convexity);
// Middle of the counter-clockwise arc from Start to End around Center (of
// the complementary arc when Other), at the mean of the two radii.
void ArcMidPoint(const TDPoint& Start, const TDPoint& Center, const TDPoint& End, bool Other,
                 TDPoint& Mid);
// Whether the direction Angle lies in [Start, Start + Sweep] (or
// [Start + Sweep, Start] for Sweep <= 0), modulo 2*pi; bounds inclusive.
bool AngleInSweep(double Angle, double Start, double Sweep);
// Whether the direction of P from Center lies in the span of the arc that
// starts at P1 and sweeps Sweep, widened by Tol.Work / radius on both sides.
// A zero sweep raises "arc: delta = 0".
bool ArcContainsAngle(const TDPoint& Center, const TDPoint& P1, const TDPoint& P, double Sweep,
                      const TTolerance& Tol = TTolerance::Current());

}  // namespace geo
