#include "addonlib/geometry/point_array.h"

namespace geo {

int32_t TDPointArray::AddArray(const TDPointArray& Other) {
  const int32_t N = Other.Count;
  for (int32_t I = 0; I < N; ++I) Add(Other.Items[static_cast<size_t>(I)]);
  return N;
}

}  // namespace geo
