#include "winhost/win_settings_steps.h"

#include <functional>
#include <stdexcept>
#include <string>

#include "compat/win32_text.h"
#include "forms/settings_model.h"
#include "winhost/pad_driver.h"
#include "winui/pad_controls.h"
#include "winui/settings_controls.h"

namespace winhost {

namespace {

using namespace winui;

// What to do once the dialog shows, and what went wrong doing it.
std::function<void(HWND)> Answer;
std::string AnswerFailure;
bool Answering = false;
DWORD AnsweredAt = 0;

// Runs inside the dialog's modal loop (and inside the loops of the message
// boxes it shows, where it waits).
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD) {
  const HWND Dialog = FindWindowW(SettingsClassName, nullptr);
  if (Answering || !Dialog || !IsWindowVisible(Dialog)) return;
  if (!Answer) {
    // Every answer closes the dialog; one that stays would hang the run.
    if (AnsweredAt && GetTickCount() - AnsweredAt > 2000) {
      AnswerFailure = "the dialog stayed open after the answer";
      SendMessageW(Dialog, WM_CLOSE, 0, 0);
    }
    return;
  }
  Answering = true;
  const auto Run = std::move(Answer);
  Answer = nullptr;
  try {
    Run(Dialog);
  } catch (const std::exception& E) {
    AnswerFailure = E.what();
    if (IsWindow(Dialog)) SendMessageW(Dialog, WM_CLOSE, 0, 0);
  }
  Answering = false;
  AnsweredAt = GetTickCount();
}

void Expect(bool Condition, const std::string& What) {
  if (!Condition) throw std::runtime_error(What);
}

HWND Item(HWND Dialog, int Id) {
  const HWND C = GetDlgItem(Dialog, Id);
  Expect(C != nullptr, "the dialog has no control " + std::to_string(Id));
  return C;
}

// The user's choice in a list or box: its selection and its notice.
void Choose(HWND Dialog, int Id, UINT SetSelection, WPARAM Index, WORD Notice) {
  SendMessageW(Item(Dialog, Id), SetSelection, Index, 0);
  SendMessageW(Dialog, WM_COMMAND, MAKEWPARAM(Id, Notice),
               reinterpret_cast<LPARAM>(Item(Dialog, Id)));
}

void SelectPage(HWND Dialog, forms::TSettingsPage Page) {
  Choose(Dialog, SettingsTree, LB_SETCURSEL, static_cast<WPARAM>(Page), LBN_SELCHANGE);
}

void ChooseColor(HWND Dialog, int Box, const std::string& Name) {
  const auto I =
      SendMessageW(Item(Dialog, SettingsColorBase + Box), CB_FINDSTRINGEXACT,
                   static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(compat::Widen(Name).c_str()));
  Expect(I >= 0, "the colour box has no item " + Name);
  Choose(Dialog, SettingsColorBase + Box, CB_SETCURSEL, static_cast<WPARAM>(I), CBN_SELCHANGE);
}

std::string Text(HWND Control) {
  wchar_t Text[64] = {};
  GetWindowTextW(Control, Text, 64);
  return compat::Narrow(Text);
}

// The trace width's edit; text pasted into it rather than typed.
HWND TraceWidth(HWND Dialog) {
  return Item(Dialog, SettingsNumberBase + forms::snTracePenWidth);
}
void PasteTraceWidth(HWND Dialog, const std::string& Text) {
  SetWindowTextW(TraceWidth(Dialog), compat::Widen(Text).c_str());
}

// A click in the middle of a pen grid's cell (3 columns, 2 rows).
void ClickPenCell(HWND Grid, int Col, int Row) {
  RECT R;
  GetClientRect(Grid, &R);
  const LPARAM At = MAKELPARAM(R.right * (2 * Col + 1) / 6, R.bottom * (2 * Row + 1) / 4);
  SendMessageW(Grid, WM_LBUTTONDOWN, MK_LBUTTON, At);
  SendMessageW(Grid, WM_LBUTTONUP, 0, At);
}

void PressClose(HWND Dialog) {
  SendMessageW(Item(Dialog, SettingsClose), BM_CLICK, 0, 0);
}

// Clicks the pad's settings button and answers the dialog with Run.
void OpenSettings(std::function<void(HWND)> Run) {
  const HWND Pad = TPadDriver::FindPad();
  Require(Pad != nullptr, "no pad window");
  Answer = std::move(Run);
  AnswerFailure.clear();
  AnsweredAt = 0;
  const UINT_PTR Timer = SetTimer(nullptr, 0, 30, &AnswerDialog);
  TPadDriver(Pad).Click(forms::TPadAction::Settings);
  KillTimer(nullptr, Timer);
  const bool Shown = !Answer;
  Answer = nullptr;
  Require(Shown, "the settings dialog did not show: " + TPadDriver::LastMessageBox());
  Require(AnswerFailure.empty(), AnswerFailure);
  Require(FindWindowW(SettingsClassName, nullptr) == nullptr, "the dialog stays");
  Require(IsWindowEnabled(Pad) != FALSE, "the pad stays disabled");
}

void RequireStored(TJourney& J, const std::string& Name, const std::string& Value) {
  const std::string Stored = J.Manager->Settings().Value(1, "Trace." + Name).value_or("(none)");
  Require(Stored == Value, "Trace." + Name + " is " + Stored);
}

}  // namespace

