#include "addonlib/geometry/rec_list.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

namespace geo {

// ---- TListBase ----

void TListBase::BeginUpdate() {
  if (FUpdateCount == 0) Changing();
  ++FUpdateCount;
}

void TListBase::EndUpdate() {
  --FUpdateCount;
  if (FUpdateCount == 0) Changed();
}

void TListBase::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TListBase::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TListBase::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) Sort();
  FSorted = Value;
}

void TListBase::Sort() {
  if (FSorted || FCount <= 1) return;
  BeginUpdate();
  try {
    QuickSort(0, FCount - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListBase::AssignTo(TListBase& Dest) const {
  throw core::EConvertError(std::string("Cannot assign a ") + ClassName() + " to a " +
                            Dest.ClassName());
}

void TListBase::CheckIndex(int32_t Index, int32_t Bound) {
  if (Index < 0 || Index >= Bound)
    throw EArray("Индекс массива " + std::to_string(Index) + " выходит за пределы [0, " +
                 std::to_string(Bound - 1) + "]");
}

// ---- TBlockList ----

TBlockList::~TBlockList() {
  std::free(FList);
}

void TBlockList::SetCapacity(int32_t N) {
  if (N <= FCount) return;
  auto* NewList = static_cast<unsigned char*>(
      std::realloc(FList, static_cast<size_t>(N) * static_cast<size_t>(FElemSize)));
  if (!NewList) throw std::bad_alloc();
  FList = NewList;
  FCapacity = N;
}

int32_t TBlockList::AddItem(const void* Item) {
  int32_t Index = FCount;
  if (FSorted) {
    if (FindItem(Item, Index)) {
      if (FDuplicates == dpIgnore) return Index;
      if (FDuplicates == dpError) throw EArray("Значение уже имеется в списке");
    }
  }
  InsertAt(Index, Item);
  return Index;
}

void TBlockList::InsertAt(int32_t Index, const void* Item) {
  CheckIndex(Index, FCount + 1);
  Changing();
  // The item may live inside our own block, which growth can move.
  // Compared as addresses: no pointer into the old block is kept across the
  // growth.
  const auto Address = reinterpret_cast<std::uintptr_t>(Item);
  const auto Base = reinterpret_cast<std::uintptr_t>(FList);
  const bool Inside = FList && Address >= Base &&
                      Address < Base + static_cast<std::uintptr_t>(FCapacity) * FElemSize;
  if (FCount >= FCapacity) SetCapacity(FCount + Delta);
  const auto* Src = Inside ? FList + (Address - Base) : static_cast<const unsigned char*>(Item);
  if (Index < FCount) {
    std::memmove(At(Index + 1), At(Index), static_cast<size_t>(FCount - Index) * FElemSize);
    if (Inside && Src >= At(Index)) Src += FElemSize;
  }
  std::memmove(At(Index), Src, FElemSize);
  ++FCount;
  Changed();
}

void TBlockList::PutAt(int32_t Index, const void* Item) {
  CheckIndex(Index, FCount);
  Changing();
  std::memmove(At(Index), Item, FElemSize);
  Changed();
}

void TBlockList::Delete(int32_t Index) {
  CheckIndex(Index, FCount);
  Changing();
  --FCount;
  if (Index < FCount)
    std::memmove(At(Index), At(Index + 1), static_cast<size_t>(FCount - Index) * FElemSize);
  Changed();
}

void TBlockList::Clear() {
  Changing();
  FCount = 0;
  Changed();
}

void TBlockList::Exchange(int32_t I, int32_t J) {
  CheckIndex(I, FCount);
  CheckIndex(J, FCount);
  Changing();
  if (I != J) {
    unsigned char* A = At(I);
    unsigned char* B = At(J);
    for (int32_t K = 0; K < FElemSize; ++K) {
      const unsigned char T = A[K];
      A[K] = B[K];
      B[K] = T;
    }
  }
  Changed();
}

bool TBlockList::FindItem(const void* Item, int32_t& Index) const {
  int32_t L = 0;
  int32_t H = FCount - 1;
  bool Result = false;
  while (L <= H) {
    const int32_t I = static_cast<int32_t>(static_cast<uint32_t>(L + H) >> 1);
    const int32_t C = DoCompare(At(I), Item);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dpAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

int32_t TBlockList::IndexOfItem(const void* Item) const {
  if (FSorted) {
    int32_t Index;
    return FindItem(Item, Index) ? Index : -1;
  }
  for (int32_t I = 0; I < FCount; ++I)
    if (DoCompare(Item, At(I)) == 0) return I;
  return -1;
}

void TBlockList::QuickSort(int32_t L, int32_t R) {
  // The pivot is a copy: exchanges move the element it was taken from.
  alignas(16) unsigned char Small[64];
  std::vector<unsigned char> Large;
  unsigned char* Pivot = Small;
  if (FElemSize > static_cast<int32_t>(sizeof Small)) {
    Large.resize(static_cast<size_t>(FElemSize));
    Pivot = Large.data();
  }
  int32_t I;
  do {
    I = L;
    int32_t J = R;
    std::memcpy(Pivot, At(static_cast<int32_t>(static_cast<uint32_t>(L + R) >> 1)), FElemSize);
    do {
      while (DoCompare(At(I), Pivot) < 0) ++I;
      while (DoCompare(At(J), Pivot) > 0) --J;
      if (I <= J) {
        Exchange(I, J);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(L, J);
    L = I;
  } while (I < R);
}

void TBlockList::AssignTo(TListBase& Dest) const {
  auto* Target = dynamic_cast<TBlockList*>(&Dest);
  if (!Target || typeid(*Target) != typeid(*this) || Target->FElemSize != FElemSize) {
    TListBase::AssignTo(Dest);
    return;
  }
  if (Target == this) return;
  Target->BeginUpdate();
  try {
    Target->Clear();
    Target->SetCapacity(FCount);
    if (FCount > 0) std::memcpy(Target->FList, FList, static_cast<size_t>(FCount) * FElemSize);
    Target->FCount = FCount;
  } catch (...) {
    Target->EndUpdate();
    throw;
  }
  Target->EndUpdate();
}

// ---- TLongintList ----

int32_t DefaultLongintCompare(int32_t A, int32_t B) {
  return A < B ? -1 : (A > B ? 1 : 0);
}

int32_t TLongintList::DoCompare(const void* A, const void* B) const {
  if (!Compare) throw EArray("Не установлена функция сравнения у TLongintList");
  int32_t X, Y;
  std::memcpy(&X, A, sizeof X);
  std::memcpy(&Y, B, sizeof Y);
  return Compare(X, Y);
}

int32_t TLongintList::Items(int32_t Index) const {
  CheckIndex(Index, FCount);
  int32_t V;
  std::memcpy(&V, At(Index), sizeof V);
  return V;
}

// ---- TRecList ----

int32_t CompareBytes(const void* A, const void* B, int32_t Size) {
  const auto* X = static_cast<const unsigned char*>(A);
  const auto* Y = static_cast<const unsigned char*>(B);
  for (int32_t I = 0; I < Size; ++I)
    if (X[I] != Y[I]) return X[I] < Y[I] ? -1 : 1;
  return 0;
}

int32_t TRecList::DoCompare(const void* A, const void* B) const {
  return Compare ? Compare(A, B) : CompareBytes(A, B, RecSize());
}

const void* TRecList::Get(int32_t Index) const {
  CheckIndex(Index, FCount);
  return At(Index);
}

void* TRecList::Get(int32_t Index) {
  CheckIndex(Index, FCount);
  return At(Index);
}

}  // namespace geo
