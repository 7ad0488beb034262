#include "trace/editor/shape_enum.h"

#include <gtest/gtest.h>

#include "addonlib/geometry/measures.h"
#include "editor_fixture.h"

namespace {

using namespace tracetest;

constexpr double OX = 500000, OY = 6000000;

kx::TKxContourCommand OfKind(std::int32_t Kind) {
  kx::TKxContourCommand R{};
  R.Kind = Kind;
  return R;
}

struct ShapeEnumTest : EditorTest {
  void SetUp() override {
    EditorTest::SetUp();
    // "ROAD" is a style of its own to the host; the enumeration's cache
    // takes it for "road".
    AddLayer("roads", {"road", "ROAD"}, {"label"});
  }
  void AddObject(const std::string& ID, std::vector<std::pair<std::string, Commands>> Shapes) {
    std::vector<host::THostShape> List;
    for (auto& [Style, C] : Shapes) List.push_back({MakeID(Style), std::move(C)});
    const kx::TKxID Key = MakeID(ID);
    Host.Project().AddObject(MakeID("roads"), std::move(List), &Key);
  }
  // The IDs as the host's view hands out its selection.
  kx::TKxIDsList IDs(const std::vector<std::string>& List) {
    std::vector<kx::TKxID> Selection;
    for (const std::string& ID : List) Selection.push_back(MakeID(ID));
    Host.View().SetSelection(Selection);
    return AddOn->MapView.GetSelection();
  }
  bool Run(double Width, const std::vector<std::string>& List) {
    trace::TTMContourEnumAdd Enum(*AddOn, Width, Graph, IDs(List));
    return Enum.Execute();
  }
  int GetStyleCount() { return Host.Manager().Database().GetStyleCount(); }
  const Commands Bend = {HostMoveTo(OX, OY), HostLineTo(OX + 30, OY),
                         HostArcTo(OX + 30, OY + 20, 0.5)};
};

// Vertices and edges of two graphs, in order.
bool SameGraph(const trace::TGConnectGraph& G, const trace::TGConnectGraph& H) {
  if (G.Vertices.Count() != H.Vertices.Count() || G.Edges.Count() != H.Edges.Count()) return false;
  for (int I = 0; I < G.Vertices.Count(); ++I)
    if (G.Vertices.Ptr(I)->X != H.Vertices.Ptr(I)->X ||
        G.Vertices.Ptr(I)->Y != H.Vertices.Ptr(I)->Y)
      return false;
  for (int I = 0; I < G.Edges.Count(); ++I)
    if (geo::ConnectBriefsDifferStrict(G.Edges.Ptr(I), H.Edges.Ptr(I)) != 0) return false;
  return true;
}

TEST_F(ShapeEnumTest, StylesFilterTheShapesAndAreFetchedOncePerEnumerator) {
  AddObject("a", {{"road", Bend}, {"label", Bend}, {"ROAD", Bend}});
  AddObject("b", {{"label", Bend}});
  EXPECT_TRUE(Run(0, {}));  // an empty list does nothing
  EXPECT_EQ(Graph.Edges.Count(), 0);
  EXPECT_EQ(GetStyleCount(), 0);

  Run(0, {"b"});
  EXPECT_EQ(Graph.Vertices.Count(), 0);  // no geometry style
  const int Before = GetStyleCount();
  Run(0, {"a", "b", "a"});
  // Two shapes of one style (letter case aside) cost one lookup: "road"
  // and "label" only.
  EXPECT_EQ(GetStyleCount() - Before, 2);
  // Width 0: the shapes' own segments, stored once.
  EXPECT_EQ(Graph.Vertices.Count(), 3);
  ASSERT_EQ(Graph.Edges.Count(), 2);
  EXPECT_EQ(Graph.Edges.Ptr(1)->Kind, geo::TConnectKind::Arc);
  EXPECT_EQ(Graph.Edges.Ptr(1)->Convexity, 0.5);

  // A failing host call passes out; what was added stays.
  AddObject("c", {{"road", {HostMoveTo(OX, OY + 90), HostLineTo(OX + 5, OY + 90)}}});
  EXPECT_THROW(Run(0, {"c", "missing"}), kx::EHResultError);
  EXPECT_EQ(Graph.Edges.Count(), 3);
}

TEST_F(ShapeEnumTest, NegativeWidthIsItsAbsoluteValueAndClosedPartsAreFilled) {
  const Commands Square = {HostMoveTo(OX, OY), HostLineTo(OX + 40, OY),
                           HostLineTo(OX + 40, OY + 40), HostLineTo(OX, OY + 40), HostClose()};
  AddObject("sq", {{"road", Square}});
  Run(-2, {"sq"});
  trace::TGConnectGraph Positive;
  trace::TTMContourEnumAdd Enum(*AddOn, 2, Positive, IDs({"sq"}));
  Enum.Execute();
  EXPECT_TRUE(SameGraph(Graph, Positive));
  // One outline 2 m outside the square, no hole inside: every vertex lies
  // outside the square, within the width of it.
  ASSERT_GT(Graph.Vertices.Count(), 4);
  for (int I = 0; I < Graph.Vertices.Count(); ++I) {
    const geo::TDPoint P = *Graph.Vertices.Ptr(I);
    const double DX = std::max({OX - P.X, P.X - (OX + 40), 0.0});
    const double DY = std::max({OY - P.Y, P.Y - (OY + 40), 0.0});
    EXPECT_NEAR(std::hypot(DX, DY), 2.0, 1e-6);
  }
}

TEST_F(ShapeEnumTest, HostCommandsConvertAndUnknownKindsAreNamed) {
  geo::TComplexCommand C;
  EXPECT_FALSE(trace::HostCommandToCommand(OfKind(kx::kxNone), C));
  ASSERT_TRUE(trace::HostCommandToCommand(HostArcTo(1, 2, 0.25), C));
  EXPECT_EQ(C.Kind, geo::ccArcTo);
  EXPECT_EQ(C.Point.X, 1);
  EXPECT_EQ(C.Point.Y, 2);
  EXPECT_EQ(C.Convexity, 0.25);
  ASSERT_TRUE(trace::HostCommandToCommand(HostCloseArc(-0.75), C));
  EXPECT_EQ(C.Kind, geo::ccCloseArc);
  EXPECT_EQ(C.Convexity, -0.75);
  try {
    trace::HostCommandToCommand(OfKind(6), C);
    FAIL();
  } catch (const core::Exception& E) {
    EXPECT_NE(std::string(E.what()).find("6"), std::string::npos) << E.what();
  }
  // Round trip of every kernel kind through the host record.
  for (const geo::TComplexCommand& K :
       {geo::MakeMoveTo({3, 4}), geo::MakeLineTo({5, 6}), geo::MakeArcTo({7, 8}, -0.5),
        geo::MakeClose(), geo::MakeCloseArc(0.125)}) {
    geo::TComplexCommand Back;
    ASSERT_TRUE(trace::HostCommandToCommand(trace::CommandToHostCommand(K), Back));
    EXPECT_TRUE(geo::CommandsEqual(K, Back));
  }

  // Kind 0 in a shape is skipped, the rest of the shape read.
  // A contour of the host's own, which takes commands as they come.
  const kx::TKxContour Host0 = AddOn->MapObjects.NewContour();
  for (const kx::TKxContourCommand& K : {HostMoveTo(0, 0), OfKind(kx::kxNone), HostLineTo(1, 0),
                                         HostArcTo(1, 1, 0.5), HostCloseArc(0.5)})
    Host0.AddCommand(K);
  geo::TContour Contour;
  trace::HostContourToContour(Host0, Contour);
  EXPECT_EQ(Contour.CommandCount(), 4);
  EXPECT_EQ(Contour.GetCommand(3).Kind, geo::ccCloseArc);
  EXPECT_EQ(trace::Cp1251Upper("ab\xE0\xB8z"), "AB\xC0\xA8Z");
}

TEST_F(ShapeEnumTest, ProgressReportsEachObjectAndCancelLeavesTheGraphUntouched) {
  AddObject("a", {{"road", Bend}});
  AddObject("b", {{"road", {HostMoveTo(OX, OY + 50), HostLineTo(OX + 9, OY + 50)}}});
  Run(1, {"a"});
  trace::TGConnectGraph Before;
  Run(0, {});  // nothing
  {
    trace::TTMContourEnumAdd Copy(*AddOn, 1, Before, IDs({"a"}));
    Copy.Execute();
  }
  std::vector<int> Seen;
  {
    trace::TTMContourEnumAdd Enum(*AddOn, 1, Graph, IDs({"b", "a"}));
    Enum.Threads = 1;  // one report after each object, in order
    EXPECT_FALSE(Enum.ExecuteAll([&](int Done, int Count) {
      Seen.push_back(Done * 10 + Count);
      return Done < 2;  // cancel after the second object
    }));
  }
  EXPECT_EQ(Seen, (std::vector<int>{12, 22}));
  EXPECT_TRUE(SameGraph(Graph, Before));
  // Completed, it adds exactly what Execute adds.
  trace::TGConnectGraph Direct;
  {
    trace::TTMContourEnumAdd A1(*AddOn, 1, Direct, IDs({"a", "b", "a"}));
    A1.Execute();
  }
  trace::TGConnectGraph Staged;
  {
    trace::TTMContourEnumAdd A2(*AddOn, 1, Staged, IDs({"a", "b", "a"}));
    A2.Threads = 2;  // built side by side, added in order
    EXPECT_TRUE(A2.ExecuteAll([](int, int) { return true; }));
  }
  EXPECT_TRUE(SameGraph(Direct, Staged));
  {
    trace::TTMContourEnumAdd A4(*AddOn, 1, Staged, IDs({"a", "b"}));
    A4.Threads = 2;
    EXPECT_FALSE(A4.ExecuteAll([](int, int) { return false; }));
  }
  EXPECT_TRUE(SameGraph(Direct, Staged));
  // A failure half-way also leaves the graph untouched.
  trace::TTMContourEnumAdd A3(*AddOn, 1, Staged, IDs({"b", "missing"}));
  EXPECT_THROW(A3.ExecuteAll([](int, int) { return true; }), kx::EHResultError);
  EXPECT_TRUE(SameGraph(Direct, Staged));
}

}  // namespace
