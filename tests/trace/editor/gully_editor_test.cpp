#include <gtest/gtest.h>

#include <random>

#include "addonkit/hresult_error.h"
#include "editor_fixture.h"
#include "failing_contour.h"

namespace {

using namespace tracetest;
using geo::TDPoint;

constexpr double OX = 500000, OY = 6000000;
const TDPoint A{OX, OY}, B{OX + 100, OY}, C{OX + 100, OY + 100}, D{OX, OY + 100};

struct GullyEditorTest : EditorTest {
  void SetUp() override {
    EditorTest::SetUp();
    SetView(OX, OY, 0.5);
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
};

TEST_F(GullyEditorTest, SnapWithinEightPixelsOnlyFirstClickStartsWithAMove) {
  AddSquare();
  auto& E = MakeEditor();
  // A lies on the view's centre pixel.
  const kx::TKxViewPoint P0 = Pixel(A.X, A.Y);
  auto At = [&](std::int32_t DX, std::int32_t DY) {
    return kx::TKxViewPoint{P0.X + DX, P0.Y + DY};
  };
  // Squared distance 64 snaps to the vertex exactly.
  E.MouseDown(0, 0, At(8, 0));
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(A.X, A.Y)}));
  EXPECT_EQ(Host.View().Operation27Count(), 1);
  E.UndoAll();
  // 65 does not: the raw click point.
  E.MouseDown(0, 0, At(8, 1));
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(OX + 4, OY - 0.5)}));
  E.MouseDown(0, 0, At(-4, 7));
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(OX + 4, OY - 0.5), HostLineTo(OX - 2, OY - 3.5)}));
  // Right button and suspended editors do nothing.
  E.MouseDown(1, 0, At(200, 0));
  E.Suspend();
  EXPECT_EQ(E.GetOptions(), 0u);
  E.MouseDown(0, 0, At(200, 0));
  EXPECT_EQ(Trace().size(), 2u);
  E.Resume();
  EXPECT_EQ(E.GetOptions(), 4628u);
  EXPECT_EQ(E.Elems.Count(), 2);
}

TEST_F(GullyEditorTest, AlongTheZoneShorterWayArcsAsArcsNeverBackAlongTheArrivalEdge) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y);  // the short way, through D
  EXPECT_TRUE(
      SameCommands(Trace(), {HostMoveTo(A.X, A.Y), HostLineTo(D.X, D.Y), HostLineTo(C.X, C.Y)}));
  EXPECT_EQ(E.Elems.Ptr(1)->Index2, 2);  // arrived along C-D
  // Undo removes every command of the path.
  E.UndoLast();
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(A.X, A.Y)}));
  Click(B.X, B.Y);
  Click(C.X, C.Y);  // along the arc
  Click(B.X, B.Y);  // not back along the arc: all the way round
  EXPECT_TRUE(
      SameCommands(Trace(), {HostMoveTo(A.X, A.Y), HostLineTo(B.X, B.Y), HostArcTo(C.X, C.Y, 0.4),
                             HostLineTo(D.X, D.Y), HostLineTo(A.X, A.Y), HostLineTo(B.X, B.Y)}));
  EXPECT_EQ(E.Elems.Count(), 4);
  EXPECT_EQ(E.Elems.Ptr(3)->Index2, 0);
  // Clicking the last point again undoes it with all of its path.
  Click(B.X, B.Y);
  EXPECT_EQ(E.Elems.Count(), 3);
  EXPECT_EQ(Trace().size(), 3u);
  // An arc walked backwards has its convexity negated.
  E.UndoAll();
  Click(C.X, C.Y);
  Click(B.X, B.Y);
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(C.X, C.Y), HostArcTo(B.X, B.Y, -0.4)}));
  // One-point undo empties the contour.
  E.UndoLast();
  E.UndoLast();
  EXPECT_TRUE(Trace().empty());
  EXPECT_EQ(E.Elems.Count(), 0);
  E.UndoLast();  // nothing left: nothing happens
  EXPECT_GT(Pad.Updates, 0);
}

