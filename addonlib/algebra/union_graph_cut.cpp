// Cutting the union graph's edges at their crossings.
#include <algorithm>
#include <utility>
#include <vector>

#include "addonlib/algebra/union_graph_internal.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/intersect.h"
#include "addonlib/geometry/rect.h"

namespace geoalg {

using geo::TDPoint;
using geo::TGBelongEdgePair;
using geo::TGConnectBrief;
using geo::TGConnectFull;

bool TGUnionGraph::SplitEdgeAt(int32_t Index, int32_t Pos, int32_t X) {
  return SplitSlot(Index, FSeq[Index].SlotAt(Pos), X, FSplitTolerance);
}

bool TGUnionGraph::SplitSlot(int32_t Index, int32_t Slot, int32_t X, double Tolerance) {
  const int32_t E = FSeq[Index].Edge(Slot);
  const TGConnectBrief B = FEdges.Get(E);
  if (X == B.V1 || X == B.V2) return false;
  TGConnectFull E1, E2;
  if (!geo::SplitConnectFull(FullEdge(E), FPoints.Get(X), Tolerance, E1, E2)) return false;
  const TGBelongEdgePair Pair = FBelongEdgePairs.Items(E);
  FSeq[Index].Kill(Slot);
  FSlotOf[Index][E] = -1;
  AddSplitPart(E1, Pair, Index);
  AddSplitPart(E2, Pair, Index);
  return true;
}

void TGUnionGraph::RebuildCrossings() {
  FCrossings = std::make_unique<TCrossingIndex>(FCrossingBounds, ContourEdgeCount(1));
  for (int32_t S = 0; S < FSeq[1].SlotCount(); ++S) {
    const int32_t E = FSeq[1].Edge(S);
    if (FSlotOf[1][E] == S) FCrossings->Insert(E, *FEdgeRects.Ptr(E));
  }
}

bool TGUnionGraph::CutPair(int32_t Pos0, int32_t Pos1) {
  return CutSlots(FSeq[0].SlotAt(Pos0), FSeq[1].SlotAt(Pos1));
}

bool TGUnionGraph::CutSlots(int32_t Slot0, int32_t Slot1) {
  const int32_t E0 = FSeq[0].Edge(Slot0);
  const int32_t E1 = FSeq[1].Edge(Slot1);
  if (E0 == E1) return false;
  TDRect R0 = *FEdgeRects.Ptr(E0);
  geo::InflateRect(R0, FTol.Work, FTol.Work);
  if (!geo::RectsIntersect(R0, *FEdgeRects.Ptr(E1))) return false;
  TDPoint P;
  if (!geo::IntersectConnectFull(FullEdge(E0), FullEdge(E1), P, FTol)) return false;
  // A crossing within the split tolerance of an end of one edge does not cut
  // that edge. Cut at the crossing itself, the other edge would get a vertex
  // a hair away from that end and not joined to it, and the outline would
  // break there; it is cut at the end vertex instead.
  const TGConnectBrief B0 = FEdges.Get(E0), B1 = FEdges.Get(E1);
  int32_t X = -1;
  for (const int32_t V : {B0.V1, B0.V2, B1.V1, B1.V2})
    if (geo::SamePointTol(P, FPoints.Get(V), FSplitTolerance)) {
      X = V;
      break;
    }
  if (X < 0) X = FindOrAddPoint(P);
  const bool Cut0 = SplitSlot(0, Slot0, X, FSplitTolerance);
  const bool Cut1 = SplitSlot(1, Slot1, X, FSplitTolerance);
  if (Cut0 || Cut1) return true;
  // FEdges that only meet at a common end.
  if ((X == B0.V1 || X == B0.V2) && (X == B1.V1 || X == B1.V2)) return false;
  // Nothing cut: the edges meet within the split tolerance of an end of
  // each, and those ends are two vertices, each refused by the other edge.
  // Left so, the outlines would meet without a common vertex and the chains
  // there would not join. Both are cut at the meeting point itself, a
  // vertex already when it is an end of one of them lying on the other,
  // leaving pieces shorter than the split tolerance.
  const int32_t At = FindOrAddPoint(P);
  const bool Cut0Near = SplitSlot(0, Slot0, At, FTol.Work);
  const bool Cut1Near = SplitSlot(1, Slot1, At, FTol.Work);
  return Cut0Near || Cut1Near;
}

// For each position of input 0, the pairs with input 1's edges are taken in
// input 1's list order, as a scan from its start would meet them. After a
// cut that leaves the edge at this position in place, the pairs already
// examined cannot cut again (their outcome is fixed by the two edges), so
// the scan goes on after the pair just cut, with the pieces that the cut
// appended to input 1, instead of starting over.
void TGUnionGraph::CutCrossings() {
  std::vector<std::pair<int32_t, int32_t>> Candidates;  // (slot, edge) in list order
  for (int32_t I = 0; I < ContourEdgeCount(0); ++I) {
    int32_t Slot0 = FSeq[0].SlotAt(I);
    int32_t E0 = FSeq[0].Edge(Slot0);
    TDRect R0{};
    bool Rescan = true;
    size_t Next = 0;
    while (true) {
      if (Rescan) {
        R0 = *FEdgeRects.Ptr(E0);
        geo::InflateRect(R0, FTol.Work, FTol.Work);
        Candidates.clear();
        FCrossings->Query(R0, [&](int32_t E) {
          if (FSlotOf[1][E] >= 0) Candidates.push_back({FSlotOf[1][E], E});
        });
        std::sort(Candidates.begin(), Candidates.end());
        Candidates.erase(std::unique(Candidates.begin(), Candidates.end()), Candidates.end());
        Next = 0;
        Rescan = false;
      }
      if (Next == Candidates.size()) break;
      const auto [Slot1, E1] = Candidates[Next++];
      if (FSlotOf[1][E1] != Slot1) continue;
      const int32_t Appended = FSeq[1].SlotCount();
      if (!CutSlots(Slot0, Slot1)) continue;
      if (I >= ContourEdgeCount(0)) break;
      const int32_t Now = FSeq[0].SlotAt(I);
      if (Now != Slot0) {
        Slot0 = Now;
        E0 = FSeq[0].Edge(Now);
        Rescan = true;
        continue;
      }
      // Cut edges stay in the index; once they outnumber the live ones, it
      // is built again over the live edges alone, with cells to match.
      if (FCrossings->Entries() > 4 * std::max<int64_t>(ContourEdgeCount(1), 1024))
        RebuildCrossings();
      for (int32_t S = Appended; S < FSeq[1].SlotCount(); ++S) {
        const int32_t E = FSeq[1].Edge(S);
        if (FSlotOf[1][E] == S && geo::RectsIntersect(R0, *FEdgeRects.Ptr(E)))
          Candidates.push_back({S, E});
      }
    }
  }
  SyncContourEdges();
}
}  // namespace geoalg
