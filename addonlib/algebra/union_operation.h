// The four Boolean operations on contours, as the union graph codes them.
#pragma once

#include <cstdint>

namespace geoalg {

// The codes index the union graph's priority tables; any other value is
// refused with "Bad Operation".
enum class TUnionOperation : uint8_t {
  Union = 0,
  Intersection = 1,
  Difference = 2,  // input 0 minus input 1
  SymDifference = 3
};

}  // namespace geoalg
