// The trace pad's model over the reference host, with no Qt application: a
// recording view stands for the window. Actions and their states, zones
// added and removed, tracing with the pad hidden and shown, the style
// choice, the stored placement and width, Cancel of a long add, the editor
// outliving the pad, and one whole session down to the created object.
#include "forms/trace_pad_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

#include "addon/trace_addon.h"
#include "addonkit/com_server.h"
#include "core/exception.h"
#include "host/com/host_com_manager.h"
#include "host/model/host_contour.h"
#include "host/model/small_project.h"
#include "tests/forms/trace_pad_fixture.h"

namespace {

using namespace padtest;

TEST_F(TracePadModelTest, FirstRunTextsAndTheStatesOfItsActions) {
  View.Owner = forms::TPadRect{100, 50, 1100, 750};
  forms::TTracePadModel& M = Open();
  // Over the map: inside the host's window, at its top right.
  EXPECT_EQ(View.Current.Bounds, (forms::TPadRect{884, 160, 292, 168}));
  EXPECT_EQ(M.WidthText(), "0");  // no stored width yet
  EXPECT_EQ(M.StyleLine(), "Не выбран стиль создаваемого объекта.");
  EXPECT_FALSE(M.TraceOn());
  EXPECT_TRUE(M.Along());
  EXPECT_FALSE(M.CloseBy());

  // Nothing selected, no zones, no trace.
  for (const TPadAction A : {TPadAction::AddZones, TPadAction::RemoveAllZones,
                             TPadAction::UndoTracePoint, TPadAction::CreateObject})
    EXPECT_FALSE(M.Enabled(A)) << forms::PadActionText(A).Name;
  EXPECT_FALSE(M.TraceOnEnabled());
  EXPECT_TRUE(M.Enabled(TPadAction::SelectStyle));
  EXPECT_TRUE(M.Enabled(TPadAction::Settings));
  // Run anyway, the add is refused and changes nothing.
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(View.Errors, std::vector<std::string>{"Необходимо выбрать объекты"});
  EXPECT_EQ(M.Graph->Vertices.Count(), 0);
  Select({MakeID("1")});
  EXPECT_TRUE(M.Enabled(TPadAction::AddZones));
  M.Execute(TPadAction::Settings);
  EXPECT_EQ(View.Steps.back(), "settings");
}

TEST_F(TracePadModelTest, ZoneWidthTakesEitherSeparatorAndNothingElse) {
  EXPECT_EQ(forms::ParseZoneWidth("0,5"), 0.5);
  EXPECT_EQ(forms::ParseZoneWidth(" 0.5\t"), 0.5);
  EXPECT_EQ(forms::ParseZoneWidth("-12,25"), -12.25);
  EXPECT_EQ(forms::ParseZoneWidth("+3"), 3);
  for (const char* Bad : {" ", "пять", "1,000.5", "0x10", "inf", "nan", "5 м", "+-1", "1e999"}) {
    try {
      forms::ParseZoneWidth(Bad);
      ADD_FAILURE() << Bad;
    } catch (const core::EConvertError& E) {
      EXPECT_EQ(E.what(), *Bad == ' ' ? std::string("Ошибка: Введите число")
                                      : "Ошибка: не могу преобразовать строку \"" +
                                            std::string(Bad) + "\" в число");
    }
  }
}

TEST_F(TracePadModelTest, AZoneFarLargerThanItsObjectsIsAskedAbout) {
  forms::TTracePadModel& M = Open();
  Select({MakeID("1")});  // 150 m across
  // Width 0 and negative widths are no slip; 500 m stays within ten times.
  for (const char* Width : {"0", "-5", "500"}) {
    M.SetWidthText(Width);
    M.Execute(TPadAction::AddZones);
  }
  EXPECT_EQ(M.ZoneObjectIDs.size(), 1u);
  EXPECT_EQ(std::count_if(View.Steps.begin(), View.Steps.end(),
                          [](const std::string& S) { return S.starts_with("Буферная"); }),
            0);
  M.Execute(TPadAction::RemoveAllZones);
  View.Answer = false;
  M.SetWidthText("-1000");
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(View.Steps.back(),
            "Буферная зона шириной 1000 м во много раз больше объектов, вокруг которых она "
            "строится (их поперечник 150 м). Построить её?");
  EXPECT_EQ(M.Graph->Vertices.Count(), 0);
  EXPECT_TRUE(M.ZoneObjectIDs.empty());
  // The zones already built count towards the extent.
  View.Answer = true;
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(M.ZoneObjectIDs.size(), 1u);
  const std::size_t Asked = View.Steps.size();
  Select({MakeID("3")});
  M.SetWidthText("1000");
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(M.ZoneObjectIDs.size(), 2u);
  for (std::size_t I = Asked; I < View.Steps.size(); ++I)
    EXPECT_FALSE(View.Steps[I].starts_with("Буферная")) << View.Steps[I];
}

TEST_F(TracePadModelTest, ZonesOfTheSelectionEachObjectOnceAndAllRemoved) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("2,5");
  Select({MakeID("1"), MakeID("2")});
  M.Execute(TPadAction::AddZones);
  ASSERT_EQ(M.ZoneObjectIDs.size(), 2u);
  const std::int32_t Vertices = M.Graph->Vertices.Count();
  EXPECT_GT(Vertices, 0);
  EXPECT_TRUE(M.TraceOnEnabled());
  EXPECT_TRUE(M.Enabled(TPadAction::RemoveAllZones));
  // The same zones with the point as separator.
  M.Execute(TPadAction::RemoveAllZones);
  M.SetWidthText("2.5");
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(M.Graph->Vertices.Count(), Vertices);