TSteps SettingsSteps(TJourney& J) {
  TSteps S;
  S.push_back(
      {"settings: the trace page, blue, 2.5 mm after a refused width, saved", [&J] {
         OpenSettings([](HWND Dialog) {
           if (const wchar_t* Prefix = _wgetenv(L"TRACE_WINTEST_SETTINGS_IMAGES"))
             for (int P = 0; P < 3; ++P) {
               SelectPage(Dialog, static_cast<forms::TSettingsPage>(P));
               const wchar_t* Names[] = {L"-vertices.bmp", L"-zone.bmp", L"-trace.bmp"};
               SaveWindowImage(Dialog, Prefix + std::wstring(Names[P]));
             }
           SelectPage(Dialog, forms::spTrace);
           Expect(IsWindowVisible(Item(Dialog, SettingsTracePenGrid)) &&
                      !IsWindowVisible(Item(Dialog, SettingsBufferZonePenGrid)),
                  "the trace page alone does not show");
           // An empty store: the defaults.
           Expect(Text(TraceWidth(Dialog)) == "1", "the width shows " + Text(TraceWidth(Dialog)));
           const HWND Pen = Item(Dialog, SettingsColorBase + scTracePen);
           Expect(Text(Pen) == "Красный", "the pen colour shows " + Text(Pen));
           // A dashed pen has no width; the solid one has.
           ClickPenCell(Item(Dialog, SettingsTracePenGrid), 1, 0);
           Expect(!IsWindowEnabled(TraceWidth(Dialog)), "the width enabled, dashed");
           ClickPenCell(Item(Dialog, SettingsTracePenGrid), 2, 1);
           Expect(IsWindowEnabled(TraceWidth(Dialog)) != FALSE, "the width disabled, solid");
           // Arrow keys move the selection as clicks do.
           SendMessageW(Item(Dialog, SettingsTracePenGrid), WM_KEYDOWN, VK_LEFT, 0);
           Expect(!IsWindowEnabled(TraceWidth(Dialog)), "the width enabled after left");
           SendMessageW(Item(Dialog, SettingsTracePenGrid), WM_KEYDOWN, VK_RIGHT, 0);
           Expect(IsWindowEnabled(TraceWidth(Dialog)) != FALSE, "disabled after right");
           // A width that would not read back keeps the dialog open,
           // back on its page.
           PasteTraceWidth(Dialog, "2,5x");
           SelectPage(Dialog, forms::spVertices);
           PressClose(Dialog);
           Expect(IsWindowVisible(Dialog) != FALSE, "the dialog closed on a bad width");
           Expect(SendMessageW(Item(Dialog, SettingsTree), LB_GETCURSEL, 0, 0) == forms::spTrace,
                  "the trace page is not shown");
           Expect(TPadDriver::LastMessageBox().find("2,5x") != std::string::npos,
                  "the error shown: " + TPadDriver::LastMessageBox());
           ChooseColor(Dialog, scTracePen, "Синий");
           // The system's colour dialog, confirmed as it opens, keeps it.
           ChooseColor(Dialog, scTracePen, "Другой...");
           Expect(Text(Pen) == "Синий", "after the colour dialog: " + Text(Pen));
           PasteTraceWidth(Dialog, "2.5");
           PressClose(Dialog);
         });
         RequireStored(J, "TracePenColor", "16711680");
         RequireStored(J, "TraceWidth", "2.5");
         RequireStored(J, "TracePenStyle", "0");
       }});
  S.push_back({"settings: closed by its close box, nothing is written", [&J] {
                 OpenSettings([](HWND Dialog) {
                   Expect(Text(TraceWidth(Dialog)) == "2.5", "the stored width is not shown");
                   PasteTraceWidth(Dialog, "7");
                   ChooseColor(Dialog, scTracePen, "Желтый");
                   SendMessageW(Dialog, WM_CLOSE, 0, 0);
                 });
                 RequireStored(J, "TraceWidth", "2.5");
                 RequireStored(J, "TracePenColor", "16711680");
               }});
  return S;
}

}  // namespace winhost
