#include "winhost/win_pad_steps.h"

#include <cmath>
#include <numbers>

#include "host/com/host_values.h"
#include "host/model/host_contour.h"
#include "host/model/project_file.h"
#include "winhost/pad_driver.h"

namespace winhost {

namespace {

using forms::TPadAction;
using host::MakeID;

// A street of its own, in a layer and style of their own, away from the
// town: its zone and the trace along it are known exactly.
constexpr double X0 = 501000, Y0 = 6001000;
constexpr char StyleLine[] = "[Городок] Трассы - Трасса";

void AddTraceLayer(host::THostProject& Project) {
  Project.AddLayer(MakeID("TOWN"), MakeID("TRACES"), "Трассы");
  host::THostStyle Style;
  Style.ID = MakeID("TRACE_LINE");
  Style.Name = "Трасса";
  Project.AddStyle(Style);
  Project.AttachStyle(MakeID("TRACES"), MakeID("TRACE_LINE"));
}

// The host tells its add-ons of a new selection (parameter 4: its size).
void NotifySelection(TJourney& J) {
  std::vector<VARIANT> Params(5);
  for (VARIANT& V : Params) {
    V.vt = VT_I4;
    V.lVal = 0;
  }
  Params[0].lVal = Params[4].lVal =
      static_cast<std::int32_t>(J.Manager->MapView().Selection().size());
  auto List = host::MakeValue<host::THostParamsList>(J.Manager->Context(), std::move(Params));
  Check(J.ComAddOn->Notify(16, List.Get()), "Notify");
}

// A left click in the view at map point (X0 + X, Y0 + Y), a little off it
// as a hand would be: the editor snaps it.
void ClickAt(TJourney& J, double X, double Y) {
  std::int32_t DX = 0, DY = 0;
  Check(J.Manager->MapView().MapToDevice(X0 + X + 0.2, Y0 + Y - 0.2, &DX, &DY), "MapToDevice");
  kx::IKxEditor* Editor = J.Manager->MapView().Editor();
  Require(Editor != nullptr, "no editor in the host's map view");
  Check(Editor->MouseDown(0, 0, DX, DY), "MouseDown");
}

void TraceAlongTheStreet(TJourney& J) {
  for (const auto& [X, Y] : {std::pair{200.0, 205.0}, {300.0, 205.0}, {300.0, 195.0}})
    ClickAt(J, X, Y);
}

bool Near(kx::TKxPoint P, double X, double Y) {  // by value: the record is packed
  return std::abs(P.X - (X0 + X)) < 1e-6 && std::abs(P.Y - (Y0 + Y)) < 1e-6;
}

std::size_t TraceCount(TJourney& J) {
  return J.Manager->Project().FindLayer(MakeID("TRACES"))
             ? J.Manager->Project().Objects(MakeID("TRACES")).size()
             : 0;
}

}  // namespace

TSteps PadSteps(TJourney& J) {
  auto Pad = std::make_shared<std::unique_ptr<TPadDriver>>();
  TSteps S;
  S.push_back({"the pad shows, owned by the host's main window", [&J, Pad] {
                 const HWND Window = TPadDriver::FindPad();
                 Require(Window != nullptr, "no pad window");
                 *Pad = std::make_unique<TPadDriver>(Window);
                 Require((*Pad)->Visible(), "the pad is hidden");
                 Require(GetWindow(Window, GW_OWNER) == J.Window->Handle(),
                         "the pad's owner is not the main window");
                 Require(!(*Pad)->Enabled(TPadAction::AddZones), "zones enabled with no selection");
               }});
  S.push_back({"a street selected: the host notifies, the zones button enables", [&J, Pad] {
                 AddTraceLayer(J.Manager->Project());
                 kx::TKxID Street = MakeID("STREET");
                 J.Manager->Project().AddObject(MakeID("TRACES"),
                                                {{MakeID("TRACE_LINE"),
                                                  {host::HostMoveTo(X0 + 200, Y0 + 200),
                                                   host::HostLineTo(X0 + 300, Y0 + 200)}}},
                                                &Street);
                 J.Manager->MapView().SetTransform({X0 + 250, Y0 + 200, 0.2, 800, 600});
                 J.Manager->MapView().SetSelection({Street});
                 NotifySelection(J);
                 Require((*Pad)->Enabled(TPadAction::AddZones), "the zones button stays disabled");
               }});
  S.push_back({"width 5 typed, the zone added, tracing on", [&J, Pad] {
                 (*Pad)->TypeWidth("5");
                 (*Pad)->Click(TPadAction::AddZones);
                 Require((*Pad)->LastMessageBox().empty(), "error: " + (*Pad)->LastMessageBox());
                 Require((*Pad)->TraceOnEnabled(), "the trace box stays disabled");
                 (*Pad)->TickTraceOn();
                 Require(J.Manager->MapView().Editor() != nullptr, "no editor installed");
               }});
  S.push_back({"a style found through the chooser's search: Ctrl+F, a filter", [Pad] {
                 (*Pad)->PickInNextChooser("Переулок", "переул");
                 (*Pad)->Click(TPadAction::SelectStyle);
                 Require((*Pad)->SearchShowedBold(), "the search did not show the match bold");
                 Require((*Pad)->Picked(), "the search's result was not selected in the chooser");
                 Require((*Pad)->StyleLine() == "[Городок] Улицы - Переулок",
                         "the style line reads \"" + (*Pad)->StyleLine() + "\"");
               }});
  S.push_back({"the street's style picked in the project tree chooser", [Pad] {
                 (*Pad)->PickInNextChooser("Трасса");
                 (*Pad)->Click(TPadAction::SelectStyle);
                 Require((*Pad)->Picked(), "the chooser did not show the style");
                 Require((*Pad)->StyleLine() == StyleLine,
                         "the style line reads \"" + (*Pad)->StyleLine() + "\"");
               }});
  S.push_back({"three clicks in view pixels along the zone", [&J, Pad] {
                 TraceAlongTheStreet(J);
                 Require((*Pad)->Enabled(TPadAction::CreateObject), "creation stays disabled");
                 // The pad as the user sees it now, for the documentation.
                 if (const wchar_t* Shot = _wgetenv(L"TRACE_WINTEST_PAD_IMAGE"))
                   Require((*Pad)->SaveImage(Shot), "the pad's picture was not written");
               }});
  S.push_back({"the object created: its contour command by command", [&J, Pad] {
                 const std::size_t Before = TraceCount(J);
                 (*Pad)->Click(TPadAction::CreateObject);
                 Require((*Pad)->LastMessageBox().empty(), "error: " + (*Pad)->LastMessageBox());
                 const auto Objects = J.Manager->Project().Objects(MakeID("TRACES"));
                 Require(Objects.size() == Before + 1, "no new object in the layer");
                 const host::THostMapObject& New = *Objects.back();
                 Require(New.Shapes.size() == 1 && New.Shapes[0].StyleID == MakeID("TRACE_LINE"),
                         "the object's shape or style");
                 const auto& Cmds = New.Shapes[0].Commands;
                 Require(Cmds.size() >= 3, "fewer than three commands");
                 Require(Cmds[0].Kind == kx::kxMoveTo && Near(Cmds[0].Point, 200, 205),
                         "the first command is not a move to (200, 205)");
                 Require(Cmds[1].Kind == kx::kxLineTo && Near(Cmds[1].Point, 300, 205),
                         "the second command is not a line to (300, 205)");
                 // Round the right end, clockwise, a half turn on the 5 m circle.
                 double Sweep = 0;
                 for (std::size_t I = 2; I < Cmds.size(); ++I) {
                   Require(Cmds[I].Kind == kx::kxArcTo, "a command after the line is no arc");
                   Sweep += 4 * std::atan(Cmds[I].Convexity);
                 }
                 Require(std::abs(Sweep + std::numbers::pi) < 1e-8, "the arcs do not turn by -pi");
                 Require(Near(Cmds.back().Point, 300, 195), "the trace does not end at (300, 195)");
               }});
  S.push_back({"fault: the host refuses the new object, the pad says why", [&J, Pad] {
                 TraceAlongTheStreet(J);
                 // The project reopened: the chosen style's layer is gone.
                 J.Manager->Project() = host::LoadProjectFile(J.ProjectPath);
                 J.Manager->ErrorInfo().Clear();
                 const std::int32_t Objects = J.Manager->Project().ObjectCount();
                 (*Pad)->Click(TPadAction::CreateObject);
                 const std::string Shown = (*Pad)->LastMessageBox();
                 const std::string Set = J.Manager->ErrorInfo().MessageUtf8();
                 Require(!Set.empty(), "no message set through IKxErrorInfo");
                 Require(Shown.find(Set) != std::string::npos,
                         "the pad showed \"" + Shown + "\", the host set \"" + Set + "\"");
                 Require(J.Manager->Project().ObjectCount() == Objects, "an object was added");
               }});
  return S;
}

TStep PadGoneStep() {
  return {"Disconnect destroyed the pad's window",
          [] { Require(TPadDriver::FindPad() == nullptr, "the pad's window is still there"); }};
}

}  // namespace winhost
