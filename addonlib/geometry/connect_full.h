// TGConnectFull: one edge with its full geometry, as the complex enumerator
// yields it and the intersection routines consume it.
#pragma once

#include <cstdint>

#include "addonlib/geometry/primitives.h"

namespace geo {

struct TGConnectFull {
  TDPoint P1;
  TDPoint P2;
  uint8_t Kind;  // 0 straight, 1 arc
  double Convexity;
};

}  // namespace geo
