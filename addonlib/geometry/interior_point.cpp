#include "addonlib/geometry/interior_point.h"

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/coord_sys.h"

namespace geo {

namespace {

TDPoint Midpoint(const TDPoint& A, const TDPoint& B) {
  return TDPoint{static_cast<double>((static_cast<long double>(A.X) + B.X) / 2),
                 static_cast<double>((static_cast<long double>(A.Y) + B.Y) / 2)};
}

// The point at angle A from the direction Center -> P1, at P1's distance.
TDPoint PointOnCircle(const TDPoint& Center, const TDPoint& P1, long double A) {
  TCoordSys F;
  F.InitPoints(Center, P1);
  const long double R = Distance(Center, P1);
  return F.ToWorld(
      TDPoint{static_cast<double>(R * std::cos(A)), static_cast<double>(R * std::sin(A))});
}

}  // namespace

TDPoint EdgeMidPoint(const TEdge& E) {
  if (!IsArc(E)) return Midpoint(E.P1, E.P2);
  return PointOnCircle(E.Center, E.P1, static_cast<long double>(E.Angle) / 2);
}

TDPoint InteriorPointOfArc(const TDPoint& P1, const TDPoint& P2, double Convexity) {
  if (std::fabs(Convexity) < ConnectTolerance) return Midpoint(P1, P2);
  double Sweep;
  TDPoint Center;
  if (!GetCenter2(P1, P2, Sweep, Convexity, Center)) return Midpoint(P1, P2);
  return PointOnCircle(Center, P1, 0.626357899062L * Sweep);
}

TDPoint InteriorPointOfConnect(const TGConnectFull& C) {
  if (C.Kind == TConnectKind::Arc) return InteriorPointOfArc(C.P1, C.P2, C.Convexity);
  return TDPoint{static_cast<double>(C.P1.X + (static_cast<long double>(C.P2.X) - C.P1.X) / 3),
                 static_cast<double>(C.P1.Y + (static_cast<long double>(C.P2.Y) - C.P1.Y) / 3)};
}

}  // namespace geo
