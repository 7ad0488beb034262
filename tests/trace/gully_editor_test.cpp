#include <gtest/gtest.h>

#include <random>

#include "addonkit/hresult_error.h"
#include "editor_fixture.h"

namespace {

using fake::Cmd;
using fake::Commands;
using fake::SameCommands;
using geo::TDPoint;

constexpr double OX = 500000, OY = 6000000;
const TDPoint A{OX, OY}, B{OX + 100, OY}, C{OX + 100, OY + 100}, D{OX, OY + 100};

struct GullyEditorTest : fake::EditorTest {
  void SetUp() override {
    EditorTest::SetUp();
    Host.View.CX = OX;
    Host.View.CY = OY;
    Host.View.Scale = 0.5;
  }
  // A square whose side B-C bulges outwards, so the short way from A to C
  // runs through D.
  void AddSquare() {
    geo::TContour S;
    S.AddMoveTo(A);
    S.AddLineTo(B);
    S.AddArcTo(C, 0.4);
    S.AddLineTo(D);
    S.AddClose();
    Graph.AddContour(S);
  }
  Commands Line(const TDPoint& P) { return {Cmd(kx::kxLineTo, P.X, P.Y)}; }
};

TEST_F(GullyEditorTest, SnapWithinEightPixelsOnlyFirstClickStartsWithAMove) {
  AddSquare();
  auto& E = MakeEditor();
  // Squared distance 64 snaps to the vertex exactly.
  E.MouseDown(0, 0, {8, 0});
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y)}));
  EXPECT_EQ(Host.View.Operation27Calls, 1);
  E.UndoAll();
  // 65 does not: the raw click point.
  E.MouseDown(0, 0, {8, 1});
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, OX + 4, OY - 0.5)}));
  E.MouseDown(0, 0, {-4, 7});
  EXPECT_TRUE(SameCommands(
      Trace().List, {Cmd(kx::kxMoveTo, OX + 4, OY - 0.5), Cmd(kx::kxLineTo, OX - 2, OY - 3.5)}));
  // Right button and suspended editors do nothing.
  E.MouseDown(1, 0, {200, 0});
  E.Suspend();
  EXPECT_EQ(E.GetOptions(), 0u);
  E.MouseDown(0, 0, {200, 0});
  EXPECT_EQ(Trace().List.size(), 2u);
  E.Resume();
  EXPECT_EQ(E.GetOptions(), 4628u);
  EXPECT_EQ(E.Elems.Count(), 2);
}

TEST_F(GullyEditorTest, AlongTheZoneShorterWayArcsAsArcsNeverBackAlongTheArrivalEdge) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y);  // the short way, through D
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, D.X, D.Y),
                                          Cmd(kx::kxLineTo, C.X, C.Y)}));
  EXPECT_EQ(E.Elems.Ptr(1)->Index2, 2);  // arrived along C-D
  // Undo removes every command of the path.
  E.UndoLast();
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y)}));
  Click(B.X, B.Y);
  Click(C.X, C.Y);  // along the arc
  Click(B.X, B.Y);  // not back along the arc: all the way round
  EXPECT_TRUE(SameCommands(
      Trace().List,
      {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, B.X, B.Y), Cmd(kx::kxArcTo, C.X, C.Y, 0.4),
       Cmd(kx::kxLineTo, D.X, D.Y), Cmd(kx::kxLineTo, A.X, A.Y), Cmd(kx::kxLineTo, B.X, B.Y)}));
  EXPECT_EQ(E.Elems.Count(), 4);
  EXPECT_EQ(E.Elems.Ptr(3)->Index2, 0);
  // Clicking the last point again undoes it with all of its path.
  Click(B.X, B.Y);
  EXPECT_EQ(E.Elems.Count(), 3);
  EXPECT_EQ(Trace().List.size(), 3u);
  // An arc walked backwards has its convexity negated.
  E.UndoAll();
  Click(C.X, C.Y);
  Click(B.X, B.Y);
  EXPECT_TRUE(
      SameCommands(Trace().List, {Cmd(kx::kxMoveTo, C.X, C.Y), Cmd(kx::kxArcTo, B.X, B.Y, -0.4)}));
  // One-point undo empties the contour.
  E.UndoLast();
  E.UndoLast();
  EXPECT_TRUE(Trace().List.empty());
  EXPECT_EQ(E.Elems.Count(), 0);
  E.UndoLast();  // nothing left: nothing happens
  EXPECT_GT(Pad.Updates, 0);
}

