#include <gtest/gtest.h>

#include "trace/engine/connect_graph.h"

namespace {

using geo::TDPoint;

// A ring of six vertices with a chord 0-3.
struct PathAvoidingTest : ::testing::Test {
  trace::TGConnectGraph G;
  void SetUp() override {
    geo::TContour Ring;
    Ring.AddMoveTo({500000, 6000000});
    for (int I = 1; I < 6; ++I) Ring.AddLineTo({500000 + I * 10.0, 6000000 + (I % 2) * 5.0});
    Ring.AddClose();
    G.AddContour(Ring);
    geo::TContour Chord;
    Chord.AddMoveTo({500000, 6000000});
    Chord.AddLineTo({500030, 6000005});
    G.AddContour(Chord);
  }
  std::vector<int32_t> Walk(int32_t From, int32_t To) {
    std::vector<int32_t> Edges;
    for (int32_t V = From; V != To;) {
      const int32_t E = G.PathEdge[V];
      Edges.push_back(E);
      V = G.PathForward[V] ? G.Edges.Ptr(E)->V2 : G.Edges.Ptr(E)->V1;
    }
    return Edges;
  }
};

TEST_F(PathAvoidingTest, ExcludedEdgesAreNeverWalkedAndASearchWithoutExclusionsIsTheUsualOne) {
  int32_t Last = -1;
  ASSERT_TRUE(G.FindShortestPath(0, 3, -1, Last));
  EXPECT_EQ(Walk(0, 3), (std::vector<int32_t>{6}));  // the chord
  std::vector<bool> Excluded(3, false);              // shorter than the edge list: the rest kept
  ASSERT_TRUE(G.FindShortestPathAvoiding(0, 3, Excluded, Last));
  EXPECT_EQ(Walk(0, 3), (std::vector<int32_t>{6}));
  Excluded.assign(7, false);
  Excluded[6] = true;
  Excluded[0] = true;
  ASSERT_TRUE(G.FindShortestPathAvoiding(0, 3, Excluded, Last));
  EXPECT_EQ(Walk(0, 3), (std::vector<int32_t>{5, 4, 3}));
  EXPECT_EQ(Last, 3);
  Excluded[5] = true;
  EXPECT_FALSE(G.FindShortestPathAvoiding(0, 3, Excluded, Last));
}

TEST_F(PathAvoidingTest, FindVertexFindsWithoutAddingAndClearIsCounted) {
  const int32_t N = G.Vertices.Count();
  EXPECT_EQ(G.FindVertex({500030, 6000005 + 5e-7}), 3);
  EXPECT_EQ(G.FindVertex({500030, 6000006}), -1);
  EXPECT_EQ(G.Vertices.Count(), N);
  const uint32_t Clears = G.ClearCount;
  G.Clear();
  EXPECT_EQ(G.ClearCount, Clears + 1);
  EXPECT_EQ(G.FindVertex({500000, 6000000}), -1);
}

}  // namespace
