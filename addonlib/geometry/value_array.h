// TValueArray: a growable array of value records with an explicit Count;
// itself a value type. The length doubles when full (at least 2).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/exception.h"

namespace geo {

template <class T>
struct TValueArray {
  std::vector<T> Items;  // its size is the array's length; Count of them are used
  int32_t Count = 0;

  // Length max(Capacity, 0), Count 0.
  void Init(int32_t Capacity) {
    Items.assign(static_cast<size_t>(std::max(Capacity, 0)), T{});
    Count = 0;
  }
  // Count 0, storage kept: for reuse in loops.
  void Reset() { Count = 0; }
  // Returns the new index.
  int32_t Add(const T& V) {
    if (static_cast<size_t>(Count) >= Items.size())
      Items.resize(std::max<size_t>(Items.size() * 2, 2));
    Items[static_cast<size_t>(Count)] = V;
    return Count++;
  }
  // Requires 0 <= I < Count (assertion).
  const T& Get(int32_t I) const {
    TRACE_ASSERT(I >= 0 && I < Count);
    return Items[static_cast<size_t>(I)];
  }
};

}  // namespace geo
