#include "winui/win_float_edit.h"

#include <algorithm>

#include "addonkit/module_state.h"
#include "compat/win32_text.h"
#include "core/exception.h"
#include "winui/win_window.h"

namespace winui {

namespace {

constexpr wchar_t SelfProperty[] = L"TraceFloatEdit";
// Posted to the edit once it lost the focus: checked when the focus has
// settled.
constexpr UINT WM_LEAVE_CHECK = WM_APP + 1;

}  // namespace

TWinFloatEdit::TWinFloatEdit(HWND Parent, int Id, int X, int Y, int Width) {
  FWindow = CreateControl(Parent, L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, Id, X, Y,
                          Width, 21);
  SetPropW(FWindow, SelfProperty, this);
  FEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
  FModel.SetLocaleSeparator(LocaleSeparator());
}

TWinFloatEdit::~TWinFloatEdit() {
  if (!IsWindow(FWindow)) return;
  SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditProc));
  RemovePropW(FWindow, SelfProperty);
}

char32_t TWinFloatEdit::LocaleSeparator() {
  wchar_t Sep[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Sep, 4) < 2) return U'.';
  return static_cast<char32_t>(Sep[0]);
}

std::string TWinFloatEdit::Text() const {
  return ControlText(FWindow);
}

void TWinFloatEdit::SetText(const std::string& Text) {
  if (this->Text() == Text) return;
  FShowing = true;
  SetControlText(FWindow, Text);
  FModel.TextEdited(Text);
  FShowing = false;
}

void TWinFloatEdit::Changed() {
  if (FShowing) return;
  const std::string T = Text();
  FModel.TextEdited(T);
  if (OnEdited) OnEdited(T);
}

bool TWinFloatEdit::Accepts(wchar_t Ch) const {
  const std::wstring Text = compat::Widen(this->Text());
  DWORD Start = 0, End = 0;
  SendMessageW(FWindow, EM_GETSEL, reinterpret_cast<WPARAM>(&Start),
               reinterpret_cast<LPARAM>(&End));
  Start = std::min<DWORD>(Start, static_cast<DWORD>(Text.size()));
  End = std::max(Start, std::min<DWORD>(End, static_cast<DWORD>(Text.size())));
  return FModel.AcceptsChar(static_cast<char32_t>(Ch), compat::Narrow(Text.substr(0, Start)),
                            compat::Narrow(Text.substr(End)));
}

void TWinFloatEdit::CheckOnExit() {
  try {
    FModel.Leave();
  } catch (const core::EConvertError& E) {
    SetFocus(FWindow);
    MessageBoxW(GetParent(FWindow), compat::Widen(E.what()).c_str(),
                compat::Widen(kx::ModuleState().ApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  // A value out of bounds was set again, clamped.
  if (FModel.Text() != Text()) {
    SetControlText(FWindow, FModel.Text());
  }
}

LRESULT CALLBACK TWinFloatEdit::Proc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
  auto* Self = static_cast<TWinFloatEdit*>(GetPropW(Window, SelfProperty));
  switch (Message) {
    case WM_CHAR:
      // Control characters (backspace, enter, escape, shortcuts) are the
      // edit's own.
      if (W >= L' ' && W != 0x7F && !(GetWindowLongW(Window, GWL_STYLE) & ES_READONLY) &&
          !Self->Accepts(static_cast<wchar_t>(W))) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    case WM_KILLFOCUS: {
      // Another window or the exempt control taking the focus does not
      // leave the field.
      const HWND To = reinterpret_cast<HWND>(W);
      if (To && To != Self->ExemptFocus && IsChild(GetParent(Window), To))
        PostMessageW(Window, WM_LEAVE_CHECK, 0, 0);
      break;
    }
    case WM_LEAVE_CHECK:
      Self->CheckOnExit();
      return 0;
    default:
      break;
  }
  return CallWindowProcW(Self->FEditProc, Window, Message, W, L);
}

}  // namespace winui
