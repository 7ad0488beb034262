// Small helpers for the module's native windows: a window class per form
// whose procedure forwards to the form object, and controls made by ID.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace winui {

// Messages for a form object; the window stores the object at creation.
class TWinHandler {
 public:
  virtual LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) = 0;

 protected:
  ~TWinHandler() = default;
};

// A top-level window of the registered class ClassName (registered once),
// owned by Owner, whose messages go to Handler. Raises when the system
// refuses.
HWND CreateFormWindow(const wchar_t* ClassName, const std::string& Caption, DWORD Style, int Width,
                      int Height, HWND Owner, TWinHandler& Handler);

// A child control of the registered class ClassName whose messages go to
// Handler; it paints itself.
HWND CreateHandlerControl(const wchar_t* ClassName, HWND Parent, DWORD Style, int Id, int X, int Y,
                          int Width, int Height, TWinHandler& Handler);

HWND CreateControl(HWND Parent, const wchar_t* Class, const std::string& Text, DWORD Style, int Id,
                   int X, int Y, int Width, int Height);

// Shows Window and runs its messages until Done, Owner disabled meanwhile
// and enabled again before Window hides, so that it takes the activation.
// KeyHook sees each key press first and returns true for one it took. A
// WM_QUIT met on the way is posted again for the outer loop.
void RunModal(HWND Window, HWND Owner, HWND Focus, const bool& Done,
              const std::function<bool(const MSG&)>& KeyHook = nullptr);

std::string ControlText(HWND Control);
void SetControlText(HWND Control, const std::string& Text);

// The module's form owner: the host's main window when connected.
HWND FormOwner();

}  // namespace winui
