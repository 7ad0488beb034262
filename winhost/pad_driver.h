// Drives the module's native trace pad as a user does: buttons clicked,
// text typed, a check box ticked and a node picked in the project tree
// chooser, each through the window's own messages.
#pragma once

#include <windows.h>

#include <string>

#include "forms/trace_pad_model.h"

namespace winhost {

// Writes a window, frame included, as it shows on the screen to a BMP
// file; false when it could not.
bool SaveWindowImage(HWND Window, const std::wstring& Path);

class TPadDriver {
 public:
  // The pad window of this process; none until the command made it.
  static HWND FindPad();

  // Also starts watching this thread's modal windows: the chooser and
  // message boxes.
  explicit TPadDriver(HWND Pad);

  bool Visible() const { return IsWindowVisible(FPad) != FALSE; }
  bool Enabled(forms::TPadAction Action) const;
  // Raises when the button is disabled: a user could not have clicked it.
  void Click(forms::TPadAction Action);
  void TypeWidth(const std::string& Text);
  bool TraceOnEnabled() const;
  void TickTraceOn();
  std::string StyleLine() const;
  // The chooser that the next click opens will pick the node shown with
  // Text and confirm; with a Filter, through its tree search (Ctrl+F, the
  // filter typed, the match picked among the results). Picked is false
  // afterwards when it never showed or had no such node; SearchShowedBold
  // tells that the search showed the match bold.
  void PickInNextChooser(const std::string& Text, const std::string& Filter = {});
  bool Picked() const;
  bool SearchShowedBold() const;
  // The pad's window, as SaveWindowImage writes it.
  bool SaveImage(const std::wstring& Path) const;
  // A message box that the pad showed instead, its text; empty when none.
  static const std::string& LastMessageBox();

 private:
  HWND Control(int Id) const;
  HWND FPad;
};

}  // namespace winhost
