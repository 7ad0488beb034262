#include "trace/engine/connect_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

using geo::TDPoint;
using geo::TGConnectBrief;
using geo::TGConnectFull;
using trace::TGConnectGraph;

TGConnectFull Line(TDPoint A, TDPoint B) {
  return {A, B, geo::TConnectKind::Line, 0.0};
}
TGConnectFull Arc(TDPoint A, TDPoint B, double C) {
  return {A, B, geo::TConnectKind::Arc, C};
}

// The search from its definition: every edge scanned for every settled
// vertex, every vertex scanned for every choice. Each vertex keeps its
// arrival (edge, direction) as the search writes it, and its predecessor
// vertex; the found path is then read through the predecessors and the
// arrays rewritten along it as the search promises to leave them.
struct LiteralResult {
  bool Found;
  int32_t LastEdge;
  std::vector<int32_t> PathEdge;
  std::vector<bool> PathForward;
};

LiteralResult LiteralShortestPath(const TGConnectGraph& G, int32_t From, int32_t To,
                                  int32_t Excluded, std::vector<int32_t> PathEdge,
                                  std::vector<bool> PathForward) {
  const int32_t N = G.Vertices.Count();
  PathEdge.resize(N, 0);
  PathForward.resize(N, false);
  std::vector<bool> Visited(N, false), Unreached(N, true);
  std::vector<double> Dist(N, 0);
  std::vector<int32_t> Pred(N, -1);
  Visited[From] = true;
  int32_t Current = From;
  while (!Visited[To]) {
    for (int32_t I = 0; I < G.Edges.Count(); ++I) {
      if (I == Excluded) continue;
      const TGConnectBrief E = G.Edges.Items(I);
      int32_t Other;
      bool Forward;
      if (E.V1 == Current) {
        Other = E.V2;
        Forward = true;
      } else if (E.V2 == Current) {
        Other = E.V1;
        Forward = false;
      } else {
        continue;
      }
      if (Visited[Other]) continue;
      const double D = G.Lengths.Items(I) + Dist[Current];
      if (Unreached[Other])
        Unreached[Other] = false;
      else if (!(D <= Dist[Other]))
        continue;
      Dist[Other] = D;
      PathEdge[Other] = I;
      PathForward[Other] = Forward;
      Pred[Other] = Current;
    }
    int32_t Best = -1;
    for (int32_t V = 0; V < N; ++V)
      if (!Visited[V] && !Unreached[V] && (Best < 0 || Dist[V] < Dist[Best])) Best = V;
    if (Best < 0) return {false, -1, PathEdge, PathForward};
    Visited[Best] = true;
    Current = Best;
  }
  // From, ..., To: every vertex on it but To gets the edge by which the next
  // one was reached, and whether that edge runs from the vertex as its V1.
  std::vector<int32_t> Path{To};
  while (Path.back() != From) Path.push_back(Pred[Path.back()]);
  std::reverse(Path.begin(), Path.end());
  const std::vector<int32_t> Arrival = PathEdge;
  for (size_t K = 0; K + 1 < Path.size(); ++K) {
    const int32_t Edge = Arrival[Path[K + 1]];
    PathEdge[Path[K]] = Edge;
    PathForward[Path[K]] = G.Edges.Items(Edge).V1 == Path[K];
  }
  return {true, Arrival[To], PathEdge, PathForward};
}

// The literal vertex lookup: the first vertex within the point tolerance.
int32_t LiteralFindVertex(const TGConnectGraph& G, TDPoint P) {
  for (int32_t V = 0; V < G.Vertices.Count(); ++V)
    if (geo::SamePoint(G.Vertices.Items(V), P)) return V;
  return -1;
}

TEST(ConnectGraph, EdgesAreStoredOnceAndArcsByExactConvexity) {
  TGConnectGraph G;
  EXPECT_EQ(G.AddConnection(Line({0, 0}, {1, 0})), 0);
  EXPECT_EQ(G.AddConnection(Line({1, 0}, {0, 0})), 0);         // reversed
  EXPECT_EQ(G.AddConnection(Line({5E-7, 0}, {1, -5E-7})), 0);  // within the tolerance
  EXPECT_EQ(G.AddConnection(Arc({0, 0}, {1, 0}, 0.5)), 1);
  EXPECT_EQ(G.AddConnection(Arc({1, 0}, {0, 0}, -0.5)), 1);         // the same arc backwards
  EXPECT_EQ(G.AddConnection(Arc({0, 0}, {1, 0}, 0.5 + 1E-12)), 2);  // strict: another arc
  EXPECT_EQ(G.Vertices.Count(), 2);
  EXPECT_EQ(G.Edges.Count(), 3);
  EXPECT_EQ(G.Lengths.Count(), 3);
  EXPECT_EQ(G.CountEdgesBetween(0, 1), 3);
  EXPECT_EQ(G.CountEdgesBetween(1, 0), 3);
  // A half circle over a chord of 2 is pi long.
  const int32_t Half = G.AddConnection(Arc({10, 0}, {12, 0}, 1));
  EXPECT_NEAR(G.Lengths.Items(Half), std::numbers::pi, 1e-12);
  const TGConnectFull Back = G.GetConnection(G.Edges.Items(Half));
  EXPECT_EQ(Back.P2.X, 12);
  EXPECT_EQ(Back.Convexity, 1);
  G.Clear();
  EXPECT_EQ(G.Vertices.Count() + G.Edges.Count() + G.Lengths.Count(), 0);
  EXPECT_EQ(G.FindOrAddVertex({1, 0}), 0);
}

