// Typed lists: TRecList preset to one record type of the kernel, the contour
// algebra or the trace engine. Their compare functions are equality tests
// (0 equal, 1 different), so they are used unsorted, for appending and for
// linear IndexOf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "addonlib/geometry/connect_kind.h"
#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/rec_list.h"

namespace geo {

// One trace point: the point and the indices that tie it to the zone outline.
struct TMGullyElem {
  TDPoint Point;
  int32_t Index1;
  int32_t Index2;  // -1 = none
};
static_assert(sizeof(TMGullyElem) == 24 && offsetof(TMGullyElem, Index1) == 16 &&
              offsetof(TMGullyElem, Index2) == 20);

// An edge of the union graph between two vertex numbers.
struct TGConnectBrief {
  int32_t V1;
  int32_t V2;
  TConnectKind Kind;
  double Convexity;
};
static_assert(offsetof(TGConnectBrief, Kind) == 8 && offsetof(TGConnectBrief, Convexity) == 16);

// Where an edge lies against one input's boundary (one byte in the records).
enum class TEdgeSide : uint8_t {
  Left = 0,   // on the boundary, the input's interior to the left of V1->V2
  Right = 1,  // on the boundary, the interior to the right
  None = 2    // not on that input's boundary
};

// Where a chain of edges lies against one input (one byte in the records).
enum class TBelongType : uint8_t {
  Inside = 0,
  Outside = 1,
  BoundaryLeft = 2,   // on the boundary, the interior to the left
  BoundaryRight = 3,  // on the boundary, the interior to the right
};

// Per-input belonging of an edge, one byte per input, handled as one 16-bit word.
struct TGBelongEdgePair {
  TEdgeSide Belong[2];
};
static_assert(sizeof(TGBelongEdgePair) == 2);

// A chain of union graph edges. It owns its edge list: copying a chain
// copies the list's entries (as the list's Assign does), moving hands the
// list over. A chain moved from may only be assigned to or destroyed.
struct TGConnectLong {
  int32_t V1 = 0;
  int32_t V2 = 0;
  TBelongType Flags[2] = {TBelongType::Inside, TBelongType::Inside};

  TGConnectLong();
  ~TGConnectLong();
  TGConnectLong(const TGConnectLong& Other);
  TGConnectLong& operator=(const TGConnectLong& Other);
  TGConnectLong(TGConnectLong&& Other) noexcept;
  TGConnectLong& operator=(TGConnectLong&& Other) noexcept;

  // The chain's edge numbers, unsorted.
  TLongintList& List() { return *FList; }
  const TLongintList& List() const { return *FList; }
  // Gives the chain a new, empty list.
  void Init();

 private:
  std::unique_ptr<TLongintList> FList;
};

// Equality tests installed as the lists' compare functions (0 equal, 1 not).
int32_t PointsDiffer(const void* A, const void* B);               // SamePoint
int32_t GullyElemsDiffer(const void* A, const void* B);           // Point and Index1
int32_t ConnectBriefsDiffer(const void* A, const void* B);        // arcs within ConnectTolerance
int32_t ConnectBriefsDifferStrict(const void* A, const void* B);  // arcs exactly equal
int32_t BelongEdgePairsDiffer(const void* A, const void* B);
int32_t ConnectLongsDiffer(const void* A, const void* B);

// A TRecList of records of type T with typed accessors.
template <class T>
class TTypedRecList : public TRecList {
 public:
  int32_t Add(const T& Item) { return TRecList::Add(&Item); }
  void Get(int32_t Index, T& Item) const { Item = *Ptr(Index); }
  T Items(int32_t Index) const { return *Ptr(Index); }
  void Put(int32_t Index, const T& Item) { TRecList::Put(Index, &Item); }
  int32_t IndexOf(const T& Item) const { return TRecList::IndexOf(&Item); }
  // Address of the record inside the block; valid until the next insertion.
  T* Ptr(int32_t Index) { return static_cast<T*>(TRecList::Get(Index)); }
  const T* Ptr(int32_t Index) const { return static_cast<const T*>(TRecList::Get(Index)); }