TEST_F(GullyEditorTest, CtrlTakesTheOtherWayRoundAndFallsBackWithoutOne) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y, kx::kxShiftStateCtrl);
  EXPECT_TRUE(SameCommands(Trace(),
                           {HostMoveTo(A.X, A.Y), HostLineTo(B.X, B.Y), HostArcTo(C.X, C.Y, 0.4)}));
  EXPECT_EQ(E.Elems.Ptr(1)->Index2, 1);
  // Other bits of the shift state change nothing.
  E.UndoLast();
  Click(C.X, C.Y, 1 | 2 | 8);
  EXPECT_EQ(Trace()[1].Point.X, D.X);

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
  EXPECT_TRUE(
      SameCommands(Trace(), {HostMoveTo(A.X, A.Y), HostLineTo(B.X, B.Y), HostLineTo(C.X, C.Y)}));
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
      Trace(), {HostMoveTo(A.X, A.Y), HostLineTo(C.X, C.Y), HostLineTo(OX + 50, OY + 40),
                HostLineTo(OX + 50, OY + 60), HostLineTo(OX + 50, OY + 40)}));
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
  EXPECT_TRUE(SameCommands(
      Trace(), {HostMoveTo(A.X, A.Y), HostArcTo(B.X, B.Y, -0.3), HostArcTo(A.X, A.Y, -0.3)}));
  EXPECT_EQ(E.Elems.Ptr(2)->Index1, 0);
}

TEST_F(GullyEditorTest, EmptyGraphRefusesClicksAndFailedStepsLeaveTheTraceAsItWas) {
  auto& E = MakeEditor();
  EXPECT_THROW(E.FindNearestPoint(A), core::Exception);
  Click(A.X, A.Y);
  EXPECT_TRUE(Trace().empty());
  EXPECT_EQ(Pad.Updates, 1);
  EXPECT_EQ(Host.View().Operation27Count(), 0);

  AddSquare();
  Click(A.X, A.Y);
  const auto Failing = host::MakeValue<TFailingContour>(
      compat::TComPtr<kx::IKxContour>(E.TraceContour.Intf()), Host.ErrorInfo());
  E.TraceContour = kx::TKxContour(compat::TComPtr<kx::IKxContour>(Failing.Get()));
  Failing->FailAdds = 2;  // the path's second command fails
  EXPECT_THROW(Click(C.X, C.Y), kx::EHResultError);
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(A.X, A.Y)}));
  EXPECT_EQ(E.Elems.Count(), 1);
  // Through the host's interface the failure is E_FAIL.
  Failing->FailAdds = 1;
  const auto P = Pixel(C.X, C.Y);
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, P.X, P.Y), E_FAIL);
  EXPECT_EQ(E.Editor()->MouseDown(0, 0, P.X, P.Y), S_OK);
  EXPECT_EQ(Trace().size(), 3u);
}

TEST_F(GullyEditorTest, CreatedObjectClosedOnlyOnRequestAndAFailedCreationLeavesTheTrace) {
  AddSquare();
  auto& E = MakeEditor();
  Click(A.X, A.Y);
  Click(C.X, C.Y);
  const Commands Before = Trace();
  E.CloseBy = true;
  // The host refuses the object: a layer that lacks the style.
  AddLayer("layer2", {"other"});
  E.LayerID = kx::TKxID::FromUtf8("layer2");
  try {
    E.CreateTracedObject();
    ADD_FAILURE() << "created";
  } catch (const kx::EHResultError& Error) {
    // The host's own words reach the caller.
    ASSERT_FALSE(Host.ErrorInfo().MessageUtf8().empty());
    EXPECT_NE(std::string(Error.what()).find(Host.ErrorInfo().MessageUtf8()), std::string::npos)
        << Error.what();
  }
  EXPECT_TRUE(SameCommands(Trace(), Before));
  EXPECT_TRUE(Objects("layer2").empty());
  E.UndoLast();  // undo keeps working
  EXPECT_TRUE(SameCommands(Trace(), {HostMoveTo(A.X, A.Y)}));
  Click(C.X, C.Y);

  E.LayerID = kx::TKxID::FromUtf8("layer1");
  E.CreateTracedObject();
  ASSERT_EQ(Objects("layer1").size(), 1u);
  const host::THostMapObject& Made = *Objects("layer1")[0];
  ASSERT_EQ(Made.Shapes.size(), 1u);
  EXPECT_EQ(Made.Shapes[0].StyleID, MakeID("style1"));
  Commands Closed = Before;
  Closed.push_back(HostClose());
  EXPECT_TRUE(SameCommands(Made.Shapes[0].Commands, Closed));

  E.UndoAll();
  EXPECT_TRUE(Trace().empty());
  Click(A.X, A.Y);
  Click(B.X, B.Y);
  E.CloseBy = false;
  E.CreateTracedObject();
  ASSERT_EQ(Objects("layer1").size(), 2u);
  EXPECT_TRUE(SameCommands(Objects("layer1")[1]->Shapes[0].Commands,
                           {HostMoveTo(A.X, A.Y), HostLineTo(B.X, B.Y)}));
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
