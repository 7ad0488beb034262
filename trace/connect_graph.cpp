#include "trace/connect_graph.h"

#include <cmath>
#include <functional>
#include <limits>
#include <queue>

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
  TGConnectBrief Brief{V1, V2, C.Kind, C.Kind == 1 ? C.Convexity : 0.0};
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

TGConnectFull TGConnectGraph::GetConnection(const TGConnectBrief& Brief) const {
  TGConnectFull C{};
  C.P1 = *Vertices.Ptr(Brief.V1);
  C.P2 = *Vertices.Ptr(Brief.V2);
  C.Kind = Brief.Kind;
  C.Convexity = Brief.Kind == 1 ? Brief.Convexity : 0.0;
  return C;
}

void TGConnectGraph::Clear() {
  Vertices.Clear();
  Edges.Clear();
  Lengths.Clear();
  FCells.clear();
  FPairs.clear();
  FIncident.clear();
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
  std::vector<bool> Visited(N, false);
  std::vector<bool> Unreached(N, true);
  std::vector<double> Dist(N, 0.0);
  // Settles vertices in the order of (distance, index), the lowest index
  // first on equal distances; stale heap entries are skipped.
  using Entry = std::pair<double, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> Heap;
  Visited[From] = true;
  Dist[From] = 0;
  int32_t Current = From;
  while (!Visited[To]) {
    for (int32_t I : FIncident[Current]) {
      if (IsExcluded(I)) continue;
      const TGConnectBrief* E = Edges.Ptr(I);
      int32_t Other;
      bool Forward;
      if (E->V1 == Current) {
        Other = E->V2;
        Forward = true;
      } else {
        Other = E->V1;
        Forward = false;
      }
      if (Visited[Other]) continue;
      const double D = *Lengths.Ptr(I) + Dist[Current];
      if (Unreached[Other]) {
        Unreached[Other] = false;
      } else if (!(D <= Dist[Other])) {
        continue;
      }
      Dist[Other] = D;
      PathEdge[Other] = I;
      PathForward[Other] = Forward;
      Heap.push({D, Other});
    }
    Current = -1;
    while (!Heap.empty()) {
      const auto [D, V] = Heap.top();
      Heap.pop();
      if (!Visited[V] && D == Dist[V]) {
        Current = V;
        break;
      }
    }
    if (Current < 0) return false;
    Visited[Current] = true;
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
