#include "winui/win_window.h"

#include <commctrl.h>

#include "addonkit/module_state.h"
#include "compat/module_file.h"
#include "compat/win32_text.h"
#include "core/exception.h"

namespace winui {

namespace {

LRESULT CALLBACK FormProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
  if (Message == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCTW*>(L);
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
  }
  auto* Handler = reinterpret_cast<TWinHandler*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  return Handler ? Handler->Handle(Window, Message, W, L) : DefWindowProcW(Window, Message, W, L);
}

HINSTANCE Instance() {
  return static_cast<HINSTANCE>(compat::ModuleInstance());
}

// The common controls (tool bars, tree views, tool tips), once.
void EnsureCommonControls() {
  static const bool Done = [] {
    INITCOMMONCONTROLSEX Init{sizeof Init, ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
    return InitCommonControlsEx(&Init) != FALSE;
  }();
  (void)Done;
}

void RegisterFormClass(const wchar_t* ClassName, HBRUSH Background) {
  WNDCLASSEXW Class{};
  if (GetClassInfoExW(Instance(), ClassName, &Class)) return;
  Class.cbSize = sizeof Class;
  Class.lpfnWndProc = &FormProc;
  Class.hInstance = Instance();
  Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Class.hbrBackground = Background;
  Class.lpszClassName = ClassName;
  if (!RegisterClassExW(&Class))
    throw core::Exception("Cannot register a window class: " +
                          compat::SystemMessage(GetLastError()));
}

}  // namespace

HWND CreateFormWindow(const wchar_t* ClassName, const std::string& Caption, DWORD Style, int Width,
                      int Height, HWND Owner, TWinHandler& Handler) {
  EnsureCommonControls();
  RegisterFormClass(ClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  RECT Frame{0, 0, Width, Height};
  AdjustWindowRectEx(&Frame, Style, FALSE, WS_EX_DLGMODALFRAME);
  const HWND Window =
      CreateWindowExW(WS_EX_DLGMODALFRAME, ClassName, compat::Widen(Caption).c_str(), Style,
                      CW_USEDEFAULT, CW_USEDEFAULT, Frame.right - Frame.left,
                      Frame.bottom - Frame.top, Owner, nullptr, Instance(), &Handler);
  if (!Window)
    throw core::Exception("Cannot create a window: " + compat::SystemMessage(GetLastError()));
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return Window;
}

HWND CreateHandlerControl(const wchar_t* ClassName, HWND Parent, DWORD Style, int Id, int X, int Y,
                          int Width, int Height, TWinHandler& Handler) {
  RegisterFormClass(ClassName, nullptr);
  const HWND Control =
      CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE | Style, X, Y, Width, Height, Parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), Instance(), &Handler);
  if (!Control)
    throw core::Exception("Cannot create a control: " + compat::SystemMessage(GetLastError()));
  return Control;
}

HWND CreateControl(HWND Parent, const wchar_t* Class, const std::string& Text, DWORD Style, int Id,
                   int X, int Y, int Width, int Height) {
  const HWND Control = CreateWindowExW(
      0, Class, compat::Widen(Text).c_str(), WS_CHILD | WS_VISIBLE | Style, X, Y, Width, Height,
      Parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), Instance(), nullptr);
  if (!Control)
    throw core::Exception("Cannot create a control: " + compat::SystemMessage(GetLastError()));
  SendMessageW(Control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return Control;
}

std::string ControlText(HWND Control) {
  const int Length = GetWindowTextLengthW(Control);
  std::wstring Text(static_cast<std::size_t>(Length) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(Control, Text.data(), Length + 1)));
  return compat::Narrow(Text);
}

void SetControlText(HWND Control, const std::string& Text) {
  SetWindowTextW(Control, compat::Widen(Text).c_str());
}

void RunModal(HWND Window, HWND Owner, HWND Focus, const bool& Done,
              const std::function<bool(const MSG&)>& KeyHook) {
  if (Owner) EnableWindow(Owner, FALSE);
  ShowWindow(Window, SW_SHOW);
  SetFocus(Focus);
  MSG Message;
  while (!Done) {
    const BOOL Got = GetMessageW(&Message, nullptr, 0, 0);
    if (Got <= 0) {
      if (Got == 0) PostQuitMessage(static_cast<int>(Message.wParam));
      break;
    }
    if (Message.message == WM_KEYDOWN && KeyHook && KeyHook(Message)) continue;
    if (!IsDialogMessageW(Window, &Message)) {
      TranslateMessage(&Message);
      DispatchMessageW(&Message);
    }
  }
  if (Owner) EnableWindow(Owner, TRUE);
  ShowWindow(Window, SW_HIDE);
}

HWND FormOwner() {
  return kx::ModuleState().FormParentWindow;
}

}  // namespace winui
