// TDPointArray: a growable array of points, a value type.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/primitives.h"

namespace geo {

struct TDPointArray {
  std::vector<TDPoint> Items;  // its size is the array's length; Count of them are used
  int32_t Count = 0;

  // Length max(Capacity, 0), Count 0.
  void Init(int32_t Capacity);
  // Count 0, storage kept: for reuse in loops.
  void Reset() { Count = 0; }
  // Returns the new index; a full array doubles its length (at least 2).
  int32_t Add(const TDPoint& P);
  // Appends all of Other's points; returns how many.
  int32_t AddArray(const TDPointArray& Other);
  // Requires 0 <= I < Count.
  void Get(int32_t I, TDPoint& P) const;
  TDPoint Get(int32_t I) const;
};

}  // namespace geo