  // Again with an overlap: every ID once, in the order first added.
  Select({MakeID("2"), MakeID("3")});
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(M.ZoneObjectIDs, (std::vector{MakeID("1"), MakeID("2"), MakeID("3")}));
  EXPECT_GT(M.Graph->Vertices.Count(), Vertices);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});

  // A width that is no number is reported and adds nothing.
  const std::int32_t Before = M.Graph->Vertices.Count();
  M.SetWidthText("пять");
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(View.Errors,
            std::vector<std::string>{"Ошибка: не могу преобразовать строку \"пять\" в число"});
  EXPECT_EQ(M.Graph->Vertices.Count(), Before);

  const int Invalidated = Host->MapView().InvalidateCount();
  M.Execute(TPadAction::RemoveAllZones);
  EXPECT_EQ(M.Graph->Vertices.Count(), 0);
  EXPECT_EQ(M.Graph->Edges.Count(), 0);
  EXPECT_TRUE(M.ZoneObjectIDs.empty());
  EXPECT_FALSE(M.TraceOnEnabled());
  EXPECT_FALSE(M.Enabled(TPadAction::RemoveAllZones));
  EXPECT_GT(Host->MapView().InvalidateCount(), Invalidated);
}

TEST_F(TracePadModelTest, HidingThePadSuspendsTracingAndShowingItResumes) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("5");
  Select({MakeID("2")});
  M.Execute(TPadAction::AddZones);
  const int Op5 = Host->MapView().Operation5Count();
  M.SetTraceOn(true);
  ASSERT_NE(Host->MapView().Editor(), nullptr);
  EXPECT_EQ(Host->MapView().Operation5Count(), Op5 + 1);
  EXPECT_EQ(EditorOptions(), 4628u);
  ASSERT_NE(trace::CurrentEditor, nullptr);
  EXPECT_TRUE(trace::CurrentEditor->Along);
  EXPECT_FALSE(trace::CurrentEditor->CloseBy);
  M.SetCloseBy(true);
  M.SetAlong(false);
  EXPECT_TRUE(trace::CurrentEditor->CloseBy);
  EXPECT_FALSE(trace::CurrentEditor->Along);

  // A click on a zone vertex makes a trace: the undo and create actions
  // follow it.
  ClickAt(M.Graph->Vertices.Items(0).X, M.Graph->Vertices.Items(0).Y);
  EXPECT_TRUE(M.Enabled(TPadAction::UndoTracePoint));
  EXPECT_TRUE(M.Enabled(TPadAction::CreateObject));

  M.Hidden();
  EXPECT_FALSE(M.TraceOn());
  EXPECT_EQ(EditorOptions(), 0u);                     // suspended
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 1);  // the trace is kept
  M.Shown();
  EXPECT_TRUE(M.TraceOn());
  EXPECT_EQ(EditorOptions(), 4628u);

  // Creating needs a style first.
  M.Execute(TPadAction::CreateObject);
  EXPECT_EQ(View.Errors, std::vector<std::string>{"Для создания объекта необходимо выбрать стиль"});
  M.Execute(TPadAction::UndoAllTracePoints);
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 0);
  EXPECT_FALSE(M.Enabled(TPadAction::UndoTracePoint));
}

