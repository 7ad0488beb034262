#include "addonlib/geometry/segment.h"

#include <cstdio>

#include "addonlib/geometry/arc.h"
#include "core/exception.h"

namespace geo {

bool PointOnLine(const TDSegment& S, const TDPoint& P, double Tol) {
  const long double DX = static_cast<long double>(S.P1.X) - S.P2.X;
  const long double DY = static_cast<long double>(S.P1.Y) - S.P2.Y;
  const long double UX = static_cast<long double>(P.X) - S.P2.X;
  const long double UY = static_cast<long double>(P.Y) - S.P2.Y;
  if (std::fabs(DX) > std::fabs(DY)) {
    const long double T = UX / DX;
    if (!(T >= 0 && T <= 1)) return false;
    return std::fabs(T * DY - UY) <= Tol;
  }
  const long double T = UY / DY;
  if (!(T >= 0 && T <= 1)) return false;
  return std::fabs(T * DX - UX) <= Tol;
}

bool PointOnArc(const TDSegment& S, const TDPoint& P, double Tol, const TTolerance& Context) {
  double Sweep;
  TDPoint Center;
  if (!GetCenter2(S.P1, S.P2, Sweep, S.Convexity, Center)) {
    char Text[128];
    std::snprintf(Text, sizeof Text, "Invalid params, can't calculate arccenter. Convexity: %.2f",
                  S.Convexity);
    TRACE_ASSERT_MSG(false, Text);
  }
  return ArcContainsAngle(Center, S.P1, P, Sweep, Context) &&
         std::fabs(static_cast<long double>(Distance(Center, P)) - Distance(Center, S.P1)) <= Tol;
}

bool PointOnSegment(const TDSegment& S, const TDPoint& P, double Tol, const TTolerance& Context) {
  if (IsDegenerate(S)) return SamePoint(P, S.P1);
  return IsLine(S) ? PointOnLine(S, P, Tol) : PointOnArc(S, P, Tol, Context);
}

}  // namespace geo
