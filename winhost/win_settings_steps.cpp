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

// What to do once the dialog shows, and what went wrong doing it.
std::function<void(HWND)> Answer;
std::string AnswerFailure;
bool Answering = false;
DWORD AnsweredAt = 0;

// Runs inside the dialog's modal loop (and inside the loops of the message
// boxes it shows, where it waits).
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (Answering) return;
  const HWND Dialog = FindWindowW(winui::SettingsClassName, nullptr);
  if (!Dialog || !IsWindowVisible(Dialog)) return;
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

HWND Item(HWND Dialog, int Id) {
  const HWND C = GetDlgItem(Dialog, Id);
  if (!C) throw std::runtime_error("the dialog has no control " + std::to_string(Id));
  return C;
}

void Expect(bool Condition, const std::string& What) {
  if (!Condition) throw std::runtime_error(What);
}

void SelectPage(HWND Dialog, forms::TSettingsPage Page) {
  const HWND Tree = Item(Dialog, winui::SettingsTree);
  SendMessageW(Tree, LB_SETCURSEL, static_cast<WPARAM>(Page), 0);
  SendMessageW(Dialog, WM_COMMAND, MAKEWPARAM(winui::SettingsTree, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Tree));
}

int ShownPage(HWND Dialog) {
  return static_cast<int>(SendMessageW(Item(Dialog, winui::SettingsTree), LB_GETCURSEL, 0, 0));
}

std::string BoxText(HWND Box) {
  const auto I = SendMessageW(Box, CB_GETCURSEL, 0, 0);
  if (I < 0) return {};
  std::wstring Text(static_cast<std::size_t>(SendMessageW(Box, CB_GETLBTEXTLEN, I, 0)) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(
      SendMessageW(Box, CB_GETLBTEXT, I, reinterpret_cast<LPARAM>(Text.data()))));
  return compat::Narrow(Text);
}

