// TGConnectFull: one edge with its full geometry, as the complex enumerator
// yields it and the intersection routines consume it.
#pragma once

#include "addonlib/geometry/connect_kind.h"

#include <cstdint>

#include "addonlib/geometry/primitives.h"

namespace geo {

struct TGConnectFull {
  TDPoint P1;
  TDPoint P2;
  TConnectKind Kind;
  double Convexity;
};

}  // namespace geo
