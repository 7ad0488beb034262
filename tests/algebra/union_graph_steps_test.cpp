// The union graph's fast steps against the rescanning ones exactly as first
// written, on random inputs: the literal steps work on chains of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "addonlib/algebra/union_graph_internal.h"
#include "shapes.h"

namespace {

using geo::TDPoint;
using geoalg::TGUnionGraph;
using namespace test_shapes;

void LiteralCut(TGUnionGraph& G) {
  for (int32_t I = 0; I < G.ContourEdgeCount(0); ++I)
    for (int32_t J = 0; J < G.ContourEdgeCount(1);) {
      if (G.CutPair(I, J)) {
        J = 0;
        if (I >= G.ContourEdgeCount(0)) break;
      } else {
        ++J;
      }
    }
  G.SyncContourEdges();
}

// A chain as the literal steps keep it, apart from the graph.
struct TChain {
  int32_t V1, V2;
  geo::TBelongType Flags[2];
  std::vector<int32_t> Edges;
};

std::vector<int32_t> Listed(const geo::TLongintList& L) {
  return std::vector<int32_t>(L.List(), L.List() + L.Count());
}

std::vector<TChain> ChainsOf(const TGUnionGraph& G) {
  std::vector<TChain> Chains;
  for (int32_t C = 0; C < G.Longs().Count(); ++C) {
    const geo::TGConnectLong& L = *G.Longs().Ptr(C);
    Chains.push_back({L.V1, L.V2, {L.Flags[0], L.Flags[1]}, Listed(L.List())});
  }
  return Chains;
}

bool EndsAt(const TChain& L, int32_t V) {
  return L.V1 == V || L.V2 == V;
}

// B's edges go to A, and A's end shared with B moves to B's far end; the
// matchings are tried in the order V1=V1, V1=V2, V2=V1, V2=V2.
void MergeInto(TChain& A, const TChain& B) {
  int32_t* const AEnd[4] = {&A.V1, &A.V1, &A.V2, &A.V2};
  const int32_t BEnd[4] = {B.V1, B.V2, B.V1, B.V2};
  for (int K = 0; K < 4; ++K)
    if (*AEnd[K] == BEnd[K]) {
      *AEnd[K] = B.V1 + B.V2 - BEnd[K];  // B's other end
      A.Edges.insert(A.Edges.end(), B.Edges.begin(), B.Edges.end());
      return;
    }
  FAIL() << "no common end";
}

// Chain ends are counted at every vertex, a closed chain counting 3 besides
// its two ends; at the first vertex counting exactly 2, the first chain
// there absorbs the second (with equal types only, unless AnyTypes), and the
// pass starts again.
void LiteralMergeSimple(std::vector<TChain>& Chains, int32_t PointCount, bool AnyTypes) {
  for (bool Merged = true; Merged;) {
    Merged = false;
    std::vector<int32_t> Count(PointCount, 0);
    for (const TChain& L : Chains) {
      if (L.V1 == L.V2) Count[L.V1] = 3;
      ++Count[L.V1];
      ++Count[L.V2];
    }
    for (int32_t V = 0; V < PointCount && !Merged; ++V) {
      if (Count[V] != 2) continue;
      size_t Found[2], N = 0;
      for (size_t C = 0; C < Chains.size() && N < 2; ++C)
        if (EndsAt(Chains[C], V)) Found[N++] = C;
      ASSERT_EQ(N, 2u);
      TChain& A = Chains[Found[0]];
      const TChain& B = Chains[Found[1]];
      if (!AnyTypes && (A.Flags[0] != B.Flags[0] || A.Flags[1] != B.Flags[1])) continue;
      MergeInto(A, B);
      Chains.erase(Chains.begin() + static_cast<std::ptrdiff_t>(Found[1]));
      Merged = true;
    }
  }
}

// Chains of priority -1 go; -2 cannot occur.
void LiteralDrop(std::vector<TChain>& Chains, const TGUnionGraph& G) {
  std::vector<TChain> Kept;
  for (TChain& L : Chains) {
    const int32_t P = G.Priority(L.Flags[0], L.Flags[1]);
    ASSERT_NE(P, -2);
    if (P != -1) Kept.push_back(std::move(L));
  }
  Chains = std::move(Kept);
}

// At the first vertex with two or more open chain ends, the chains there
// ordered by priority, store order breaking ties: the second absorbs the first.
void LiteralMergeByPriority(std::vector<TChain>& Chains, int32_t PointCount,
                            const TGUnionGraph& G) {
  for (bool Merged = true; Merged;) {
    Merged = false;
    for (int32_t V = 0; V < PointCount && !Merged; ++V) {
      std::vector<std::pair<int32_t, size_t>> Ends;  // (priority, chain)
      for (size_t C = 0; C < Chains.size(); ++C) {
        const TChain& L = Chains[C];
        if (L.V1 != L.V2 && EndsAt(L, V)) Ends.push_back({G.Priority(L.Flags[0], L.Flags[1]), C});
      }
      if (Ends.size() < 2) continue;
      std::sort(Ends.begin(), Ends.end());
      const size_t Lowest = Ends[0].second, Second = Ends[1].second;
      ASSERT_GE(Ends[0].first, 0);
      MergeInto(Chains[Second], Chains[Lowest]);
      Chains.erase(Chains.begin() + static_cast<std::ptrdiff_t>(Lowest));
      Merged = true;
    }
  }
}

void LiteralArrange(std::vector<TChain>& Chains, const geoalg::TConnectBriefList& Edges) {
  for (TChain& L : Chains) {
    std::vector<int32_t> Rest = L.Edges;
    // Walks from Start, always taking the first remaining edge at the vertex.
    auto Walk = [&](int32_t Start, std::vector<int32_t>& Path, std::vector<int32_t>& Seen) {
      int32_t Current = Start;
      while (true) {
        size_t K = 0;
        while (K < Rest.size() && Edges.Get(Rest[K]).V1 != Current &&
               Edges.Get(Rest[K]).V2 != Current)
          ++K;
        if (K == Rest.size()) return Current;
        const auto B = Edges.Get(Rest[K]);
        Path.push_back(Rest[K]);
        Seen.push_back(Current);
        Rest.erase(Rest.begin() + K);
        Current = B.V1 == Current ? B.V2 : B.V1;
      }
    };
    std::vector<int32_t> Ordered, At;
    Walk(L.V1, Ordered, At);
    while (!Rest.empty()) {  // loops left over are spliced in where first met
      size_t K = 0;
      auto Touches = [&](int32_t V) {
        for (int32_t E : Rest)
          if (Edges.Get(E).V1 == V || Edges.Get(E).V2 == V) return true;
        return false;
      };
      while (K < At.size() && !Touches(At[K])) ++K;
      ASSERT_LT(K, At.size());
      std::vector<int32_t> Detour, DetourAt;
      ASSERT_EQ(Walk(At[K], Detour, DetourAt), At[K]);
      Ordered.insert(Ordered.begin() + K, Detour.begin(), Detour.end());
      At.insert(At.begin() + K, DetourAt.begin(), DetourAt.end());
    }
    L.Edges = std::move(Ordered);
  }
}

void ExpectSameStores(const TGUnionGraph& F, const TGUnionGraph& L) {
  ASSERT_EQ(F.Points().Count(), L.Points().Count());
  ASSERT_EQ(F.Edges().Count(), L.Edges().Count());
  for (int32_t I = 0; I < F.Edges().Count(); ++I) {
    const geo::TGConnectBrief EF = F.Edges().Get(I), EL = L.Edges().Get(I);
    ASSERT_EQ(geo::ConnectBriefsDifferStrict(&EF, &EL), 0);
    ASSERT_EQ(F.BelongEdgePairs().Items(I).Belong[0], L.BelongEdgePairs().Items(I).Belong[0]);
    ASSERT_EQ(F.BelongEdgePairs().Items(I).Belong[1], L.BelongEdgePairs().Items(I).Belong[1]);
  }
  for (int K = 0; K < 2; ++K) ASSERT_EQ(Listed(F.ContourEdges(K)), Listed(L.ContourEdges(K)));
}

void ExpectSameChains(const TGUnionGraph& F, const std::vector<TChain>& L) {
  const std::vector<TChain> Got = ChainsOf(F);
  ASSERT_EQ(Got.size(), L.size());
  for (size_t C = 0; C < L.size(); ++C) {
    ASSERT_EQ(Got[C].V1, L[C].V1) << C;
    ASSERT_EQ(Got[C].V2, L[C].V2) << C;
    ASSERT_EQ(Got[C].Flags[0], L[C].Flags[0]) << C;
    ASSERT_EQ(Got[C].Flags[1], L[C].Flags[1]) << C;
    ASSERT_EQ(Got[C].Edges, L[C].Edges) << C;
  }
}

TEST(UnionGraph, FastStepsMatchTheRescanningOnes) {
  std::mt19937 Rng(5150);
  for (int Round = 0; Round < 80; ++Round) {
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const Shape A = RandomShape(Rng, Round, O, Round % 3 == 1);
    const Shape B = RandomShape(Rng, Round / 2 + 1, O, Round % 4 == 1);
    const int Op = Round % 4;
    SCOPED_TRACE("round " + std::to_string(Round));
    TGUnionGraph Fast, Literal;
    Fast.Init(A.C, B.C, 1e-4);
    Literal.Init(A.C, B.C, 1e-4);
    Fast.CutCrossings();
    LiteralCut(Literal);
    ExpectSameStores(Fast, Literal);
    Fast.BuildChains();
    std::vector<TChain> Chains = ChainsOf(Fast);
    const int32_t N = Fast.Points().Count();
    Fast.MergeSimpleVertices();
    LiteralMergeSimple(Chains, N, false);
    ExpectSameChains(Fast, Chains);
    Fast.SetOperation(static_cast<geoalg::TUnionOperation>(Op));
    ASSERT_TRUE(Fast.AnyTypesMerge());
    Fast.DropByPriority();
    LiteralDrop(Chains, Fast);
    ExpectSameChains(Fast, Chains);
    Fast.MergeSimpleVertices();
    LiteralMergeSimple(Chains, N, true);
    ExpectSameChains(Fast, Chains);
    Fast.MergeByPriority();
    LiteralMergeByPriority(Chains, N, Fast);
    ExpectSameChains(Fast, Chains);
    Fast.ArrangeLongs();
    LiteralArrange(Chains, Fast.Edges());
    ExpectSameChains(Fast, Chains);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
