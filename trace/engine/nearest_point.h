// The nearest of a growing list of points: a k-d tree over the points seen at
// the last build, plus a short tail of points appended since, scanned one by
// one. The answer is exactly that of a scan in index order that keeps the
// first of equally near points.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/typed_lists.h"

namespace trace {

using geo::TDPoint;

// Squared distance as every nearest-point search here compares it.
inline double SquaredDistance(const TDPoint& A, const TDPoint& B) {
  const double DX = A.X - B.X;
  const double DY = A.Y - B.Y;
  return DX * DX + DY * DY;
}

class TNearestPointIndex {
 public:
  // Forgets every point (the list was emptied).
  void Reset();
  // Takes in the points appended to Points since the last call; rebuilds the
  // tree when the unindexed tail has grown long.
  void Update(const geo::TTDPointList& Points);
  // Index of the nearest point of Points (the list given to Update), the
  // lowest index among equally near ones; -1 when there are none. D2 is its
  // squared distance.
  int32_t Nearest(const geo::TTDPointList& Points, const TDPoint& P, double& D2) const;

  int32_t Count() const { return FCount; }

 private:
  struct TNode {
    double MinX, MinY, MaxX, MaxY;
    int32_t Begin, End;   // range of FOrder
    int32_t Left, Right;  // children, -1 for a leaf
  };
  int32_t Build(const geo::TTDPointList& Points, int32_t Begin, int32_t End, int Depth);

  std::vector<int32_t> FOrder;
  std::vector<TNode> FNodes;
  int32_t FBuilt = 0;  // points in the tree
  int32_t FCount = 0;  // points taken in
};

}  // namespace trace
