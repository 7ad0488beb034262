// Region quadtree of rectangles.
//
// Items (an index or an object reference with a rectangle) live in the
// deepest sector whose rectangle contains theirs; a leaf splits into four
// quadrants once it holds MaxItems items. Lookups examine one sector only,
// which keeps them independent of the store's size: an item held deeper than
// the query rectangle's sector is not seen, so callers look up with the same
// rectangles they inserted.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "addonlib/geometry/primitives.h"

namespace geoalg {

using geo::TDRect;

struct TSpatialIndexItem {
  int32_t Index = 0;       // for items inserted by index
  void* Object = nullptr;  // for items inserted by object reference
  TDRect Rect{};
};

class TQuadroSector {
 public:
  TDRect Rect{};
  // All four present or all four absent: 0 left-upper, 1 right-upper,
  // 2 left-lower, 3 right-lower. Owned by the tree.
  TQuadroSector* Children[4] = {nullptr, nullptr, nullptr, nullptr};
  // Items in insertion order (as rearranged by splits). Owned by the tree.
  std::vector<TSpatialIndexItem*> Items;

  bool HasChildren() const { return Children[0] != nullptr; }
};

class TQuadroTree {
 public:
  TQuadroTree(int32_t AMaxItems, const TDRect& Rect);
  TQuadroTree(const TQuadroTree&) = delete;
  TQuadroTree& operator=(const TQuadroTree&) = delete;

  int32_t MaxItems;

  TQuadroSector& Root() { return *FRoot; }
  const TQuadroSector& Root() const { return *FRoot; }
  // Frees every sector and item and starts again with an empty root over Rect.
  void Reset(const TDRect& Rect);
  TSpatialIndexItem* Insert(int32_t Index, const TDRect& Rect);
  TSpatialIndexItem* Insert(void* Object, const TDRect& Rect);
  // Appends an item to a given sector's items as they stand, without looking
  // for a deeper sector and without splitting.
  TSpatialIndexItem* Append(TQuadroSector& Sector, void* Object, const TDRect& Rect);
  // The sector where an item of this rectangle is, or would be, held.
  TQuadroSector* FindSector(const TDRect& Rect);
  const TQuadroSector* FindSector(const TDRect& Rect) const;

 private:
  TSpatialIndexItem* InsertItem(const TSpatialIndexItem& Item);
  void TrySplit(TQuadroSector* S);
  TQuadroSector* NewSector(const TDRect& Rect);

  // Pools give stable addresses and free everything at once, without recursion.
  std::deque<TQuadroSector> FSectors;
  std::deque<TSpatialIndexItem> FItems;
  TQuadroSector* FRoot = nullptr;
};

}  // namespace geoalg