TEST_F(GullyEditorTest, CtrlTakesTheOtherWayRoundAndFallsBackWithoutOne) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y, kx::kxShiftStateCtrl);
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, B.X, B.Y),
                                          Cmd(kx::kxArcTo, C.X, C.Y, 0.4)}));
  EXPECT_EQ(E.Elems.Ptr(1)->Index2, 1);
  // Other bits of the shift state change nothing.
  E.UndoLast();
  Click(C.X, C.Y, 1 | 2 | 8);
  EXPECT_EQ(Trace().List[1].Point.X, D.X);

  // An open chain has no other way: Ctrl takes the only one.
  Graph.Clear();
  E.UndoAll();
  geo::TContour Chain;
  Chain.AddMoveTo(A);
  Chain.AddLineTo(B);
  Chain.AddLineTo(C);
  Graph.AddContour(Chain);
  Click(A.X, A.Y);
  Click(C.X, C.Y, kx::kxShiftStateCtrl);
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, B.X, B.Y),
                                          Cmd(kx::kxLineTo, C.X, C.Y)}));
}

TEST_F(GullyEditorTest, StraightStepsTracePointsAndTheSecondEdgeIndex) {
  AddSquare();
  auto& E = MakeEditor();
  E.Along = false;
  Click(A.X, A.Y);
  Click(C.X, C.Y);  // snapped, but straight
  Click(OX + 50, OY + 40);
  Click(OX + 50, OY + 60);
  Click(OX + 51, OY + 40);  // within 8 pixels of the earlier trace point
  EXPECT_TRUE(SameCommands(
      Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, C.X, C.Y),
                     Cmd(kx::kxLineTo, OX + 50, OY + 40), Cmd(kx::kxLineTo, OX + 50, OY + 60),
                     Cmd(kx::kxLineTo, OX + 50, OY + 40)}));
  for (int I = 0; I < E.Elems.Count(); ++I) EXPECT_EQ(E.Elems.Ptr(I)->Index2, -1);

  // Two arcs between the same two vertices: a one-edge step remembers it.
  Graph.Clear();
  E.UndoAll();
  E.Along = true;
  geo::TContour Lens;
  Lens.AddMoveTo(A);
  Lens.AddArcTo(B, 0.3);
  Lens.AddCloseArc(0.3);
  Graph.AddContour(Lens);
  ASSERT_EQ(Graph.CountEdgesBetween(0, 1), 2);
  // Both arcs are equally long; of equal distances the later edge wins,
  // here the second arc walked backwards.
  Click(A.X, A.Y);
  Click(B.X, B.Y);
  EXPECT_EQ(E.Elems.Ptr(1)->Index1, 1);
  EXPECT_EQ(E.Elems.Ptr(1)->Index2, 1);
  // Back to A: the arrival arc is excluded, so the other arc is taken.
  Click(A.X, A.Y);
  EXPECT_TRUE(
      SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxArcTo, B.X, B.Y, -0.3),
                                  Cmd(kx::kxArcTo, A.X, A.Y, -0.3)}));
  EXPECT_EQ(E.Elems.Ptr(2)->Index1, 0);
}

TEST_F(GullyEditorTest, EmptyGraphRefusesClicksAndFailedStepsLeaveTheTraceAsItWas) {
  auto& E = MakeEditor();
  EXPECT_THROW(E.FindNearestPoint(A), core::Exception);
  Click(A.X, A.Y);
  EXPECT_TRUE(Trace().List.empty());
  EXPECT_EQ(Pad.Updates, 1);
  EXPECT_EQ(Host.View.Operation27Calls, 0);

  AddSquare();
  Click(A.X, A.Y);
  Trace().FailAdds = 2;  // the path's second command fails
  EXPECT_THROW(Click(C.X, C.Y), kx::EHResultError);
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y)}));
  EXPECT_EQ(E.Elems.Count(), 1);
  // Through the host's interface the failure is E_FAIL.
  Trace().FailAdds = 1;
  const auto P = Pixel(C.X, C.Y);
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, P.X, P.Y), E_FAIL);
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, P.X, P.Y), S_OK);
  EXPECT_EQ(Trace().List.size(), 3u);
}

