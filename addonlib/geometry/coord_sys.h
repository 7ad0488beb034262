// TCoordSys: a local frame whose x-axis starts at Origin and points either
// toward a target point or along a given angle; the local y-axis is the
// x-axis turned by +90 degrees, so a positive local Y lies to the left.
#pragma once

#include "addonlib/geometry/primitives.h"

namespace geo {

struct TCoordSys {
  bool ByPoints = false;  // made by InitPoints
  double DX = 0;          // Target - Origin
  double DY = 0;
  double Len = 0;  // distance Origin to Target
  TDPoint Origin{0, 0};
  TDPoint Target{0, 0};
  double Angle = 0;
  bool ByAngle = false;
  long double SinA = 0;  // direction of the x-axis
  long double CosA = 1;

  // Requires Origin and Target to differ (two points closer than the point
  // tolerance still pass); otherwise an assertion fails.
  void InitPoints(const TDPoint& AOrigin, const TDPoint& ATarget);
  void InitAngle(const TDPoint& AOrigin, double AAngle);
  TDPoint ToLocal(const TDPoint& P) const;
  TDPoint ToWorld(const TDPoint& L) const;
  void ToWorldInPlace(TDPoint& P) const { P = ToWorld(P); }
};

}  // namespace geo
