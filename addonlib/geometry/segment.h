// TDSegment: a straight segment (convexity 0) or a circular arc from P1 to P2
// (arc model in arc.h), and the incidence tests of a point on it.
#pragma once

#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/tolerance.h"

namespace geo {

struct TDSegment {
  TDPoint P1;
  TDPoint P2;
  double Convexity;
};

inline TDSegment MakeSegment(const TDPoint& P1, const TDPoint& P2, double Convexity) {
  return TDSegment{P1, P2, Convexity};
}
// P1 and P2 exchanged, convexity negated: the same piece run backwards.
inline TDSegment ReverseSegment(const TDSegment& S) {
  return TDSegment{S.P2, S.P1, -S.Convexity};
}
// The largest double not above LineConvexityLimit: comparing doubles with it
// decides exactly as comparing with the extended limit, without x87 code.
inline constexpr double LineConvexityLimitD = 0x1.203af9ee75615p-50;
static_assert(LineConvexityLimitD <= LineConvexityLimit &&
              0x1.203af9ee75616p-50 > LineConvexityLimit);

inline bool IsDegenerate(const TDSegment& S) {
  return SamePoint(S.P1, S.P2);
}
inline bool IsLine(const TDSegment& S) {
  return std::fabs(S.Convexity) <= LineConvexityLimitD;
}
inline bool IsArc(const TDSegment& S) {
  return std::fabs(S.Convexity) > LineConvexityLimitD;
}

// P on the straight segment S: within Tol across the segment's major axis
// (measured along the minor axis, not perpendicular) and with no tolerance
// beyond the end points.
bool PointOnLine(const TDSegment& S, const TDPoint& P, double Tol);
// P on the arc S: within its angular span (with the working tolerance's
// slack of ArcContainsAngle) and within Tol of its radius. An arc whose
// centre cannot be computed fails an assertion.
bool PointOnArc(const TDSegment& S, const TDPoint& P, double Tol,
                const TTolerance& Context = TTolerance::Current());
// Degenerate: SamePoint with P1; else PointOnLine or PointOnArc.
bool PointOnSegment(const TDSegment& S, const TDPoint& P, double Tol,
                    const TTolerance& Context = TTolerance::Current());

}  // namespace geo
