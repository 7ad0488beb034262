// Arc geometry recomputed straight from the bulge formula, apart from the
// kernel's own routines, for the intersection and clipping tests.
#pragma once

#include <cmath>

#include "addonlib/geometry/primitives.h"

namespace geo::test {

// Every geometric check runs at the origin and far out in projected
// coordinates.
inline constexpr TDPoint kOffsets[] = {{0, 0}, {500000, 6000000}};

// Centre, radius, start angle and signed sweep of an arc.
struct RefArc {
  long double CX, CY, R, A0, Sweep;
};

inline RefArc RefOf(const TDPoint& P1, const TDPoint& P2, double C) {
  const long double DX = static_cast<long double>(P2.X) - P1.X;
  const long double DY = static_cast<long double>(P2.Y) - P1.Y;
  const long double D = std::sqrt(DX * DX + DY * DY);
  const long double H = (D / 2) * (1 - static_cast<long double>(C) * C) / (2 * C);
  RefArc A;
  A.CX = P1.X + DX / 2 - DY / D * H;
  A.CY = P1.Y + DY / 2 + DX / D * H;
  A.R = std::hypot(P1.X - A.CX, P1.Y - A.CY);
  A.A0 = std::atan2(P1.Y - A.CY, P1.X - A.CX);
  A.Sweep = 4 * std::atan(static_cast<long double>(C));
  return A;
}

// The point at fraction F of the sweep.
inline TDPoint RefPoint(const RefArc& A, long double F) {
  const long double T = A.A0 + F * A.Sweep;
  return TDPoint{static_cast<double>(A.CX + A.R * std::cos(T)),
                 static_cast<double>(A.CY + A.R * std::sin(T))};
}

// Fraction of the sweep at which Q's direction lies, in [0, 2*pi / |sweep|).
inline long double RefFraction(const RefArc& A, long double QX, long double QY) {
  const long double TwoPiL = 6.283185307179586476925286766559005768L;
  long double Phi = std::atan2(QY - A.CY, QX - A.CX) - A.A0;
  if (A.Sweep > 0)
    while (Phi < 0) Phi += TwoPiL;
  else
    while (Phi > 0) Phi -= TwoPiL;
  return Phi / A.Sweep;
}

}  // namespace geo::test