TEST_F(TracePadModelTest, StyleChoiceAndItsLineAlsoAfterCancel) {
  forms::TTracePadModel& M = Open();
  View.Choose = [](kx::TKxID& ID) {
    ID = MakeID("S2");
    return true;
  };
  View.AllChanges = 0;
  M.Execute(TPadAction::SelectStyle);
  EXPECT_EQ(View.AllChanges, forms::pcStyleLine | forms::pcActions);  // the view is told
  EXPECT_EQ(View.Steps.back(), "Выберите стиль 2");
  EXPECT_EQ(kx::NewObjectStyleID, MakeID("S2"));
  EXPECT_EQ(kx::NewObjectLayerID, MakeID("L2"));
  EXPECT_EQ(M.StyleLine(), "[Город] Участки - Участок");

  // Cancel keeps the choice but still writes the line afresh.
  kx::NewObjectStyleID = MakeID("S1");
  kx::NewObjectLayerID = MakeID("L1");
  View.Choose = nullptr;
  M.Execute(TPadAction::SelectStyle);
  EXPECT_EQ(kx::NewObjectStyleID, MakeID("S1"));
  EXPECT_EQ(M.StyleLine(), "[Город] Улицы - Улица");
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

TEST_F(TracePadModelTest, PlacementAndWidthAreStoredAndRestored) {
  Host->Settings().SetValue(1, "TraceFormLTWH", "10 20 300 197 maximized");
  Host->Settings().SetValue(1, "TraceBufferZoneSize", "12,5");
  forms::TTracePadModel& M = Open();
  EXPECT_EQ(View.Current.State, forms::TPadWindowState::Maximized);
  EXPECT_EQ(View.Current.Bounds, (forms::TPadRect{10, 20, 300, 197}));
  EXPECT_EQ(M.WidthText(), "12,5");
  M.SetWidthText("7");
  View.Current.Bounds.Left = 40;
  Pad.reset();
  EXPECT_EQ(Stored("TraceBufferZoneSize"), "7");
  EXPECT_EQ(Stored("TraceFormLTWH"), "40 20 300 197 maximized");

  // A damaged text changes nothing.
  Host->Settings().SetValue(1, "TraceFormLTWH", "10 20 x 197 normal");
  Open();
  EXPECT_EQ(View.Current.Bounds.Left, 40);
  // Far outside the work area: moved back into it; unknown area: as stored.
  Pad.reset();
  Host->Settings().SetValue(1, "TraceFormLTWH", "-500 -400 300 197 normal");
  Open();
  EXPECT_EQ(View.Current.Bounds, (forms::TPadRect{0, 0, 300, 197}));
  EXPECT_EQ(View.Current.State, forms::TPadWindowState::Normal);
  Pad.reset();
  Host->Settings().SetValue(1, "TraceFormLTWH", "-500 -400 300 197 normal");
  View.Area.reset();
  Open();
  EXPECT_EQ(View.Current.Bounds, (forms::TPadRect{-500, -400, 300, 197}));
}

TEST_F(TracePadModelTest, CancellingALongAddLeavesEverythingAsItWas) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("5");
  Select({MakeID("2")});
  M.Execute(TPadAction::AddZones);
  const std::int32_t Vertices = M.Graph->Vertices.Count();
  const std::int32_t Edges = M.Graph->Edges.Count();

  View.Steps.clear();
  View.CancelAfter = 1;
  M.ZoneThreads = 1;  // one report after each object
  Select({MakeID("1"), MakeID("3"), MakeID("2")});
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(View.Steps,
            (std::vector<std::string>{"Отмена 3", "Построение буферных зон: 1 из 3", "end"}));
  EXPECT_EQ(M.Graph->Vertices.Count(), Vertices);
  EXPECT_EQ(M.Graph->Edges.Count(), Edges);
  ASSERT_EQ(M.ZoneObjectIDs.size(), 1u);

  // Not cancelled, the same add goes through.
  View.CancelAfter = 1 << 30;
  M.Execute(TPadAction::AddZones);
  EXPECT_EQ(M.ZoneObjectIDs.size(), 3u);
  EXPECT_GT(M.Graph->Vertices.Count(), Vertices);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

TEST_F(TracePadModelTest, AnEditorLeftInTheViewOutlivesThePadSafely) {
  forms::TTracePadModel& M = Open();
  M.SetWidthText("5");
  Select({MakeID("2")});
  M.Execute(TPadAction::AddZones);
  M.SetTraceOn(true);
  const geo::TDPoint V = M.Graph->Vertices.Items(0);
  ClickAt(V.X, V.Y);
  Pad.reset();  // with its graph, while the host keeps the editor
  ASSERT_NE(Host->MapView().Editor(), nullptr);
  EXPECT_EQ(trace::CurrentEditor, nullptr);
  EXPECT_EQ(EditorOptions(), 0u);
  ClickAt(V.X + 1, V.Y);
  EXPECT_EQ(Host->MapView().Editor()->Paint(), S_OK);

  // A new pad makes an editor of its own, which replaces the old one.
  forms::TTracePadModel& N = Open();
  N.SetWidthText("5");
  N.Execute(TPadAction::AddZones);
  N.SetTraceOn(true);
  ASSERT_NE(trace::CurrentEditor, nullptr);
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 0);
  EXPECT_EQ(EditorOptions(), 4628u);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});
}

