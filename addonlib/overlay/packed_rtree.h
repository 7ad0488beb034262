// A static R-tree packed bottom-up: boxes sorted along a Hilbert curve by
// their centres and grouped in nodes of a fixed fan-out, level by level.
// Built once, queried many times, never changed.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/primitives.h"

namespace geoalg::overlay {

class TPackedRTree {
 public:
  static constexpr int32_t FanOut = 8;

  // Indexes Boxes[i] (normalised) as item i, for each i in Ids.
  void Build(const std::vector<geo::TDRect>& Boxes, const std::vector<int32_t>& Ids);

  // Calls Fn(item) for every item whose box meets Q (borders included).
  template <class F>
  void Query(const geo::TDRect& Q, F&& Fn) const {
    if (FNodes.empty()) return;
    int32_t Stack[64 * FanOut];
    int32_t Top = 0;
    Stack[Top++] = static_cast<int32_t>(FNodes.size()) - 1;
    while (Top > 0) {
      const TNode& N = FNodes[Stack[--Top]];
      for (int32_t K = N.First; K < N.First + N.Count; ++K) {
        const geo::TDRect& B = N.Leaf ? FItemBoxes[K] : FNodes[K].Box;
        if (B.X1 > Q.X2 || B.X2 < Q.X1 || B.Y1 > Q.Y2 || B.Y2 < Q.Y1) continue;
        if (N.Leaf)
          Fn(FItems[K]);
        else
          Stack[Top++] = K;
      }
    }
  }

 private:
  struct TNode {
    geo::TDRect Box;
    int32_t First;  // first child node, or first item position for a leaf
    int32_t Count;
    bool Leaf;
  };
  std::vector<TNode> FNodes;  // the root is last
  std::vector<int32_t> FItems;
  std::vector<geo::TDRect> FItemBoxes;  // in item order of FItems
};

}  // namespace geoalg::overlay
