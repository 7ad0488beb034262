#include "addonlib/geometry/coord_sys.h"

#include "core/exception.h"

namespace geo {

void TCoordSys::InitPoints(const TDPoint& AOrigin, const TDPoint& ATarget) {
  const long double LX = static_cast<long double>(ATarget.X) - AOrigin.X;
  const long double LY = static_cast<long double>(ATarget.Y) - AOrigin.Y;
  const long double L2 = LX * LX + LY * LY;
  TRACE_ASSERT_MSG(L2 > 0, "Invalid params (TCoordSys.InitPoints)");
  ByPoints = true;
  ByAngle = false;
  Origin = AOrigin;
  Target = ATarget;
  DX = static_cast<double>(LX);
  DY = static_cast<double>(LY);
  Len = static_cast<double>(std::sqrt(L2));
  SinA = DY / static_cast<long double>(Len);
  CosA = DX / static_cast<long double>(Len);
}

void TCoordSys::InitAngle(const TDPoint& AOrigin, double AAngle) {
  ByPoints = false;
  Origin = AOrigin;
  Angle = AAngle;
  ByAngle = true;
  SinA = std::sin(static_cast<long double>(AAngle));
  CosA = std::cos(static_cast<long double>(AAngle));
}

TDPoint TCoordSys::ToLocal(const TDPoint& P) const {
  const long double U = static_cast<long double>(P.X) - Origin.X;
  const long double V = static_cast<long double>(P.Y) - Origin.Y;
  if (ByPoints)
    return TDPoint{static_cast<double>((U * DX + V * DY) / Len),
                   static_cast<double>((V * DX - U * DY) / Len)};
  return TDPoint{static_cast<double>(U * CosA + V * SinA),
                 static_cast<double>(V * CosA - U * SinA)};
}

TDPoint TCoordSys::ToWorld(const TDPoint& L) const {
  const long double X = L.X;
  const long double Y = L.Y;
  if (ByPoints)
    return TDPoint{static_cast<double>((X * DX - Y * DY) / Len + Origin.X),
                   static_cast<double>((X * DY + Y * DX) / Len + Origin.Y)};
  return TDPoint{static_cast<double>(X * CosA - Y * SinA + Origin.X),
                 static_cast<double>(X * SinA + Y * CosA + Origin.Y)};
}

}  // namespace geo
