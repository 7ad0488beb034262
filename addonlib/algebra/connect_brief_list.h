// The union graph's edge store: edges by vertex index behind a quadtree of
// their bounding rectangles.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/algebra/point_list.h"
#include "addonlib/algebra/quadtree.h"
#include "addonlib/geometry/typed_lists.h"

namespace geoalg {

using geo::TGConnectBrief;

class TConnectBriefList {
 public:
  // PointList names the vertices the edges refer to; it is not owned.
  explicit TConnectBriefList(const TDPointList& APointList);

  // Sizes the store for Capacity edges, empties it and resets the tree to Bounds.
  void Init(const TDRect& Bounds, int32_t Capacity);
  // Appends B (no lookup) and returns its index.
  int32_t Add(const TGConnectBrief& B) { return Add(B, Bounds(B)); }
  // The same with the rectangle already known (it must be Bounds(B)).
  int32_t Add(const TGConnectBrief& B, const TDRect& Rect);
  // Index of the first edge in B's sector with the same vertices and kind
  // (arcs: convexities within ConnectTolerance); -1 if none. The reversed
  // edge is not looked for.
  int32_t Find(const TGConnectBrief& B) const;
  // Requires 0 <= I < Count.
  TGConnectBrief Get(int32_t I) const;
  // The edge's bounding rectangle, its end points looked up in the vertex store.
  TDRect Bounds(const TGConnectBrief& B) const;

  int32_t Count() const { return FCount; }
  const TQuadroTree& Tree() const { return FTree; }

 private:
  const TDPointList& FPointList;
  std::vector<TGConnectBrief> FItems;
  int32_t FCount = 0;
  TQuadroTree FTree;
};

}  // namespace geoalg
