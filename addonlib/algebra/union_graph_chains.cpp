// The union graph's chains: built from the cut edges, merged at simple
// vertices, dropped and joined by the operation's priority table.
#include <algorithm>
#include <cstring>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "addonlib/algebra/union_graph_internal.h"
#include "addonlib/geometry/interior_point.h"

namespace geoalg {

using geo::TGBelongEdgePair;
using geo::TGConnectBrief;

namespace {

// Rows: type for input 0; columns: type for input 1. -1 drops the chain, -2
// cannot happen, 0 and 1 are the priorities of the kept chains.
constexpr int32_t PriorityTables[4][4][4] = {
    {{-2, -2, -1, -1}, {-2, -2, 0, 0}, {-1, 0, 1, -1}, {-1, 0, -1, 1}},  // union
    {{-2, -2, 0, 0}, {-2, -2, -1, -1}, {0, -1, 1, -1}, {0, -1, -1, 1}},  // intersection
    {{-2, -2, 0, 0}, {-2, -2, -1, -1}, {-1, 0, -1, 1}, {-1, 0, 1, -1}},  // difference
    {{-2, -2, 1, 1}, {-2, -2, 0, 0}, {1, 0, -1, -1}, {1, 0, -1, -1}},    // symmetric difference
};

}  // namespace

void TGUnionGraph::BuildChains() {
  SyncContourEdges();
  std::vector<int32_t> ChainOf(FEdges.Count(), -1);
  for (int32_t K = 0; K < 2; ++K) {
    const int32_t Other = 1 - K;
    for (int32_t Pos = 0; Pos < FContourEdges[K].Count(); ++Pos) {
      const int32_t E = FContourEdges[K].Items(Pos);
      const TGBelongEdgePair Pair = FBelongEdgePairs.Items(E);
      if (ChainOf[E] >= 0) {
        FLongs.Ptr(ChainOf[E])->Flags[K] = ConvertFromBelongEdgeToBelongType(Pair.Belong[K]);
        continue;
      }
      const TGConnectBrief B = FEdges.Get(E);
      TGConnectLong L;
      L.V1 = B.V1;
      L.V2 = B.V2;
      L.Flags[K] = ConvertFromBelongEdgeToBelongType(Pair.Belong[K]);
      if (Pair.Belong[Other] != TEdgeSide::None)
        L.Flags[Other] = ConvertFromBelongEdgeToBelongType(Pair.Belong[Other]);
      else
        L.Flags[Other] = FParts[Other].PointInside(geo::InteriorPointOfConnect(FullEdge(E)))
                             ? TBelongType::Inside
                             : TBelongType::Outside;
      L.List().Add(E);
      ChainOf[E] = FLongs.Add(std::move(L));
    }
  }
}

void TGUnionGraph::MergeLongInto(TGConnectLong& A, const TGConnectLong& B) {
  if (A.V1 == B.V1)
    A.V1 = B.V2;
  else if (A.V1 == B.V2)
    A.V1 = B.V1;
  else if (A.V2 == B.V1)
    A.V2 = B.V2;
  else if (A.V2 == B.V2)
    A.V2 = B.V1;
  else
    Fail("Stranno");
  const geo::TLongintList& Edges = B.List();
  for (int32_t I = 0; I < Edges.Count(); ++I) A.List().Add(Edges.Items(I));
}

// Chains being merged: dead ones are dropped from FLongs, in store order,
// when the merging is over; each vertex knows the chains that end there.
class TGUnionGraph::TChainMerger {
 public:
  TChainMerger(TGUnionGraph& AGraph, bool APriorityMode)
      : G(AGraph), PriorityMode(APriorityMode), Alive(G.FLongs.Count(), 1) {
    const int32_t N = G.FPoints.Count();
    Ends.resize(N);
    Closed.assign(N, 0);
    for (int32_t C = 0; C < G.FLongs.Count(); ++C) Attach(C);
    for (int32_t V = 0; V < N; ++V) Push(V);
  }

