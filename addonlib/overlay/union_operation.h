// The four Boolean operations on contours: the overlay engine selects its
// result by them, and the union graph (the reference the overlay engine is
// held against) indexes its priority tables by their codes.
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
