// The road of one trace through the host's map model: objects with arcs
// selected in the host's view, their zones built into the graph by the
// enumeration, clicks in view pixels along a zone, and the object created in
// the chosen layer and style.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "editor_fixture.h"
#include "trace/editor/shape_enum.h"

namespace {

using geo::TDPoint;

constexpr double OX = 500000, OY = 6000000, W = 10, Bulge = 0.2;

// Centre of the arc from P to Q with the given bulge, computed here from the
// bulge's definition (left of the chord for a positive bulge).
TDPoint ArcCentre(const TDPoint& P, const TDPoint& Q, double C) {
  const double Sweep = 4 * std::atan(C);
  const double DX = Q.X - P.X, DY = Q.Y - P.Y, Chord = std::hypot(DX, DY);
  const double R = Chord / (2 * std::sin(std::fabs(Sweep) / 2));
  const double H = R * std::cos(Sweep / 2) * (C > 0 ? 1 : -1);
  return {(P.X + Q.X) / 2 - DY / Chord * H, (P.Y + Q.Y) / 2 + DX / Chord * H};
}

using namespace tracetest;

struct ScenarioTest : EditorTest {};

TEST_F(ScenarioTest, ObjectWithAnArcToZoneToClickedTraceToNewObject) {
  // A square, counter-clockwise, whose east side bulges outwards.
  const TDPoint A{OX, OY}, B{OX + 100, OY}, C{OX + 100, OY + 100}, D{OX, OY + 100};
  AddLayer("plots", {"plot"});
  AddLayer("parcels", {"parcel"});
  const kx::TKxID P1 = MakeID("p1"), P2 = MakeID("p2");
  Host.Project().AddObject(MakeID("plots"),
                           {{MakeID("plot"),
                             {HostMoveTo(A.X, A.Y), HostLineTo(B.X, B.Y),
                              HostArcTo(C.X, C.Y, Bulge), HostLineTo(D.X, D.Y), HostClose()}}},
                           &P1);
  // A second selected object, a curved line well away from the first.
  Host.Project().AddObject(
      MakeID("plots"),
      {{MakeID("plot"), {HostMoveTo(OX + 400, OY), HostArcTo(OX + 500, OY, -0.3)}}}, &P2);
  Host.View().SetSelection({P1, P2});
  {
    const kx::TKxIDsList Selection = AddOn->MapView.GetSelection();
    trace::TTMContourEnumAdd Enum(*AddOn, W, Graph, Selection);
    Enum.Execute();
  }
  ASSERT_GT(Graph.Edges.Count(), 4);

  SetView(OX + 50, OY + 50, 0.05);  // 8 pixels are 40 cm
  auto& E = MakeEditor();
  E.StyleID = kx::TKxID::FromUtf8("parcel");
  E.LayerID = kx::TKxID::FromUtf8("parcels");

  // The zone's end of the south side, then the far end of the big arc.
  const TDPoint Start{B.X, B.Y - W};
  const TDPoint Centre = ArcCentre(B, C, Bulge);
  const double R = std::hypot(B.X - Centre.X, B.Y - Centre.Y);
  const TDPoint End{Centre.X + (C.X - Centre.X) * (R + W) / R,
                    Centre.Y + (C.Y - Centre.Y) * (R + W) / R};
  // Clicks a few pixels off the points snap to them.
  auto ClickNear = [&](const TDPoint& P) {
    const kx::TKxViewPoint Px = Pixel(P.X, P.Y);
    E.MouseDown(0, 0, {Px.X + 3, Px.Y - 2});
  };
  ClickNear(Start);
  ClickNear(End);
  ASSERT_EQ(E.Elems.Count(), 2);
  const Commands T = Trace();
  ASSERT_GE(T.size(), 3u);
  EXPECT_EQ(T[0].Kind, kx::kxMoveTo);
  EXPECT_NEAR(T[0].Point.X, Start.X, 1e-6);
  EXPECT_NEAR(T[0].Point.Y, Start.Y, 1e-6);
  // Round the corner at B (radius W), then along the big arc (radius R + W):
  // arcs only, each about its own centre, sweeping a quarter turn plus the
  // half sweep of the side's arc in all.
  double Sweep = 0;
  TDPoint Prev{T[0].Point.X, T[0].Point.Y};
  for (size_t I = 1; I < T.size(); ++I) {
    ASSERT_EQ(T[I].Kind, kx::kxArcTo) << I;
    const TDPoint Next{T[I].Point.X, T[I].Point.Y};
    const TDPoint M = ArcCentre(Prev, Next, T[I].Convexity);
    const bool AtCorner = std::hypot(M.X - B.X, M.Y - B.Y) < 1e-6;
    const bool OnSide = std::hypot(M.X - Centre.X, M.Y - Centre.Y) < 1e-6;
    EXPECT_TRUE(AtCorner || OnSide) << I;
    EXPECT_NEAR(std::hypot(Next.X - M.X, Next.Y - M.Y), AtCorner ? W : R + W, 1e-6);
    Sweep += 4 * std::atan(T[I].Convexity);
    Prev = Next;
  }
  EXPECT_NEAR(Prev.X, End.X, 1e-6);
  EXPECT_NEAR(Prev.Y, End.Y, 1e-6);
  const double SideSweep = 4 * std::atan(Bulge);
  // From the south normal at B to the arc's normal at B: a quarter turn less
  // half the side's sweep; then the whole side's sweep.
  EXPECT_NEAR(Sweep, (std::numbers::pi / 2 - SideSweep / 2) + SideSweep, 1e-9);

  // Created in the chosen layer and style, closed as asked: the trace's own
  // commands and a close.
  E.CloseBy = true;
  E.CreateTracedObject();
  const std::vector<const host::THostMapObject*> Made = Objects("parcels");
  ASSERT_EQ(Made.size(), 1u);
  ASSERT_EQ(Made[0]->Shapes.size(), 1u);
  EXPECT_EQ(Made[0]->Shapes[0].StyleID, MakeID("parcel"));
  Commands Want = T;
  Want.push_back(HostClose());
  EXPECT_TRUE(SameCommands(Made[0]->Shapes[0].Commands, Want));
  EXPECT_EQ(Objects("plots").size(), 2u);
}

}  // namespace
