// A static R-tree packed bottom-up: boxes sorted along a Hilbert curve by
// their centres and grouped in nodes of a fixed fan-out, level by level.
// Built once, queried many times, never changed.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "addonlib/geometry/primitives.h"

namespace geo::index {

// Position of the cell (X, Y) (each below 2^16) along the Hilbert curve over
// 2^16 x 2^16 cells that starts at (0, 0) and ends at (2^16 - 1, 0).
uint32_t HilbertIndex(uint32_t X, uint32_t Y);

class TPackedRTree {
 public:
  static constexpr int32_t FanOut = 8;

  // Indexes Boxes[i] (normalised) as item i, for each i in Ids.
  void Build(const std::vector<geo::TDRect>& Boxes, const std::vector<int32_t>& Ids) {
    Build(Ids, [&](int32_t I) -> const geo::TDRect& { return Boxes[I]; });
  }
  // The same with each box given by BoxOf(i), so that no array of all the
  // boxes need exist beside the index's own.
  template <class F>
  void Build(const std::vector<int32_t>& Ids, F&& BoxOf) {
    FNodes.clear();
    FItems.clear();
    FItemBoxes.clear();
    if (Ids.empty()) return;
    // Items in the order of their centres along a Hilbert curve over the
    // extent, scaled alike on both axes: runs of that order are compact
    // whatever the extent's shape (a long thin comb sorted into square tiles
    // would give nodes as long as a tile and as thin as the comb).
    geo::TDRect All = BoxOf(Ids[0]);
    for (int32_t I : Ids) All = Cover(All, BoxOf(I));
    const double Side = std::max(All.X2 - All.X1, All.Y2 - All.Y1);
    const double Scale = Side > 0 ? 65535.0 / Side : 0;
    std::vector<uint64_t> Keys(Ids.size());
    for (size_t K = 0; K < Ids.size(); ++K)
      Keys[K] = HilbertKey(BoxOf(Ids[K]), All, Scale) << 32 | static_cast<uint32_t>(Ids[K]);
    std::sort(Keys.begin(), Keys.end());
    FItems.resize(Keys.size());
    FItemBoxes.resize(Keys.size());
    for (size_t I = 0; I < Keys.size(); ++I) {
      FItems[I] = static_cast<int32_t>(Keys[I] & 0xffffffffu);
      FItemBoxes[I] = BoxOf(FItems[I]);
    }
    BuildNodes();
  }

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

  // Nodes waiting in a search, by how far right they reach.
  using TSearchHeap = std::vector<std::pair<double, int32_t>>;

  // The search for what a ray from (X, Y) to the left meets first: calls
  // Fn(item) for the items whose boxes reach below X and span Y (from Y1 up
  // to, not including, Y2), the boxes reaching furthest right first, for as
  // long as one could still reach beyond Best, which Fn raises to each hit
  // it finds. Heap is scratch space, kept by the caller across searches.
  template <class F>
  void SearchLeft(double X, double Y, double& Best, TSearchHeap& Heap, F&& Fn) const {
    Heap.clear();
    if (FNodes.empty()) return;
    const auto Visit = [&](int32_t I) {
      const TNode& N = FNodes[I];
      for (int32_t K = N.First; K < N.First + N.Count; ++K) {
        const geo::TDRect& B = ChildBox(N.Leaf, K);
        if (B.Y1 > Y || B.Y2 <= Y || B.X1 >= X) continue;
        const double Reach = B.X2 < X ? B.X2 : X;
        if (Reach <= Best) continue;
        if (N.Leaf) {
          Fn(FItems[K]);
        } else {
          Heap.emplace_back(Reach, K);
          std::push_heap(Heap.begin(), Heap.end());
        }
      }
    };
    Visit(static_cast<int32_t>(FNodes.size()) - 1);
    while (!Heap.empty() && Heap.front().first > Best) {
      std::pop_heap(Heap.begin(), Heap.end());
      const int32_t I = Heap.back().second;
      Heap.pop_back();
      Visit(I);
    }
  }

  // The items in the order the tree keeps them: along the Hilbert curve by
  // their centres, so that every run of it is compact.
  const std::vector<int32_t>& Items() const { return FItems; }

  // Calls Fn(a, b) once for every two items whose boxes meet, walking the
  // tree against itself: no query starts again from the root.
  template <class F>
  void SelfJoin(F&& Fn) const {
    if (!FNodes.empty()) SelfJoinNode(static_cast<int32_t>(FNodes.size()) - 1, Fn);
  }

 private:
  static uint64_t HilbertKey(const geo::TDRect& B, const geo::TDRect& All, double Scale);
  static geo::TDRect Cover(const geo::TDRect& A, const geo::TDRect& B);
  // Leaves over runs of the sorted items, then levels up to the root.
  void BuildNodes();
  static bool Meet(const geo::TDRect& A, const geo::TDRect& B) {
    return !(A.X1 > B.X2 || A.X2 < B.X1 || A.Y1 > B.Y2 || A.Y2 < B.Y1);
  }
  const geo::TDRect& ChildBox(bool Leaf, int32_t K) const {
    return Leaf ? FItemBoxes[K] : FNodes[K].Box;
  }
  // Pairs within one node, then within each child.
  template <class F>
  void SelfJoinNode(int32_t I, F& Fn) const {
    const TNode& N = FNodes[I];
    for (int32_t A = N.First; A < N.First + N.Count; ++A)
      for (int32_t B = A + 1; B < N.First + N.Count; ++B)
        if (Meet(ChildBox(N.Leaf, A), ChildBox(N.Leaf, B))) {
          if (N.Leaf)
            Fn(FItems[A], FItems[B]);
          else
            JoinNodes(A, B, Fn);
        }
    if (!N.Leaf)
      for (int32_t A = N.First; A < N.First + N.Count; ++A) SelfJoinNode(A, Fn);
  }
  // Pairs between two different nodes of one level (all leaves are at one
  // depth, so their children are alike).
  template <class F>
  void JoinNodes(int32_t I, int32_t J, F& Fn) const {
    const TNode& N = FNodes[I];
    const TNode& M = FNodes[J];
    for (int32_t A = N.First; A < N.First + N.Count; ++A) {
      const geo::TDRect& BA = ChildBox(N.Leaf, A);
      if (!Meet(BA, M.Box)) continue;
      for (int32_t B = M.First; B < M.First + M.Count; ++B)
        if (Meet(BA, ChildBox(M.Leaf, B))) {
          if (N.Leaf)
            Fn(FItems[A], FItems[B]);
          else
            JoinNodes(A, B, Fn);
        }
    }
  }

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

}  // namespace geo::index