void ChooseColor(HWND Dialog, int Box, const std::string& Name) {
  const HWND C = Item(Dialog, winui::SettingsColorBase + Box);
  const auto I = SendMessageW(C, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(compat::Widen(Name).c_str()));
  Expect(I >= 0, "the colour box has no item " + Name);
  SendMessageW(C, CB_SETCURSEL, static_cast<WPARAM>(I), 0);
  SendMessageW(Dialog, WM_COMMAND, MAKEWPARAM(winui::SettingsColorBase + Box, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(C));
}

HWND NumberEdit(HWND Dialog, forms::TSettingsNumber N) {
  return Item(Dialog, winui::SettingsNumberBase + N);
}

// Pasted rather than typed: the edit's own change notice follows.
void PasteNumber(HWND Dialog, forms::TSettingsNumber N, const std::string& Text) {
  SetWindowTextW(NumberEdit(Dialog, N), compat::Widen(Text).c_str());
}

std::string EditText(HWND Edit) {
  wchar_t Text[64] = {};
  GetWindowTextW(Edit, Text, 64);
  return compat::Narrow(Text);
}

// A click in the middle of a grid's cell (3 columns of 2 rows for a pen).
void ClickCell(HWND Grid, int Col, int Row, int Cols, int Rows) {
  RECT R;
  GetClientRect(Grid, &R);
  const int X = R.right * (2 * Col + 1) / (2 * Cols), Y = R.bottom * (2 * Row + 1) / (2 * Rows);
  SendMessageW(Grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  SendMessageW(Grid, WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
}

void PressClose(HWND Dialog) {
  SendMessageW(Item(Dialog, winui::SettingsClose), BM_CLICK, 0, 0);
}

// The dialog's window, frame included, as it shows on the screen, to a BMP
// file; for the documentation's pictures.
void WriteImage(HWND Window, const std::wstring& Path) {
  RedrawWindow(Window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT R;
  GetWindowRect(Window, &R);
  const int W = R.right - R.left, H = R.bottom - R.top;
  const HDC Screen = GetDC(nullptr);
  const HDC Memory = CreateCompatibleDC(Screen);
  BITMAPINFOHEADER Header{sizeof Header, W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  const HBITMAP Image = CreateDIBSection(Screen, reinterpret_cast<BITMAPINFO*>(&Header),
                                         DIB_RGB_COLORS, &Bits, nullptr, 0);
  const HGDIOBJ Old = SelectObject(Memory, Image);
  BitBlt(Memory, 0, 0, W, H, Screen, R.left, R.top, SRCCOPY);
  SelectObject(Memory, Old);
  const DWORD Size = static_cast<DWORD>((W * 3 + 3) / 4 * 4 * H);
  const DWORD Offset = sizeof(BITMAPFILEHEADER) + sizeof Header;
  const BITMAPFILEHEADER File{0x4D42, Offset + Size, 0, 0, Offset};
  const HANDLE Out = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD N = 0;
  if (Out != INVALID_HANDLE_VALUE && Bits) {
    WriteFile(Out, &File, sizeof File, &N, nullptr);
    WriteFile(Out, &Header, sizeof Header, &N, nullptr);
    WriteFile(Out, Bits, Size, &N, nullptr);
  }
  if (Out != INVALID_HANDLE_VALUE) CloseHandle(Out);
  DeleteObject(Image);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
}

// Each page to <Prefix>-vertices.bmp, -zone.bmp, -trace.bmp.
void WritePageImages(HWND Dialog, const std::wstring& Prefix) {
  const wchar_t* Names[] = {L"vertices", L"zone", L"trace"};
  for (int P = 0; P < 3; ++P) {
    SelectPage(Dialog, static_cast<forms::TSettingsPage>(P));
    WriteImage(Dialog, Prefix + L"-" + Names[P] + L".bmp");
  }
}

// Clicks the pad's settings button and answers the dialog with Run.
void OpenSettings(std::function<void(HWND)> Run) {
  const HWND Pad = TPadDriver::FindPad();
  Require(Pad != nullptr, "no pad window");
  Answer = std::move(Run);
  AnswerFailure.clear();
  AnsweredAt = 0;
  const UINT_PTR Timer = SetTimer(nullptr, 0, 30, &AnswerDialog);
  SendMessageW(
      GetDlgItem(Pad, winui::PadActionBase + static_cast<int>(forms::TPadAction::Settings)),
      BM_CLICK, 0, 0);
  KillTimer(nullptr, Timer);
  const bool Shown = !Answer;
  Answer = nullptr;
  Require(Shown, "the settings dialog did not show: " + TPadDriver::LastMessageBox());
  Require(AnswerFailure.empty(), AnswerFailure);
  Require(FindWindowW(winui::SettingsClassName, nullptr) == nullptr, "the dialog stays");
  Require(IsWindowEnabled(Pad) != FALSE, "the pad stays disabled");
}

std::string Stored(TJourney& J, const std::string& Name) {
  return J.Manager->Settings().Value(1, "Trace." + Name).value_or("(none)");
}

}  // namespace

TSteps SettingsSteps(TJourney& J) {
  TSteps S;
  S.push_back({"settings: the trace page, blue, 2.5 mm after a refused width, saved", [&J] {
                 OpenSettings([](HWND Dialog) {
                   if (const wchar_t* Prefix = _wgetenv(L"TRACE_WINTEST_SETTINGS_IMAGES"))
                     WritePageImages(Dialog, Prefix);
                   SelectPage(Dialog, forms::spTrace);
                   Expect(IsWindowVisible(Item(Dialog, winui::SettingsTracePenGrid)),
                          "the trace page does not show");
                   Expect(!IsWindowVisible(Item(Dialog, winui::SettingsBufferZonePenGrid)),
                          "the zone page shows with the trace page");
                   // An empty store: the defaults.
                   const HWND Width = NumberEdit(Dialog, forms::snTracePenWidth);
                   Expect(EditText(Width) == "1", "the trace width shows " + EditText(Width));
                   const std::string Pen =
                       BoxText(Item(Dialog, winui::SettingsColorBase + winui::scTracePen));
                   Expect(Pen == "Красный", "the trace pen colour shows " + Pen);
                   // A dashed pen has no width; the solid one has.
                   const HWND Grid = Item(Dialog, winui::SettingsTracePenGrid);
                   ClickCell(Grid, 1, 0, 3, 2);
                   Expect(!IsWindowEnabled(Width), "the width stays enabled for a dashed pen");
                   ClickCell(Grid, 2, 1, 3, 2);
                   Expect(IsWindowEnabled(Width) != FALSE, "the width stays disabled when solid");
                   // A width that would not read back keeps the dialog open
                   // on its page, from another page.
                   PasteNumber(Dialog, forms::snTracePenWidth, "2,5x");
                   SelectPage(Dialog, forms::spVertices);
                   PressClose(Dialog);
                   Expect(IsWindow(Dialog) && IsWindowVisible(Dialog),
                          "the dialog closed on a bad width");
                   Expect(ShownPage(Dialog) == forms::spTrace, "the trace page is not shown");
                   Expect(TPadDriver::LastMessageBox().find("2,5x") != std::string::npos,
                          "the error shown: " + TPadDriver::LastMessageBox());
                   ChooseColor(Dialog, winui::scTracePen, "Синий");
                   PasteNumber(Dialog, forms::snTracePenWidth, "2.5");
                   PressClose(Dialog);
                 });
                 Require(Stored(J, "TracePenColor") == "16711680",
                         "Trace.TracePenColor is " + Stored(J, "TracePenColor"));
                 Require(Stored(J, "TraceWidth") == "2.5",
                         "Trace.TraceWidth is " + Stored(J, "TraceWidth"));
                 Require(Stored(J, "TracePenStyle") == "0",
                         "Trace.TracePenStyle is " + Stored(J, "TracePenStyle"));
               }});
  S.push_back({"settings: closed by its close box, nothing is written", [&J] {
                 OpenSettings([](HWND Dialog) {
                   const HWND Width = NumberEdit(Dialog, forms::snTracePenWidth);
                   Expect(EditText(Width) == "2.5", "the stored width shows " + EditText(Width));
                   PasteNumber(Dialog, forms::snTracePenWidth, "7");
                   ChooseColor(Dialog, winui::scTracePen, "Желтый");
                   SendMessageW(Dialog, WM_CLOSE, 0, 0);
                 });
                 Require(Stored(J, "TraceWidth") == "2.5",
                         "Trace.TraceWidth is " + Stored(J, "TraceWidth"));
                 Require(Stored(J, "TracePenColor") == "16711680",
                         "Trace.TracePenColor is " + Stored(J, "TracePenColor"));
               }});
  return S;
}

}  // namespace winhost
