// Homogeneous lists with an optional sorted mode, a duplicates policy, a
// pluggable comparison, change notifications and a nesting update counter.
//
// TLongintList holds 32-bit signed integers, TRecList records of a size fixed
// at construction. Elements are stored inline and moved with block copies;
// the list never finalises them. Every index is checked.
#pragma once

#include <cstdint>
#include <functional>

#include "core/exception.h"

namespace geo {

// Raised by the lists.
class EArray : public core::Exception {
 public:
  using core::Exception::Exception;
};

enum TDuplicatesPolicy : uint8_t { dpIgnore = 0, dpAccept = 1, dpError = 2 };

class TListBase;
using TListNotifyEvent = std::function<void(TListBase* Sender)>;

class TListBase {
 public:
  TListBase() = default;
  virtual ~TListBase() = default;
  TListBase(const TListBase&) = delete;
  TListBase& operator=(const TListBase&) = delete;

  TListNotifyEvent OnChange;    // after a modification
  TListNotifyEvent OnChanging;  // before a modification

  int32_t Count() const { return FCount; }
  int32_t UpdateCount() const { return FUpdateCount; }
  bool Sorted() const { return FSorted; }
  TDuplicatesPolicy Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicatesPolicy Value) { FDuplicates = Value; }

  void BeginUpdate();
  void EndUpdate();
  // Turning sorting on sorts the elements once; turning it off keeps them.
  void SetSorted(bool Value);
  void Sort();

  // Copies Source into this list through Source.AssignTo.
  void Assign(const TListBase& Source) { Source.AssignTo(*this); }
  // Raw copy into a list of the same kind; anything else is an assignment error.
  virtual void AssignTo(TListBase& Dest) const;
  // Hoare partition over L..R; replaceable as a whole by a subclass.
  virtual void QuickSort(int32_t L, int32_t R) = 0;

 protected:
  void Changing();
  void Changed();
  // "Индекс массива %d выходит за пределы [0, %d]" unless 0 <= Index < Bound.
  static void CheckIndex(int32_t Index, int32_t Bound);
  virtual const char* ClassName() const = 0;

  int32_t FUpdateCount = 0;
  bool FSorted = false;
  TDuplicatesPolicy FDuplicates = dpIgnore;
  int32_t FCount = 0;
};

// Storage and algorithms shared by TLongintList and TRecList: elements of a
// fixed size held inline in one block, compared through DoCompare.
class TBlockList : public TListBase {
 public:
  int32_t Delta = 16;  // growth step in elements

  int32_t Capacity() const { return FCapacity; }
  int32_t ElemSize() const { return FElemSize; }

  // Virtual so that a list owning something through its records frees it.
  virtual void Delete(int32_t Index);
  virtual void Clear();
  void Exchange(int32_t I, int32_t J);
  // Reallocates to exactly N elements when N > Count; otherwise nothing.
  void SetCapacity(int32_t N);

  void AssignTo(TListBase& Dest) const override;
  void QuickSort(int32_t L, int32_t R) override;

 protected:
  explicit TBlockList(int32_t AElemSize) : FElemSize(AElemSize) {}
  ~TBlockList() override;

  int32_t AddItem(const void* Item);
  void InsertAt(int32_t Index, const void* Item);
  void PutAt(int32_t Index, const void* Item);
  bool FindItem(const void* Item, int32_t& Index) const;
  int32_t IndexOfItem(const void* Item) const;
  virtual int32_t DoCompare(const void* A, const void* B) const = 0;
  unsigned char* At(int32_t Index) {
    return FList + static_cast<size_t>(Index) * static_cast<size_t>(FElemSize);
  }
  const unsigned char* At(int32_t Index) const {
    return FList + static_cast<size_t>(Index) * static_cast<size_t>(FElemSize);
  }

  unsigned char* FList = nullptr;

 private:
  int32_t FElemSize;
  int32_t FCapacity = 0;
};

using TLongintCompare = int32_t (*)(int32_t A, int32_t B);
// -1, 0 or 1 as A is below, equal to or above B.
int32_t DefaultLongintCompare(int32_t A, int32_t B);

class TLongintList : public TBlockList {
 public:
  TLongintList() : TBlockList(sizeof(int32_t)) {}

  // Null makes every comparing operation raise EArray.
  TLongintCompare Compare = DefaultLongintCompare;

  const int32_t* List() const { return reinterpret_cast<const int32_t*>(FList); }

  // Unsorted: appends. Sorted: inserts in order, following Duplicates.
  int32_t Add(int32_t Item) { return AddItem(&Item); }
  void InsertItem(int32_t Index, int32_t Item) { InsertAt(Index, &Item); }
  int32_t Items(int32_t Index) const;
  int32_t Get(int32_t Index) const { return Items(Index); }
  void Put(int32_t Index, int32_t Item) { PutAt(Index, &Item); }
  bool Find(int32_t Item, int32_t& Index) const { return FindItem(&Item, Index); }
  int32_t IndexOf(int32_t Item) const { return IndexOfItem(&Item); }

 protected:
  const char* ClassName() const override { return "TLongintList"; }
  int32_t DoCompare(const void* A, const void* B) const override;
};

// Compares two records by address: negative, zero or positive.
using TRecCompare = int32_t (*)(const void* A, const void* B);

// Bytewise order: the first differing byte from the lowest address decides,
// as unsigned values.
int32_t CompareBytes(const void* A, const void* B, int32_t Size);

class TRecList : public TBlockList {
 public:
  explicit TRecList(int32_t ARecSize) : TBlockList(ARecSize) {}

  TRecCompare Compare = nullptr;  // null: bytewise

  int32_t RecSize() const { return ElemSize(); }
  void* List() { return FList; }
  const void* List() const { return FList; }

  int32_t Add(const void* Item) { return AddItem(Item); }
  void InsertItem(int32_t Index, const void* Item) { InsertAt(Index, Item); }
  // Address of element Index inside the block; valid until the next insertion.
  void* Get(int32_t Index);
  const void* Get(int32_t Index) const;
  void Put(int32_t Index, const void* Item) { PutAt(Index, Item); }
  bool Find(const void* Item, int32_t& Index) const { return FindItem(Item, Index); }
  int32_t IndexOf(const void* Item) const { return IndexOfItem(Item); }

 protected:
  const char* ClassName() const override { return "TRecList"; }
  int32_t DoCompare(const void* A, const void* B) const override;
};

}  // namespace geo
