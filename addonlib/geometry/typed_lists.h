// Typed lists: TRecList preset to one record type of the kernel, the contour
// algebra or the trace engine. Their compare functions are equality tests
// (0 equal, 1 different), so they are used unsorted, for appending and for
// linear IndexOf.
#pragma once

#include <cstddef>
#include <cstdint>

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

// A chain of union graph edges. Its List is owned by the TGConnectLongList
// that holds the record; copies handed out by Get share it.
struct TGConnectLong {
  int32_t V1;
  int32_t V2;
  TBelongType Flags[2];
  TLongintList* List;

  // Creates an empty, unsorted List; the record must then be added to a
  // TGConnectLongList, which takes the List over.
  void Init();
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
  T* Ptr(int32_t Index) const { return static_cast<T*>(TRecList::Get(Index)); }

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

// Owns the List of every record it holds: Delete, Clear and destruction free
// them exactly once; Put frees the List it replaces when the new record
// brings a different one.
class TGConnectLongList : public TTypedRecList<TGConnectLong> {
 public:
  TGConnectLongList() : TTypedRecList(ConnectLongsDiffer) {}
  ~TGConnectLongList() override;

  void Put(int32_t Index, const TGConnectLong& Item);
  void Delete(int32_t Index) override;
  void Clear() override;
  // Sharing the Lists between two owners would free them twice.
  void AssignTo(TListBase& Dest) const override { TListBase::AssignTo(Dest); }

 protected:
  const char* ClassName() const override { return "TGConnectLongList"; }

 private:
  void FreeLists();
};

}  // namespace geo
