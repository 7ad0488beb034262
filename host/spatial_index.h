// THostSpatialIndex: the objects' bounding rectangles in a quadtree, so that
// a rectangle lookup visits only the sectors it overlaps. The root grows
// (and the tree is rebuilt) when an item falls outside it; removed items are
// skipped until enough of them make a rebuild worth it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "addonlib/algebra/quadtree.h"

namespace host {

class THostSpatialIndex {
 public:
  THostSpatialIndex();
  ~THostSpatialIndex();

  // Slot numbers are the caller's, small and dense (they index a vector).
  void Insert(std::int32_t Slot, const geo::TDRect& Rect);
  void Remove(std::int32_t Slot);
  void Clear();
  // Slots whose rectangles meet Rect (borders included), in no set order.
  void Query(const geo::TDRect& Rect, std::vector<std::int32_t>& Out) const;
  std::int32_t Count() const { return FLiveCount; }

 private:
  void Rebuild(const geo::TDRect& Root);
  bool Contains(const geo::TDRect& R) const;

  std::unique_ptr<geoalg::TQuadroTree> FTree;
  geo::TDRect FRoot{0, 0, 0, 0};
  // Tree items are entries; a slot inserted again gets a new entry and its
  // old one is skipped.
  std::vector<geo::TDRect> FRects;       // by slot
  std::vector<std::int32_t> FSlotEntry;  // by slot: its live entry, or -1
  std::vector<std::int32_t> FEntrySlot;  // by entry
  std::int32_t FLiveCount = 0;
  std::int32_t FDeadCount = 0;
};

}  // namespace host