  void Run() {
    while (!Heap.empty()) {
      const int32_t V = Heap.top();
      Heap.pop();
      int32_t A, B;
      if (!Pick(V, A, B)) continue;
      TGConnectLong& First = *G.FLongs.Ptr(A);
      const TGConnectLong& Second = *G.FLongs.Ptr(B);
      const int32_t Touched[4] = {First.V1, First.V2, Second.V1, Second.V2};
      Detach(A);
      Detach(B);
      MergeLongInto(First, Second);
      Alive[B] = 0;
      Attach(A);
      for (int32_t U : Touched) Push(U);
    }
    Compact();
  }

 private:
  bool IsClosed(const TGConnectLong& L) const { return L.V1 == L.V2; }

  void Attach(int32_t C) {
    const TGConnectLong& L = *G.FLongs.Ptr(C);
    if (IsClosed(L)) {
      ++Closed[L.V1];
    } else {
      Ends[L.V1].push_back(C);
      Ends[L.V2].push_back(C);
    }
  }

  void Detach(int32_t C) {
    const TGConnectLong& L = *G.FLongs.Ptr(C);
    if (IsClosed(L)) {
      --Closed[L.V1];
      return;
    }
    for (int32_t V : {L.V1, L.V2}) {
      auto& List = Ends[V];
      List.erase(std::find(List.begin(), List.end(), C));
    }
  }

  void Push(int32_t V) {
    int32_t A, B;
    if (Pick(V, A, B)) Heap.push(V);
  }

  // The two chains to merge at V, the absorbing one first; false when V is
  // not a place to merge now.
  bool Pick(int32_t V, int32_t& A, int32_t& B) {
    auto& List = Ends[V];
    if (!PriorityMode) {
      // A simple vertex: exactly two chain ends and no closed chain.
      if (Closed[V] != 0 || List.size() != 2) return false;
      A = std::min(List[0], List[1]);
      B = std::max(List[0], List[1]);
      if (G.FAnyTypesMerge) return true;
      const TGConnectLong& LA = *G.FLongs.Ptr(A);
      const TGConnectLong& LB = *G.FLongs.Ptr(B);
      return LA.Flags[0] == LB.Flags[0] && LA.Flags[1] == LB.Flags[1];
    }
    if (List.size() < 2) return false;
    std::sort(List.begin(), List.end());
    int32_t Lowest = -1, Second = -1;
    for (int32_t C : List) {
      const int32_t P = G.LongPriority(*G.FLongs.Ptr(C));
      if (P < 0) Fail("Priority < 0");
      if (Lowest < 0) {
        Lowest = C;
      } else if (P < G.LongPriority(*G.FLongs.Ptr(Lowest))) {
        Second = Lowest;
        Lowest = C;
      } else if (Second < 0 || P < G.LongPriority(*G.FLongs.Ptr(Second))) {
        Second = C;
      }
    }
    A = Second;
    B = Lowest;
    return true;
  }

  void Compact() {
    G.FLongs.KeepIf([&](int32_t C, const TGConnectLong&) { return Alive[C] != 0; });
  }

  TGUnionGraph& G;
  bool PriorityMode;
  std::vector<uint8_t> Alive;
  std::vector<std::vector<int32_t>> Ends;  // open chains ending at each vertex
  std::vector<int32_t> Closed;             // closed chains at each vertex
  std::priority_queue<int32_t, std::vector<int32_t>, std::greater<int32_t>> Heap;
};

// Repeatedly merges the first two chains at the lowest-numbered vertex where
// exactly two chain ends meet (and no closed chain), until none is left.
void TGUnionGraph::MergeSimpleVertices() {
  TChainMerger(*this, false).Run();
}

void TGUnionGraph::SetOperation(TUnionOperation Op) {
  const auto Code = static_cast<uint8_t>(Op);
  if (Code > 3) Fail("Bad Operation");
  std::memcpy(FPriority, PriorityTables[Code], sizeof FPriority);
  FAnyTypesMerge = true;
}

void TGUnionGraph::DropByPriority() {
  for (int32_t C = 0; C < FLongs.Count(); ++C)
    if (LongPriority(*FLongs.Ptr(C)) == -2) Fail("Priority = error");
  FLongs.KeepIf([&](int32_t, const TGConnectLong& L) { return LongPriority(L) != -1; });
}

// Repeatedly, at the lowest-numbered vertex with two or more open chain
// ends, the chain of second-lowest priority absorbs the one of lowest.
void TGUnionGraph::MergeByPriority() {
  TChainMerger(*this, true).Run();
}
}  // namespace geoalg
