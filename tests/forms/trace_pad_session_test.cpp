// The trace pad's model in a user's session: the trace box following the
// zones, a replaced project clearing the pad, the trace's keys and right
// button, and the chosen style kept for the next session.
#include <gtest/gtest.h>

#include "host/model/host_contour.h"
#include "tests/forms/trace_pad_fixture.h"
#include "trace/editor/gully_editor.h"

namespace {

using namespace padtest;

// The keys through the host's map view: Backspace and Ctrl+Z undo a point,
// Esc the trace (asking above a few points), Enter and the right button
// create the object; a suspended editor takes none of them.
TEST_F(TracePadModelTest, KeysAndTheRightButtonUndoAndCreate) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("5");
  Select({MakeID("2")});
  M.Execute(TPadAction::AddZones);
  M.SetTraceOn(true);
  M.SetAlong(false);  // one element a click
  kx::IKxEditor* Editor = Host->MapView().Editor();
  const auto Key = [&](std::uint16_t K, std::int32_t Shift = 0) {
    ASSERT_EQ(Editor->KeyDown(K, Shift), S_OK);
  };
  const auto& V = M.Graph->Vertices.Items(0);
  const auto Trace = [&](int Points) {
    for (int I = 0; I < Points; ++I) ClickAt(V.X + 3 * I, V.Y + 40);
  };
  const auto Count = [] { return trace::CurrentEditor->Elems.Count(); };
  Trace(5);
  ASSERT_EQ(Count(), 5);
  Key(8);
  Key('Z', kx::kxShiftStateCtrl);
  Key('Z');
  EXPECT_EQ(Count(), 3);
  Trace(2);
  View.Answer = false;
  Key(27);
  EXPECT_EQ(View.Steps.back(), forms::PadUndoAllQuestion);
  EXPECT_EQ(Count(), 5) << "not confirmed";
  M.SetTraceOn(false);
  Key(27);
  EXPECT_EQ(Count(), 5) << "suspended";
  M.SetTraceOn(true);
  View.Answer = true;
  Key(27);
  EXPECT_EQ(Count(), 0);

  View.Choose = [](kx::TKxID& ID) {
    ID = MakeID("S1");
    return true;
  };
  M.Execute(TPadAction::SelectStyle);
  const auto Before = Host->Project().Objects(MakeID("L1")).size();
  Trace(2);
  Key(13);
  std::int32_t DX = 0, DY = 0;
  ASSERT_EQ(Host->MapView().MapToDevice(V.X, V.Y + 60, &DX, &DY), S_OK);
  ASSERT_EQ(Editor->MouseDown(1, 0, DX, DY), S_OK) << "nothing to create: ignored";
  Trace(3);
  ASSERT_EQ(Editor->MouseDown(1, 0, DX, DY), S_OK);
  EXPECT_EQ(Host->Project().Objects(MakeID("L1")).size(), Before + 2);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

// The chosen style is kept for the next session, and dropped there when the
// project has no such style.
TEST_F(TracePadModelTest, TheChosenStyleComesBackInTheNextSession) {
  View.Choose = [](kx::TKxID& ID) {
    ID = MakeID("S1");
    return true;
  };
  Open().Execute(TPadAction::SelectStyle);
  EXPECT_EQ(Stored("TraceNewObjectStyle"), "S1");
  for (const char* Stored : {"S1", "NOPE"}) {
    Pad.reset();
    kx::NewObjectStyleID.Clear();  // as a new session starts
    kx::NewObjectLayerID.Clear();
    Host->Settings().SetValue(1, "TraceNewObjectStyle", Stored);
    const forms::TTracePadModel& M = Open();
    EXPECT_EQ(M.StyleLine(), Stored == std::string("S1") ? std::string("[Город] Улицы - Улица")
                                                         : std::string(forms::PadNoStyleText));
    EXPECT_EQ(kx::NewObjectLayerID, Stored == std::string("S1") ? MakeID("L1") : kx::TKxID{});
  }
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

// Tracing on, then the zones removed: the box follows them, unticked, and
// the editor takes nothing. A replaced project takes the zones, the trace
// and the style with it.
TEST_F(TracePadModelTest, TheTraceBoxFollowsTheZonesAndANewProjectClearsThePad) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("5");
  Select({MakeID("2")});
  M.Execute(TPadAction::AddZones);
  M.SetTraceOn(true);
  M.Execute(TPadAction::RemoveAllZones);
  EXPECT_FALSE(M.TraceOn());
  EXPECT_FALSE(M.TraceOnEnabled());
  EXPECT_EQ(EditorOptions(), 0u);

  M.Execute(TPadAction::AddZones);
  M.SetTraceOn(true);
  View.Choose = [](kx::TKxID& ID) {
    ID = MakeID("S2");
    return true;
  };
  M.Execute(TPadAction::SelectStyle);
  ClickAt(M.Graph->Vertices.Items(0).X, M.Graph->Vertices.Items(0).Y);
  ASSERT_TRUE(M.Enabled(TPadAction::CreateObject));
  M.ProjectReplaced();
  EXPECT_TRUE(M.ZoneObjectIDs.empty());
  EXPECT_EQ(M.Graph->Vertices.Count(), 0);
  EXPECT_FALSE(M.TraceOn());
  EXPECT_EQ(EditorOptions(), 0u);
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 0);
  EXPECT_FALSE(M.Enabled(TPadAction::CreateObject));
  EXPECT_TRUE(kx::NewObjectStyleID.Empty());
  EXPECT_TRUE(trace::CurrentEditor->StyleID.Empty());
  EXPECT_EQ(M.StyleLine(), forms::PadNoStyleText);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

}  // namespace
