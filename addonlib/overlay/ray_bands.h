// The edges of a labelled graph in a packed R-tree, for rays cast from a
// point to the left: the nearest edge they meet, found best-first, so that a
// row of ten thousand holes costs each ray a few nodes, not the whole row.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/index/packed_rtree.h"
#include "addonlib/overlay/labelling.h"

namespace geoalg::overlay {

using geo::index::TPackedRTree;

// One search at a time: the searches share their scratch space.
class TRayBands {
 public:
  // Files the edges listed (indices into G.Edges); G and Pieces must outlive it.
  TRayBands(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
            const std::vector<int32_t>& EdgeIds);

  // The filed edge that the ray from P to the left meets first (half-open in
  // y: an edge counts from its lower end up to, not including, its upper
  // one), -1 if none; X receives where.
  int32_t NearestLeft(const TDPoint& P, double* X = nullptr) const;

 private:
  // x where the edge meets the line at height Y, if it crosses the ray from
  // P; false otherwise.
  bool Crossing(int32_t E, const TDPoint& P, double& X) const;

  const TLabelledGraph& FG;
  const std::vector<TPiece>& FPieces;
  TPackedRTree FTree;
  mutable TPackedRTree::TSearchHeap FHeap;  // one allocation for all searches
};

}  // namespace geoalg::overlay
