// Putting each chain's edges of the union graph in walking order.
#include <algorithm>
#include <utility>
#include <vector>

#include "addonlib/algebra/union_graph_internal.h"

namespace geoalg {

using geo::TGConnectBrief;

void TGUnionGraph::ArrangeLongs() {
  std::vector<std::pair<int32_t, int32_t>> ByVertex;  // (vertex, position)
  std::vector<uint8_t> Taken;
  std::vector<int32_t> Ordered, At, Detour, DetourAt;
  for (int32_t C = 0; C < FLongs.Count(); ++C) {
    geo::TLongintList& List = FLongs.Ptr(C)->List();
    const int32_t N = List.Count();
    ByVertex.clear();
    for (int32_t I = 0; I < N; ++I) {
      const TGConnectBrief B = FEdges.Get(List.Items(I));
      ByVertex.push_back({B.V1, I});
      ByVertex.push_back({B.V2, I});
    }
    std::sort(ByVertex.begin(), ByVertex.end());
    Taken.assign(N, 0);
    int32_t Left = N;
    // Walks from Start taking, at each vertex, the first remaining edge in
    // list order, until no edge is left there; Path gets the edges and Seen
    // the vertex each one leaves from.
    auto Walk = [&](int32_t Start, std::vector<int32_t>& Path, std::vector<int32_t>& Seen) {
      int32_t Current = Start;
      while (true) {
        auto It = std::lower_bound(ByVertex.begin(), ByVertex.end(), std::make_pair(Current, 0));
        while (It != ByVertex.end() && It->first == Current && Taken[It->second]) ++It;
        if (It == ByVertex.end() || It->first != Current) return Current;
        const int32_t Pos = It->second;
        Taken[Pos] = 1;
        --Left;
        const TGConnectBrief B = FEdges.Get(List.Items(Pos));
        Path.push_back(List.Items(Pos));
        Seen.push_back(Current);
        Current = B.V1 == Current ? B.V2 : B.V1;
      }
    };
    Ordered.clear();
    At.clear();
    Walk(FLongs.Ptr(C)->V1, Ordered, At);
    // A chain that passes through one vertex twice (a figure eight, as a
    // symmetric difference of cells touching at a corner gives) can bring
    // the walk back to its start with edges left over. Each such loop of
    // leftovers starts at a vertex already walked and is spliced in there.
    while (Left > 0) {
      size_t K = 0;
      int32_t From = -1;
      for (; K < At.size() && From < 0; ++K) {
        auto It = std::lower_bound(ByVertex.begin(), ByVertex.end(), std::make_pair(At[K], 0));
        for (; It != ByVertex.end() && It->first == At[K]; ++It)
          if (!Taken[It->second]) {
            From = At[K];
            break;
          }
      }
      if (From < 0) Fail("Error ArrangeConnectLong");
      --K;
      Detour.clear();
      DetourAt.clear();
      if (Walk(From, Detour, DetourAt) != From) Fail("Error ArrangeConnectLong");
      Ordered.insert(Ordered.begin() + static_cast<std::ptrdiff_t>(K), Detour.begin(),
                     Detour.end());
      At.insert(At.begin() + static_cast<std::ptrdiff_t>(K), DetourAt.begin(), DetourAt.end());
    }
    List.BeginUpdate();
    List.Clear();
    for (int32_t E : Ordered) List.Add(E);
    List.EndUpdate();
  }
}
}  // namespace geoalg
