// Labelling: the noded edges around every vertex in counter-clockwise order,
// coincident edges merged into one that sums their windings, and the winding
// number of every label on both sides of every edge, spread from one point
// location per connected component.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "addonlib/overlay/noding.h"
#include "core/exception.h"

namespace geoalg::overlay {

// Half-edge H of edge E: H = 2E runs V1 -> V2, H = 2E + 1 runs V2 -> V1.
class TLabelledGraph {
 public:
  std::vector<TDPoint> Vertices;
  std::vector<TNodedEdge> Edges;
  std::vector<int32_t> OutStart;             // per vertex, into Out; one more entry at the end
  std::vector<int32_t> Out;                  // half-edges leaving each vertex, counter-clockwise
  std::vector<int32_t> PosInOut;             // per half-edge, its index in Out
  std::vector<std::array<int32_t, 2>> Left;  // per half-edge, windings of the face on its left
  // Per component that lies in a face of another: the half-edge that has the
  // component's outside on its left, and one that has the holding face on
  // its left. Faces are otherwise known only within their component.
  std::vector<std::array<int32_t, 2>> Holders;

  int32_t From(int32_t H) const { return H & 1 ? Edges[H >> 1].V2 : Edges[H >> 1].V1; }
  int32_t To(int32_t H) const { return H & 1 ? Edges[H >> 1].V1 : Edges[H >> 1].V2; }
  // Winding added to the left side of H.
  int32_t Winding(int32_t H, int L) const {
    return H & 1 ? -Edges[H >> 1].W[L] : Edges[H >> 1].W[L];
  }
  // The half-edge leaving To(H) next clockwise from H's reverse: the next
  // one along the face on H's left.
  int32_t NextInFace(int32_t H) const {
    const int32_t T = H ^ 1;
    const int32_t V = From(T);
    const int32_t P = PosInOut[T];
    return Out[P > OutStart[V] ? P - 1 : OutStart[V + 1] - 1];
  }
};

using ETopology = geoalg::EOverlayTopology;

// Sets of indices joined one pair at a time.
struct TUnionFind {
  std::vector<int32_t> Parent;
  explicit TUnionFind(size_t N) : Parent(N) {
    for (size_t I = 0; I < N; ++I) Parent[I] = static_cast<int32_t>(I);
  }
  int32_t Find(int32_t I) {
    while (Parent[I] != I) I = Parent[I] = Parent[Parent[I]];
    return I;
  }
  void Join(int32_t A, int32_t B) { Parent[Find(A)] = Find(B); }
};

// Orders, merges and labels; the noded graph is consumed. Raises ETopology
// when the windings found around a face disagree.
TLabelledGraph LabelGraph(TNodedGraph&& G, const std::vector<TPiece>& Pieces,
                          const TOverlayTolerance& Tol);

}  // namespace geoalg::overlay
