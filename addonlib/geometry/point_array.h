// TDPointArray: a growable array of points, a value type.
#pragma once

#include <cstdint>

#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/value_array.h"

namespace geo {

struct TDPointArray : TValueArray<TDPoint> {
  using TValueArray::Get;
  // Appends all of Other's points; returns how many.
  int32_t AddArray(const TDPointArray& Other);
  void Get(int32_t I, TDPoint& P) const { P = Get(I); }
};

}  // namespace geo