TEST_F(TracePadModelTest, AWholeSessionTracesAnObjectAlongAZone) {
  // A straight street of 100 m; its zone of 5 m is a stadium whose top edge
  // runs from (200, 205) to (300, 205) and whose right end is a half circle.
  const kx::TKxID StreetID = MakeID("10");
  Host->Project().AddObject(
      MakeID("L1"),
      {{MakeID("S1"),
        {host::HostMoveTo(X0 + 200, Y0 + 200), host::HostLineTo(X0 + 300, Y0 + 200)}}},
      &StreetID);
  Host->MapView().SetTransform({X0 + 250, Y0 + 200, 0.2, 800, 600});
  forms::TTracePadModel& M = Open();
  Select({StreetID});
  M.SetWidthText("5");
  M.Execute(TPadAction::AddZones);
  ASSERT_TRUE(M.TraceOnEnabled());
  M.SetTraceOn(true);
  View.Choose = [](kx::TKxID& ID) {
    ID = MakeID("S1");
    return true;
  };
  M.Execute(TPadAction::SelectStyle);
  EXPECT_EQ(M.StyleLine(), "[Город] Улицы - Улица");
  for (const auto& [X, Y] : {std::pair{200.0, 205.0}, {300.0, 205.0}, {300.0, 195.0}})
    ClickAt(X0 + X + 0.2, Y0 + Y - 0.2);
  ASSERT_TRUE(M.Enabled(TPadAction::CreateObject));
  const auto Before = Host->Project().Objects(MakeID("L1")).size();
  M.Execute(TPadAction::CreateObject);
  EXPECT_EQ(View.Errors, std::vector<std::string>{});

  const auto Objects = Host->Project().Objects(MakeID("L1"));
  ASSERT_EQ(Objects.size(), Before + 1);
  ASSERT_EQ(Objects.back()->Shapes.size(), 1u);
  EXPECT_EQ(Objects.back()->Shapes[0].StyleID, MakeID("S1"));
  const auto& Cmds = Objects.back()->Shapes[0].Commands;
  ASSERT_GE(Cmds.size(), 3u);
  const auto Near = [](kx::TKxPoint P, double X, double Y) {  // by value: the record is packed
    return std::abs(P.X - (X0 + X)) < 1e-6 && std::abs(P.Y - (Y0 + Y)) < 1e-6;
  };
  EXPECT_TRUE(Near(Cmds[0].Point, 200, 205));
  EXPECT_EQ(Cmds[1].Kind, kx::kxLineTo);
  EXPECT_TRUE(Near(Cmds[1].Point, 300, 205));
  // Round the right end, clockwise, a half turn on the 5 m circle.
  double Sweep = 0;
  for (std::size_t I = 2; I < Cmds.size(); ++I) Sweep += 4 * std::atan(Cmds[I].Convexity);
  EXPECT_NEAR(Sweep, -std::numbers::pi, 1e-8);
  EXPECT_TRUE(Near(Cmds.back().Point, 300, 195));
  // The trace was emptied for the next one.
  EXPECT_FALSE(M.Enabled(TPadAction::UndoTracePoint));
}

}  // namespace