 protected:
  explicit TTypedRecList(TRecCompare ACompare) : TRecList(sizeof(T)) { Compare = ACompare; }
};

class TDoubleList : public TTypedRecList<double> {
 public:
  TDoubleList() : TTypedRecList(nullptr) {}

 protected:
  const char* ClassName() const override { return "TDoubleList"; }
};

class TTDPointList : public TTypedRecList<TDPoint> {
 public:
  TTDPointList() : TTypedRecList(PointsDiffer) {}

 protected:
  const char* ClassName() const override { return "TTDPointList"; }
};

class TTDRectList : public TTypedRecList<TDRect> {
 public:
  TTDRectList() : TTypedRecList(nullptr) {}

 protected:
  const char* ClassName() const override { return "TTDRectList"; }
};

TMGullyElem MakeGullyElem(const TDPoint& Point, int32_t Index1, int32_t Index2);

class TTMGullyElemList : public TTypedRecList<TMGullyElem> {
 public:
  TTMGullyElemList() : TTypedRecList(GullyElemsDiffer) {}

 protected:
  const char* ClassName() const override { return "TTMGullyElemList"; }
};

class TGConnectBriefList : public TTypedRecList<TGConnectBrief> {
 public:
  TGConnectBriefList() : TTypedRecList(ConnectBriefsDiffer) {}

 protected:
  const char* ClassName() const override { return "TGConnectBriefList"; }
};

class TGConnectBriefListStrict : public TGConnectBriefList {
 public:
  TGConnectBriefListStrict() { Compare = ConnectBriefsDifferStrict; }

 protected:
  const char* ClassName() const override { return "TGConnectBriefListStrict"; }
};

class TGBelongEdgePairList : public TTypedRecList<TGBelongEdgePair> {
 public:
  TGBelongEdgePairList() : TTypedRecList(BelongEdgePairsDiffer) {}

  // The pair as one little-endian 16-bit word: input 0 in the low byte.
  static uint16_t AsWord(const TGBelongEdgePair& W) {
    return static_cast<uint16_t>(static_cast<uint8_t>(W.Belong[0]) |
                                 (static_cast<uint8_t>(W.Belong[1]) << 8));
  }
  static TGBelongEdgePair FromWord(uint16_t W) {
    return {{static_cast<TEdgeSide>(W & 0xFF), static_cast<TEdgeSide>(W >> 8)}};
  }

 protected:
  const char* ClassName() const override { return "TGBelongEdgePairList"; }
};

// The chains of the union graph, held by value: Delete, Put and Clear free
// the lists of the chains they remove, and assigning one such list to
// another copies every chain with its own list.
class TGConnectLongList : public TListBase {
 public:
  int32_t Add(TGConnectLong Item);
  void Get(int32_t Index, TGConnectLong& Item) const { Item = *Ptr(Index); }
  TGConnectLong Items(int32_t Index) const { return *Ptr(Index); }
  void Put(int32_t Index, TGConnectLong Item);
  void Delete(int32_t Index);
  void Clear();
  // The first chain equal to Item (ends, types and edges), else -1.
  int32_t IndexOf(const TGConnectLong& Item) const;
  // Address of the chain; valid until the next Add or Delete.
  TGConnectLong* Ptr(int32_t Index);
  const TGConnectLong* Ptr(int32_t Index) const;
  // Keeps, in store order, the chains for which Keep(Index, Chain) holds;
  // the others are freed with their lists.
  template <class F>
  void KeepIf(F&& Keep) {
    Changing();
    size_t Kept = 0;
    for (size_t I = 0; I < FItems.size(); ++I)
      if (Keep(static_cast<int32_t>(I), static_cast<const TGConnectLong&>(FItems[I]))) {
        if (Kept != I) FItems[Kept] = std::move(FItems[I]);
        ++Kept;
      }
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(Kept), FItems.end());
    FCount = static_cast<int32_t>(FItems.size());
    Changed();
  }

  void AssignTo(TListBase& Dest) const override;
  // Chains compare only for equality: there is no order to sort them by.
  void QuickSort(int32_t L, int32_t R) override;

 protected:
  const char* ClassName() const override { return "TGConnectLongList"; }

 private:
  std::vector<TGConnectLong> FItems;
};

}  // namespace geo
