// TRecArray: Count records of RecSize bytes in one heap block.
//
// A small value type embedded in its owner (the command contour keeps its
// commands and arcs in two of them). Records are plain bytes, moved with block
// copies; nothing is allocated or finalised per record. It is never shared:
// copying is not allowed, use Assign.
#pragma once

#include <cstdint>

#include "core/exception.h"

namespace geo {

// Raised by TRecArray.
class ERecArray : public core::Exception {
 public:
  using core::Exception::Exception;
};

class TRecArray {
 public:
  void* Data = nullptr;  // Capacity * RecSize bytes, or null when Capacity is 0
  int32_t RecSize = 0;
  int32_t Capacity = 0;
  int32_t Count = 0;

  explicit TRecArray(int32_t ARecSize = 0) { Init(ARecSize); }
  ~TRecArray() { Clear(); }
  TRecArray(const TRecArray&) = delete;
  TRecArray& operator=(const TRecArray&) = delete;
  TRecArray(TRecArray&& Other) noexcept;
  TRecArray& operator=(TRecArray&& Other) noexcept;

  // Forgets the block without freeing it: only for a freshly constructed array.
  void Init(int32_t ARecSize);
  // Frees the block; Capacity and Count become 0.
  void Clear();
  // New capacity is max(N, Count); reallocates only when it changes.
  void SetCapacity(int32_t N);
  // Grows by a quarter above 64 records, by 16 above 8, else by 4.
  void Grow();
  // Requires 0 <= Index <= Count. Capacity becomes exactly Count + N when short.
  void InsertRecs(int32_t Index, const void* Src, int32_t N);
  void AddRecs(const void* Src, int32_t N) { InsertRecs(Count, Src, N); }
  void Add(const void* Src);
  void Insert(int32_t Index, const void* Src);
  // Requires Index >= 0 and Index + N <= Count; capacity is kept.
  void DeleteRecs(int32_t Index, int32_t N);
  void Delete(int32_t Index) { DeleteRecs(Index, 1); }
  // Address of record Index (0 <= Index < Count), valid until the next
  // capacity change.
  void* GetPtr(int32_t Index);
  const void* GetPtr(int32_t Index) const;
  // Requires equal RecSize; copies the source's records.
  void Assign(const TRecArray& Src);

  template <class T>
  T& Item(int32_t Index) {
    return *static_cast<T*>(GetPtr(Index));
  }
  template <class T>
  const T& Item(int32_t Index) const {
    return *static_cast<const T*>(GetPtr(Index));
  }
};

}  // namespace geo
