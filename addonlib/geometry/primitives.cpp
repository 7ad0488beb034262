#include "addonlib/geometry/primitives.h"

namespace geo {

const double ConnectTolerance = 1E-9;

double VecLength(const TDPoint& V) {
  return static_cast<double>(
      std::sqrt(static_cast<long double>(V.X) * V.X + static_cast<long double>(V.Y) * V.Y));
}

TDPoint VecNormalize(const TDPoint& V) {
  const long double L =
      std::sqrt(static_cast<long double>(V.X) * V.X + static_cast<long double>(V.Y) * V.Y);
  if (L == 0) return TDPoint{0, 0};
  return TDPoint{static_cast<double>(V.X / L), static_cast<double>(V.Y / L)};
}

double Distance(const TDPoint& A, const TDPoint& B) {
  const long double DX = static_cast<long double>(B.X) - A.X;
  const long double DY = static_cast<long double>(B.Y) - A.Y;
  return static_cast<double>(std::sqrt(DX * DX + DY * DY));
}

double AngleOf(const TDPoint& A, const TDPoint& B) {
  long double R =
      std::atan2(static_cast<long double>(B.Y) - A.Y, static_cast<long double>(B.X) - A.X);
  if (R < 0) R += TwoPi;
  return static_cast<double>(R);
}

}  // namespace geo
