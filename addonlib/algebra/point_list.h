// The union graph's vertex store: points behind a quadtree, found again
// within a tolerance.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/algebra/quadtree.h"
#include "addonlib/geometry/primitives.h"

namespace geoalg {

using geo::TDPoint;

class TDPointList {
 public:
  TDPointList();

  // Sizes the store for Capacity points, resets the tree to Bounds and
  // empties the list.
  void Init(const TDRect& Bounds, int32_t Capacity, double ATolerance);
  // Appends P (no lookup) and returns its index.
  int32_t Add(const TDPoint& P);
  // Index of a stored point in P's sector: the first one that is the same
  // point as P, else the nearest within Tolerance on both axes; -1 if none.
  int32_t Find(const TDPoint& P) const;
  // Requires 0 <= I < Count.
  TDPoint Get(int32_t I) const;

  int32_t Count() const { return FCount; }
  double Tolerance() const { return FTolerance; }
  const TQuadroTree& Tree() const { return FTree; }

 private:
  TDRect Widened(const TDPoint& P) const;

  std::vector<TDPoint> FItems;
  int32_t FCount = 0;
  double FTolerance;
  TQuadroTree FTree;
};

}  // namespace geoalg
