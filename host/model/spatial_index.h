// THostSpatialIndex: the objects' bounding rectangles in a packed R-tree
// (bulk-loaded in Hilbert order), so that a rectangle lookup visits only
// the nodes it overlaps. The tree is built at a lookup, not at each change:
// rectangles inserted since the last build are kept aside and scanned, and
// removed ones skipped, until there are enough of them to make a new build
// worth it. Loading a project thus costs one build at the first drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/index/packed_rtree.h"

namespace host {

class THostSpatialIndex {
 public:
  // Slot numbers are the caller's, small and dense (they index a vector).
  // A slot inserted again moves to its new rectangle.
  void Insert(std::int32_t Slot, const geo::TDRect& Rect);
  void Remove(std::int32_t Slot);
  void Clear();
  // Calls Fn(Slot) for every slot whose rectangle meets Rect (borders
  // included), in no set order.
  template <class F>
  void Visit(const geo::TDRect& Rect, F&& Fn) const {
    Refresh();
    FTree.Query(Rect, [&](std::int32_t Slot) {
      if (FWhere[static_cast<std::size_t>(Slot)] == InTree) Fn(Slot);
    });
    for (const std::int32_t Slot : FPending) {
      const auto S = static_cast<std::size_t>(Slot);
      if (FWhere[S] == Pending && Meets(FRects[S], Rect)) Fn(Slot);
    }
  }
  // The slots Visit gives, in ascending order.
  void Query(const geo::TDRect& Rect, std::vector<std::int32_t>& Out) const;
  std::int32_t Count() const { return FLiveCount; }

 private:
  enum TWhere : std::uint8_t { Absent, InTree, Pending };
  static bool Meets(const geo::TDRect& A, const geo::TDRect& B) {
    return A.X1 <= B.X2 && B.X1 <= A.X2 && A.Y1 <= B.Y2 && B.Y1 <= A.Y2;
  }
  // Builds the tree anew when too many changes wait beside it.
  void Refresh() const;

  // Built lazily by lookups, which are const to the index's users.
  mutable geo::index::TPackedRTree FTree;
  mutable std::vector<TWhere> FWhere;  // by slot
  // By slot: whether it is in FPending (once only, whatever comes and goes).
  mutable std::vector<bool> FListed;
  mutable std::vector<std::int32_t> FPending;
  mutable std::int32_t FDeadCount = 0;            // tree entries of slots no longer there
  mutable std::vector<std::uint64_t> FOrderBits;  // Query's scratch, all zero between
  std::vector<geo::TDRect> FRects;                // by slot
  std::int32_t FLiveCount = 0;
};

}  // namespace host
