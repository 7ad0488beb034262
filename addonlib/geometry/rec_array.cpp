#include "addonlib/geometry/rec_array.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace geo {

TRecArray::TRecArray(TRecArray&& Other) noexcept
    : Data(std::exchange(Other.Data, nullptr)),
      RecSize(Other.RecSize),
      Capacity(std::exchange(Other.Capacity, 0)),
      Count(std::exchange(Other.Count, 0)) {}

TRecArray& TRecArray::operator=(TRecArray&& Other) noexcept {
  if (this != &Other) {
    Clear();
    Data = std::exchange(Other.Data, nullptr);
    RecSize = Other.RecSize;
    Capacity = std::exchange(Other.Capacity, 0);
    Count = std::exchange(Other.Count, 0);
  }
  return *this;
}

void TRecArray::Init(int32_t ARecSize) {
  Data = nullptr;
  RecSize = ARecSize;
  Capacity = 0;
  Count = 0;
}

void TRecArray::Clear() {
  std::free(Data);
  Data = nullptr;
  Capacity = 0;
  Count = 0;
}

void TRecArray::SetCapacity(int32_t N) {
  const int32_t NewCapacity = N > Count ? N : Count;
  if (NewCapacity == Capacity) return;
  void* NewData = nullptr;
  if (NewCapacity >= 1) {
    NewData = std::malloc(static_cast<size_t>(NewCapacity) * static_cast<size_t>(RecSize));
    if (!NewData) throw std::bad_alloc();
    if (Count > 0)
      std::memcpy(NewData, Data, static_cast<size_t>(Count) * static_cast<size_t>(RecSize));
  }
  std::free(Data);
  Data = NewData;
  Capacity = NewCapacity;
}

void TRecArray::Grow() {
  int32_t Step;
  if (Capacity > 64)
    Step = Capacity / 4;
  else if (Capacity > 8)
    Step = 16;
  else
    Step = 4;
  SetCapacity(Capacity + Step);
}

void TRecArray::InsertRecs(int32_t Index, const void* Src, int32_t N) {
  if (Index < 0 || Index > Count)
    throw ERecArray("Индекс массива выходит за пределы (TRecArray.InsertRecs)");
  if (N <= 0) return;
  if (Count + N > Capacity) SetCapacity(Count + N);
  auto* Base = static_cast<unsigned char*>(Data);
  const size_t Size = static_cast<size_t>(RecSize);
  if (Index < Count)
    std::memmove(Base + (Index + N) * Size, Base + Index * Size, (Count - Index) * Size);
  std::memcpy(Base + Index * Size, Src, N * Size);
  Count += N;
}

void TRecArray::Add(const void* Src) {
  if (Count == Capacity) Grow();
  InsertRecs(Count, Src, 1);
}

void TRecArray::Insert(int32_t Index, const void* Src) {
  if (Index < 0 || Index > Count)
    throw ERecArray("Индекс массива выходит за пределы (TRecArray.InsertRecs)");
  if (Count == Capacity) Grow();
  InsertRecs(Index, Src, 1);
}

void TRecArray::DeleteRecs(int32_t Index, int32_t N) {
  if (Index < 0 || N < 0 || Index + N > Count)
    throw ERecArray("Индекс массива выходит за пределы (TRecArray.DeleteRecs)");
  if (N == 0) return;
  auto* Base = static_cast<unsigned char*>(Data);
  const size_t Size = static_cast<size_t>(RecSize);
  if (Index + N < Count)
    std::memmove(Base + Index * Size, Base + (Index + N) * Size, (Count - Index - N) * Size);
  Count -= N;
}

const void* TRecArray::GetPtr(int32_t Index) const {
  if (Index < 0 || Index >= Count)
    throw ERecArray("Индекс массива " + std::to_string(Index) + " выходит за пределы [0, " +
                    std::to_string(Count - 1) + "] (TRecArray.GetPtr)");
  return static_cast<const unsigned char*>(Data) + static_cast<size_t>(Index) * RecSize;
}

void* TRecArray::GetPtr(int32_t Index) {
  return const_cast<void*>(static_cast<const TRecArray&>(*this).GetPtr(Index));
}

void TRecArray::Assign(const TRecArray& Src) {
  if (&Src == this) return;
  if (Src.RecSize != RecSize) throw ERecArray("Не совпадает размер элемента (TRecArray.Assign)");
  if (Capacity < Src.Count) SetCapacity(Src.Count);
  if (Src.Count > 0)
    std::memcpy(Data, Src.Data, static_cast<size_t>(Src.Count) * static_cast<size_t>(RecSize));
  Count = Src.Count;
}

}  // namespace geo