TEST_F(GullyEditorTest, CreatedObjectClosedOnlyOnRequestAndAFailedCreationLeavesTheTrace) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y);
  const Commands Before = Trace().List;
  E.CloseBy = true;
  Host.Objects.FailCreate = true;
  EXPECT_THROW(E.CreateTracedObject(), kx::EHResultError);
  EXPECT_TRUE(SameCommands(Trace().List, Before));
  E.UndoLast();  // undo keeps working
  EXPECT_TRUE(SameCommands(Trace().List, {Cmd(kx::kxMoveTo, A.X, A.Y)}));
  Click(C.X, C.Y);

  Host.Objects.FailCreate = false;
  E.CreateTracedObject();
  ASSERT_EQ(Host.Objects.Created.size(), 1u);
  const fake::TCreated& Made = Host.Objects.Created[0];
  EXPECT_EQ(Made.Layer, "layer1");
  ASSERT_EQ(Made.Shapes.size(), 1u);
  EXPECT_EQ(Made.Shapes[0].Style, "style1");
  Commands Closed = Before;
  Closed.push_back(Cmd(kx::kxClose));
  EXPECT_TRUE(SameCommands(Made.Shapes[0].List, Closed));

  E.UndoAll();
  EXPECT_TRUE(Trace().List.empty());
  Click(A.X, A.Y);
  Click(B.X, B.Y);
  E.CloseBy = false;
  E.CreateTracedObject();
  EXPECT_TRUE(SameCommands(Host.Objects.Created[1].Shapes[0].List,
                           {Cmd(kx::kxMoveTo, A.X, A.Y), Cmd(kx::kxLineTo, B.X, B.Y)}));
}

TEST_F(GullyEditorTest, ReleasingTheLastReferenceDestroysTheEditorAndClearsCurrentEditor) {
  auto& E = MakeEditor();
  trace::CurrentEditor = &E;
  compat::TComPtr<kx::IKxEditor> HostRef(E.Editor());
  E.ReleaseOwnReference();
  Editor = nullptr;
  EXPECT_EQ(trace::CurrentEditor, &E);
  HostRef.Reset();
  EXPECT_EQ(trace::CurrentEditor, nullptr);
}

TEST_F(GullyEditorTest, DetachedFromThePadTheEditorTouchesNeitherPadNorGraph) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  E.DetachPad();
  const int Updates = Pad.Updates;
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, 0, 0), S_OK);
  EXPECT_EQ(E.Editor()->Paint(), S_OK);
  E.Resume();
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, 0, 0), S_OK);
  EXPECT_EQ(Pad.Updates, Updates);
  EXPECT_EQ(E.Elems.Count(), 1);
}

// The nearest point as the literal scan finds it.
trace::TNearestPoint LiteralNearest(const trace::TGConnectGraph& G,
                                    const geo::TTMGullyElemList& Elems, const TDPoint& P) {
  trace::TNearestPoint R{true, 0};
  double Best = trace::SquaredDistance(*G.Vertices.Ptr(0), P);
  for (int32_t I = 1; I < G.Vertices.Count(); ++I) {
    const double D = trace::SquaredDistance(*G.Vertices.Ptr(I), P);
    if (D < Best) {
      Best = D;
      R.Index = I;
    }
  }
  for (int32_t I = 0; I < Elems.Count(); ++I) {
    const double D = trace::SquaredDistance(Elems.Ptr(I)->Point, P);
    if (D < Best) {
      Best = D;
      R = {false, I};
    }
  }
  return R;
}

TEST_F(GullyEditorTest, NearestPointEqualsTheLiteralScanAsTheGraphGrowsAndIsCleared) {
  auto& E = MakeEditor();
  std::mt19937 Rng(11);
  std::uniform_int_distribution<int> Cell(0, 300);
  auto Random = [&] { return TDPoint{OX + Cell(Rng) * 0.25, OY + Cell(Rng) * 0.25}; };
  for (int Round = 0; Round < 8; ++Round) {
    if (Round == 4) {
      Graph.Clear();
      E.UndoAll();
    }
    geo::TContour Zone;
    Zone.AddMoveTo(Random());
    for (int I = 0; I < 150 * (Round + 1); ++I) Zone.AddLineTo(Random());
    Graph.AddContour(Zone);
    // Trace points, some of them on zone vertices.
    for (int I = 0; I < 10; ++I)
      E.Elems.Add(geo::MakeGullyElem(I % 2 ? *Graph.Vertices.Ptr(I) : Random(), -1, -1));
    for (int Q = 0; Q < 400; ++Q) {
      TDPoint P = Random();
      if (Q % 2) P.X += 0.125;
      const trace::TNearestPoint Got = E.FindNearestPoint(P);
      const trace::TNearestPoint Want = LiteralNearest(Graph, E.Elems, P);
      ASSERT_EQ(Got.IsVertex, Want.IsVertex) << Round << " " << Q;
      ASSERT_EQ(Got.Index, Want.Index) << Round << " " << Q;
    }
    // A trace point on a vertex resolves to the vertex.
    const trace::TNearestPoint OnVertex = E.FindNearestPoint(*Graph.Vertices.Ptr(1));
    EXPECT_TRUE(OnVertex.IsVertex);
  }
}

}  // namespace
