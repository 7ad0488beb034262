#include "addonlib/geometry/point_array.h"

#include <algorithm>

#include "compat/exception.h"

namespace geo {

void TDPointArray::Init(int32_t Capacity) {
  Items.assign(static_cast<size_t>(std::max(Capacity, 0)), TDPoint{0, 0});
  Count = 0;
}

int32_t TDPointArray::Add(const TDPoint& P) {
  if (static_cast<size_t>(Count) >= Items.size())
    Items.resize(std::max<size_t>(Items.size() * 2, 2));
  Items[static_cast<size_t>(Count)] = P;
  return Count++;
}

int32_t TDPointArray::AddArray(const TDPointArray& Other) {
  const int32_t N = Other.Count;
  for (int32_t I = 0; I < N; ++I) Add(Other.Items[static_cast<size_t>(I)]);
  return N;
}

void TDPointArray::Get(int32_t I, TDPoint& P) const {
  P = Get(I);
}

TDPoint TDPointArray::Get(int32_t I) const {
  TRACE_ASSERT(I >= 0 && I < Count);
  return Items[static_cast<size_t>(I)];
}

}  // namespace geo