TEST(ConnectGraph, SquareZoneAddedTwiceAndSearchCases) {
  geo::TContour Square;
  Square.AddMoveTo({0, 0});
  Square.AddLineTo({10, 0});
  Square.AddArcTo({10, 10}, 0.3);
  Square.AddLineTo({0, 10});
  Square.AddClose();
  TGConnectGraph G;
  EXPECT_THROW(
      {
        int32_t L;
        G.FindShortestPath(0, 0, -1, L);
      },
      core::Exception);
  G.AddContour(Square);
  G.AddContour(Square);  // the same zone again changes nothing
  EXPECT_EQ(G.Vertices.Count(), 4);
  EXPECT_EQ(G.Edges.Count(), 4);

  int32_t Last = -7;
  ASSERT_TRUE(G.FindShortestPath(0, 3, -1, Last));
  EXPECT_EQ(Last, 3);  // straight back along the closing edge
  EXPECT_EQ(G.PathEdge[0], 3);
  EXPECT_FALSE(G.PathForward[0]);
  // Without that edge, the long way round: 0 -> 1 -> 2 -> 3.
  ASSERT_TRUE(G.FindShortestPath(0, 3, 3, Last));
  EXPECT_EQ(Last, 2);
  EXPECT_EQ(G.PathEdge[0], 0);
  EXPECT_EQ(G.PathEdge[1], 1);
  EXPECT_EQ(G.PathEdge[2], 2);
  EXPECT_TRUE(G.PathForward[0] && G.PathForward[1] && G.PathForward[2]);
  EXPECT_TRUE(G.FindShortestPath(2, 2, -1, Last));  // to itself

  // A second zone that shares no end point cannot be reached.
  geo::TContour Far;
  Far.AddMoveTo({100, 100});
  Far.AddLineTo({110, 100});
  Far.AddLineTo({110, 110});
  Far.AddClose();
  G.AddContour(Far);
  EXPECT_FALSE(G.FindShortestPath(0, 5, -1, Last));
  // A single segment with its only edge excluded.
  TGConnectGraph One;
  One.AddConnection(Line({0, 0}, {1, 1}));
  EXPECT_FALSE(One.FindShortestPath(0, 1, 0, Last));
}

TEST(ConnectGraph, MatchesTheLiteralProcedureOnRandomGraphs) {
  std::mt19937 Rng(2024);
  for (int Round = 0; Round < 60; ++Round) {
    const double OX = Round % 2 ? 500000 : 0, OY = Round % 2 ? 6000000 : 0;
    const int Side = 3 + Round % 6;
    // Lattice points so that ties in length are common; some arcs.
    std::uniform_int_distribution<int> Pick(0, Side - 1), Kind(0, 3);
    TGConnectGraph G;
    for (int I = 0; I < Side * Side * 2; ++I) {
      TDPoint A{OX + Pick(Rng), OY + Pick(Rng)}, B{OX + Pick(Rng), OY + Pick(Rng)};
      if (geo::SamePoint(A, B)) continue;
      const int K = Kind(Rng);
      G.AddConnection(K == 0 ? Arc(A, B, 0.25) : Line(A, B));
      // A point a hair away from a vertex must find that vertex.
      const TDPoint Near{A.X + 4E-7, A.Y - 4E-7};
      ASSERT_EQ(G.FindOrAddVertex(Near), LiteralFindVertex(G, Near));
    }
    std::uniform_int_distribution<int32_t> V(0, G.Vertices.Count() - 1);
    std::uniform_int_distribution<int32_t> E(-1, G.Edges.Count() - 1);
    for (int Q = 0; Q < 20; ++Q) {
      const int32_t From = V(Rng), To = V(Rng), Ex = E(Rng);
      const auto Ref = LiteralShortestPath(G, From, To, Ex, G.PathEdge, G.PathForward);
      int32_t Last = -1;
      const bool Found = G.FindShortestPath(From, To, Ex, Last);
      ASSERT_EQ(Found, Ref.Found);
      ASSERT_EQ(G.PathEdge, Ref.PathEdge);
      ASSERT_EQ(G.PathForward, Ref.PathForward);
      if (Found && From != To) {
        ASSERT_EQ(Last, Ref.LastEdge);
      }
    }
  }
}

}  // namespace
