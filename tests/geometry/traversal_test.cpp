#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "addonlib/geometry/complex_enum.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/interior_point.h"
#include "test_util.h"

namespace geo {
namespace {

using test::MessageOf;

TEST(Traversal, PartIterRanges) {
  TContour C;
  test::BuildThreeParts(C);
  std::vector<std::vector<int32_t>> Got;
  TPartIter P;
  for (P.Start(C, 0); !P.Eof(); P.Next()) Got.push_back({P.First, P.Last, P.Closed ? 1 : 0});
  EXPECT_EQ(Got, (std::vector<std::vector<int32_t>>{{0, 2, 1}, {3, 3, 0}, {4, 5, 0}}));
  // Starting inside a part finds its whole range.
  P.Start(C, 1);
  EXPECT_EQ(P.First, 0);
  EXPECT_EQ(P.Last, 2);
  P.Start(C, 2);  // at the close itself
  EXPECT_EQ(P.First, 0);
  EXPECT_TRUE(P.Closed);
  P.Start(C, 3);
  EXPECT_EQ(P.First, 3);
  EXPECT_EQ(P.Last, 3);
  P.Start(C, 5);
  EXPECT_EQ(P.First, 4);
  P.Start(C, 6);
  EXPECT_TRUE(P.Eof());
  TContour Empty;
  P.Start(Empty, 0);
  EXPECT_TRUE(P.Eof());
  // A lone ccMoveTo at the end is no part.
  C.AddMoveTo({9, 9});
  int Parts = 0;
  for (P.Start(C, 0); !P.Eof(); P.Next()) ++Parts;
  EXPECT_EQ(Parts, 3);
}

TEST(Traversal, EdgeCursorFindsEdgesByCommand) {
  TContour C;
  C.AddMoveTo({0, 0});
  C.AddArcTo({2, 0}, 1);
  C.AddLineTo({2, 0});  // degenerate
  C.AddCloseArc(1);
  C.AddLineTo({0, 3});  // after the close: from the part's start (0, 0)
  TEdgeCursor E;
  EXPECT_FALSE(E.Start(C, 0, false));  // a ccMoveTo has no edge: on the next one
  EXPECT_EQ(E.Cur, 1);
  EXPECT_TRUE(E.Start(C, 3, false));
  EXPECT_EQ(E.FromIndex, 2);
  EXPECT_EQ(E.ToIndex, 0);
  EXPECT_EQ(E.Edge.P2.X, 0.0);
  EXPECT_EQ(E.Edge.Convexity, 1.0);
  EXPECT_NEAR(E.Edge.Center.X, 1, 1E-15);
  EXPECT_TRUE(E.Start(C, 4, false));
  EXPECT_EQ(E.FromIndex, 0);
  EXPECT_EQ(E.Edge.P1.X, 0.0);
  EXPECT_EQ(E.Edge.P2.Y, 3.0);
  EXPECT_EQ(E.Edge.Convexity, 0.0);
  EXPECT_TRUE(E.Start(C, 2, false));
  EXPECT_FALSE(E.Start(C, 2, true));  // skipped
  EXPECT_EQ(E.Cur, 3);
  std::vector<int32_t> Curs;
  for (E.Start(C, 0, true); !E.Eof(); E.Next()) Curs.push_back(E.Cur);
  EXPECT_EQ(Curs, (std::vector<int32_t>{1, 3, 4}));
  EXPECT_FALSE(E.Start(C, -1, false));
  EXPECT_TRUE(E.Eof());
  EXPECT_FALSE(E.Start(C, 5, false));
}

TEST(Traversal, ContourEdgeIterFlags) {
  TContour C;
  C.AddMoveTo({0, 0});
  C.AddLineTo({4, 0});
  C.AddLineTo({4, 0});  // degenerate, skipped
  C.AddArcTo({4, 4}, 0.4);
  C.AddLineTo({0, 0});  // returns to the start: the close is degenerate
  C.AddClose();
  C.AddMoveTo({10, 10});
  C.AddLineTo({12, 10});
  C.AddMoveTo({20, 20});  // a part without edges
  C.AddMoveTo({30, 30});
  C.AddLineTo({31, 30});
  C.AddClose();
  C.AddLineTo({30, 35});  // a new part starting where the pen rests
  struct Seen {
    TDPoint P1, P2;
    bool First, Last, Closed;
  };
  std::vector<Seen> Got;
  TContourEdgeIter It;
  for (bool Ok = It.Start(C); Ok; Ok = It.Next())
    Got.push_back(
        {It.Edge.P1, It.Edge.P2, It.IsFirstOfPart(), It.IsLastOfPart(), It.IsClosedPart()});
  EXPECT_TRUE(It.Eof());
  EXPECT_TRUE(It.IsLastOfPart());
  ASSERT_EQ(Got.size(), 7u);
  const bool Flags[7][3] = {{true, false, false}, {false, false, false}, {false, true, true},
                            {true, true, false},  {true, false, false},  {false, true, true},
                            {true, true, false}};
  for (size_t I = 0; I < Got.size(); ++I) {
    EXPECT_EQ(Got[I].First, Flags[I][0]) << I;
    EXPECT_EQ(Got[I].Last, Flags[I][1]) << I;
    EXPECT_EQ(Got[I].Closed, Flags[I][2]) << I;
  }
  EXPECT_EQ(Got[1].P1.X, 4.0);
  EXPECT_EQ(Got[2].P2.Y, 0.0);
  EXPECT_EQ(Got[5].P2.X, 30.0);  // the close of the third part
  EXPECT_EQ(Got[6].P1.X, 30.0);  // from the pen's rest, not from (31, 30)
  EXPECT_EQ(Got[6].P1.Y, 30.0);
  TContour Empty;
  EXPECT_FALSE(It.Start(Empty));
  EXPECT_TRUE(It.IsLastOfPart());
  EXPECT_FALSE(It.IsFirstOfPart());
}

// On contours whose repeated points are exact repeats, the edge iterator and
// the complex enumerator (two separate walks) give the same edges.
TEST(Traversal, EdgeIterMatchesEnumerator) {
  std::mt19937 Rng(31337);
  std::uniform_int_distribution<int> Coord(0, 6);
  for (int Round = 0; Round < 200; ++Round) {
    TContour C;
    const int N = 3 + Round % 20;
    bool CloseSeen = true;  // only a piece clears it, as the enumerator wants
    for (int I = 0; I < N; ++I) {
      const TDPoint P{500000.0 + Coord(Rng), 6000000.0 + Coord(Rng)};
      const int K = static_cast<int>(Rng() % 8);
      if (I == 0 || K == 0) {
        C.AddMoveTo(P);
      } else if (K == 1 && !CloseSeen) {
        C.AddClose();
        CloseSeen = true;
      } else if (K == 2 && !CloseSeen) {
        C.AddCloseArc(0.5);
        CloseSeen = true;
      } else if (K < 5) {
        C.AddLineTo(P);
        CloseSeen = false;
      } else {
        C.AddArcTo(P, -0.7);
        CloseSeen = false;
      }
    }
    std::vector<TGConnectFull> Want;
    TGConnectFull F;
    TGComplexEnumerater En(C);
    while (En.Next(F)) Want.push_back(F);
    std::vector<TEdge> Got;
    TContourEdgeIter It;
    for (bool Ok = It.Start(C); Ok; Ok = It.Next()) Got.push_back(It.Edge);
    ASSERT_EQ(Got.size(), Want.size()) << Round;
    for (size_t I = 0; I < Got.size(); ++I) {
      EXPECT_EQ(Got[I].P1.X, Want[I].P1.X) << Round << ":" << I;
      EXPECT_EQ(Got[I].P1.Y, Want[I].P1.Y) << Round << ":" << I;
      EXPECT_EQ(Got[I].P2.X, Want[I].P2.X) << Round << ":" << I;
      EXPECT_EQ(Got[I].P2.Y, Want[I].P2.Y) << Round << ":" << I;
      EXPECT_EQ(Got[I].Convexity, Want[I].Kind == TConnectKind::Arc ? Want[I].Convexity : 0.0)
          << Round << ":" << I;
    }
  }
}

TEST(Traversal, RepresentativePoints) {
  const TDPoint Q = InteriorPointOfConnect(TGConnectFull{{0, 0}, {3, 0}, TConnectKind::Line, 0});
  EXPECT_EQ(Q.X, 1.0);
  EXPECT_EQ(Q.Y, 0.0);
  // Half circle from (2, 0) to (0, 0) turning left: over the top.
  TContour C;
  C.AddMoveTo({500002, 6000000});
  C.AddArcTo({500000, 6000000}, 1);
  TEdgeCursor E;
  ASSERT_TRUE(E.Start(C, 1, true));
  const TDPoint M = EdgeMidPoint(E.Edge);
  EXPECT_NEAR(M.X, 500001, 1E-9);
  EXPECT_NEAR(M.Y, 6000001, 1E-9);
  const double A = 0.626357899062 * 3.14159265358979323846;
  const TDPoint I = InteriorPointOfArc({500002, 6000000}, {500000, 6000000}, 1);
  EXPECT_NEAR(I.X, 500001 + std::cos(A), 1E-9);
  EXPECT_NEAR(I.Y, 6000000 + std::sin(A), 1E-9);
  const TDPoint I2 = InteriorPointOfConnect(TGConnectFull{{0, 0}, {2, 0}, TConnectKind::Arc, -1});
  EXPECT_NEAR(I2.X, 1 - std::cos(A), 1E-12);  // clockwise from (0, 0): over the chord
  EXPECT_NEAR(I2.Y, std::sin(A), 1E-12);
  const TDPoint Flat = InteriorPointOfArc({0, 0}, {2, 2}, 1E-10);
  EXPECT_EQ(Flat.X, 1.0);
  EXPECT_EQ(Flat.Y, 1.0);
  EXPECT_EQ(EdgeMidPoint(TEdge{{{0, 0}, {2, 4}, 0}, {0, 0}, 0, 0}).Y, 2.0);
  TEdgeList L;
  L.Init(0);
  L.Add(E.Edge);
  L.Add(TEdge{{{0, 0}, {2, 4}, 0}, {0, 0}, 0, 0});
  EXPECT_EQ(L.Prev(0).P2.Y, 4.0);
  EXPECT_EQ(L.Prev(1).Convexity, 1.0);
  EXPECT_NE(MessageOf([&] { L.Get(2); }), "<no exception>");
}

}  // namespace
}  // namespace geo
