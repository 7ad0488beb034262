#include "trace/engine/connect_graph.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "addonlib/geometry/intersect.h"

namespace trace {

namespace {

// Cells as wide as the point tolerance: two points within it lie in the same
// or neighbouring cells.
constexpr double CellSize = 1E-6;

int64_t CellIndex(double V) {
  const double C = std::floor(V / CellSize);
  // Beyond any map coordinate: one shared cell, still correct, only slower.
  if (!(std::fabs(C) < 4e18)) return C > 0 ? std::numeric_limits<int64_t>::max() : 0;
  return static_cast<int64_t>(C);
}

}  // namespace

TGConnectGraph::TGConnectGraph() : PathEdge(1, 0), PathForward(1, false) {}

std::pair<int64_t, int64_t> TGConnectGraph::CellOf(const TDPoint& P) {
  return {CellIndex(P.X), CellIndex(P.Y)};
}

uint64_t TGConnectGraph::PairKey(int32_t A, int32_t B) {
  const uint32_t Lo = static_cast<uint32_t>(A < B ? A : B);
  const uint32_t Hi = static_cast<uint32_t>(A < B ? B : A);
  return (static_cast<uint64_t>(Hi) << 32) | Lo;
}

void TGConnectGraph::AddContour(const geo::TContour& Contour) {
  geo::TGComplexEnumerater Enum(Contour);
  TGConnectFull C;
  while (Enum.Next(C)) AddConnection(C);
}

int32_t TGConnectGraph::FindVertex(const TDPoint& P) const {
  const auto [CX, CY] = CellOf(P);
  int32_t Found = -1;
  for (int64_t DX = -1; DX <= 1; ++DX)
    for (int64_t DY = -1; DY <= 1; ++DY) {
      auto It = FCells.find({CX + DX, CY + DY});
      if (It == FCells.end()) continue;
      for (int32_t V : It->second) {
        if (Found >= 0 && V > Found) break;  // indices ascend within a cell
        if (geo::SamePoint(*Vertices.Ptr(V), P)) Found = V;
      }
    }
  return Found;
}

int32_t TGConnectGraph::FindOrAddVertex(const TDPoint& P) {
  const int32_t Found = FindVertex(P);
  if (Found >= 0) return Found;
  const int32_t Index = Vertices.Add(P);
  FCells[CellOf(P)].push_back(Index);
  FIncident.emplace_back();
  return Index;
}

int32_t TGConnectGraph::AddConnection(const TGConnectFull& C) {
  const int32_t V1 = FindOrAddVertex(C.P1);
  const int32_t V2 = FindOrAddVertex(C.P2);
  TGConnectBrief Brief{V1, V2, C.Kind, C.Kind == geo::TConnectKind::Arc ? C.Convexity : 0.0};
  std::vector<int32_t>& Between = FPairs[PairKey(V1, V2)];
  const TGConnectBrief Reversed = geo::ReverseConnectBrief(Brief);
  // The first equal record wins, then the first reversed one: the same
  // answer as scanning the whole edge list, looking only between V1 and V2.
  for (int32_t E : Between)
    if (geo::ConnectBriefsDifferStrict(&Brief, Edges.Ptr(E)) == 0) return E;
  for (int32_t E : Between)
    if (geo::ConnectBriefsDifferStrict(&Reversed, Edges.Ptr(E)) == 0) return E;
  const double Length = geo::GetLengthConnectFull(C);
  const int32_t Index = Edges.Add(Brief);
  Lengths.Add(Length);
  Between.push_back(Index);
  FIncident[V1].push_back(Index);
  if (V2 != V1) FIncident[V2].push_back(Index);
  return Index;
}

void TGConnectGraph::EnsureAdjacency() {
  const int32_t N = Vertices.Count();
  if (FAdjacentEdges == Edges.Count() && FAdjacentStart.size() == static_cast<size_t>(N) + 1)
    return;
  FAdjacentStart.assign(static_cast<size_t>(N) + 1, 0);
  FAdjacent.clear();
  FAdjacent.reserve(static_cast<size_t>(2 * Edges.Count()));
  for (int32_t V = 0; V < N; ++V) {
    FAdjacentStart[V] = static_cast<int32_t>(FAdjacent.size());
    for (int32_t I : FIncident[V]) {
      const TGConnectBrief* E = Edges.Ptr(I);
      const bool Forward = E->V1 == V;
      FAdjacent.push_back({I, Forward ? E->V2 : E->V1, *Lengths.Ptr(I), Forward});
    }
  }
  FAdjacentStart[N] = static_cast<int32_t>(FAdjacent.size());
  FAdjacentEdges = Edges.Count();
}

TGConnectFull TGConnectGraph::GetConnection(const TGConnectBrief& Brief) const {
  TGConnectFull C{};
  C.P1 = *Vertices.Ptr(Brief.V1);
  C.P2 = *Vertices.Ptr(Brief.V2);
  C.Kind = Brief.Kind;
  C.Convexity = Brief.Kind == geo::TConnectKind::Arc ? Brief.Convexity : 0.0;
  return C;
}

void TGConnectGraph::Clear() {
  Vertices.Clear();
  Edges.Clear();
  Lengths.Clear();
  FCells.clear();
  FPairs.clear();
  FIncident.clear();
  FAdjacentStart.clear();
  FAdjacent.clear();
  FAdjacentEdges = -1;
  ++ClearCount;
}

int32_t TGConnectGraph::CountEdgesBetween(int32_t A, int32_t B) const {
  auto It = FPairs.find(PairKey(A, B));
  if (It == FPairs.end()) return 0;
  int32_t Count = 0;
  for (int32_t E : It->second) {
    const TGConnectBrief* R = Edges.Ptr(E);
    if ((R->V1 == A && R->V2 == B) || (R->V1 == B && R->V2 == A)) ++Count;
  }
  return Count;
}

bool TGConnectGraph::FindShortestPath(int32_t From, int32_t To, int32_t ExcludedEdge,
                                      int32_t& LastEdge) {
  return SearchPath(
      From, To, [ExcludedEdge](int32_t I) { return I == ExcludedEdge; }, LastEdge);
}

bool TGConnectGraph::FindShortestPathAvoiding(int32_t From, int32_t To,
                                              const std::vector<bool>& Excluded,
                                              int32_t& LastEdge) {
  return SearchPath(
      From, To,
      [&Excluded](int32_t I) {
        return static_cast<size_t>(I) < Excluded.size() && Excluded[static_cast<size_t>(I)];
      },
      LastEdge);
}

template <class Skip>
bool TGConnectGraph::SearchPath(int32_t From, int32_t To, Skip&& IsExcluded, int32_t& LastEdge) {
  const int32_t N = Vertices.Count();
  if (N < 1) throw core::Exception("0 вершин");
  TRACE_ASSERT(From >= 0 && From < N && To >= 0 && To < N);
  PathEdge.resize(N, 0);
  PathForward.resize(N, false);
  EnsureAdjacency();
  // Per vertex: 0 unreached, 1 reached, 2 settled.
  std::vector<uint8_t> State(static_cast<size_t>(N), 0);
  std::vector<double> Dist(static_cast<size_t>(N), 0.0);
  // Settles vertices in the order of (distance, index), the lowest index
  // first on equal distances; stale heap entries are skipped.
  using Entry = std::pair<double, int32_t>;
  std::vector<Entry> Heap;
  Heap.reserve(static_cast<size_t>(N));
  const auto Later = std::greater<Entry>();
  State[From] = 2;
  Dist[From] = 0;
  int32_t Current = From;
  while (State[To] != 2) {
    const TAdjacent* A = FAdjacent.data() + FAdjacentStart[Current];
    const TAdjacent* AEnd = FAdjacent.data() + FAdjacentStart[Current + 1];
    for (; A != AEnd; ++A) {
      const int32_t Other = A->Other;
      if (State[Other] == 2 || IsExcluded(A->Edge)) continue;
      const double D = A->Length + Dist[Current];
      if (State[Other] == 0) {
        State[Other] = 1;
      } else if (!(D <= Dist[Other])) {
        continue;
      }
      Dist[Other] = D;
      PathEdge[Other] = A->Edge;
      PathForward[Other] = A->Forward;
      Heap.push_back({D, Other});
      std::push_heap(Heap.begin(), Heap.end(), Later);
    }
    Current = -1;
    while (!Heap.empty()) {
      std::pop_heap(Heap.begin(), Heap.end(), Later);
      const auto [D, V] = Heap.back();
      Heap.pop_back();
      if (State[V] != 2 && D == Dist[V]) {
        Current = V;
        break;
      }
    }
    if (Current < 0) return false;
    State[Current] = 2;
  }
  // Turn the chain of arrivals round so it can be followed from From.
  LastEdge = PathEdge[To];
  int32_t V = To;
  int32_t E = PathEdge[To];
  bool F = PathForward[To];
  while (V != From) {
    const TGConnectBrief* R = Edges.Ptr(E);
    const int32_t P = F ? R->V1 : R->V2;
    const int32_t NextE = PathEdge[P];
    const bool NextF = PathForward[P];
    PathEdge[P] = E;
    PathForward[P] = F;
    V = P;
    E = NextE;
    F = NextF;
  }
  return true;
}

}  // namespace trace
