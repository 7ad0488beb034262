#include "addonlib/geometry/edge.h"

#include "addonlib/geometry/arc.h"

namespace geo {

bool PointOnEdge(const TEdge& E, const TDPoint& P, double Tol, const TTolerance& Context) {
  if (IsDegenerate(E)) return SamePoint(P, E.P1);
  if (IsLine(E)) return PointOnLine(E, P, Tol);
  // The radius test first: it is cheap and rejects almost every edge. With a
  // zero sweep the angle test must still run, for its error.
  const long double Off = static_cast<long double>(Distance(E.Center, P)) - E.Radius;
  if (E.Angle != 0 && std::fabs(Off) > Tol) return false;
  return ArcContainsAngle(E.Center, E.P1, P, E.Angle, Context) && std::fabs(Off) <= Tol;
}

}  // namespace geo
