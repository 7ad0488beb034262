// The numeric edit as a native edit control: typed characters are asked of
// a forms::TFloatEditModel (refused ones beep), and leaving the field has
// the model check the text, which it shows as an error in a message box
// while the field takes the focus back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "forms/float_edit_model.h"

namespace winui {

class TWinFloatEdit {
 public:
  TWinFloatEdit(HWND Parent, int Id, int X, int Y, int Width);
  ~TWinFloatEdit();
  TWinFloatEdit(const TWinFloatEdit&) = delete;
  TWinFloatEdit& operator=(const TWinFloatEdit&) = delete;

  HWND Window() const { return FWindow; }
  forms::TFloatEditModel& Model() { return FModel; }
  // Code's own text: shown, and the model told, without OnEdited.
  void SetText(const std::string& Text);
  std::string Text() const;
  // Leaving the field for this control does not check it: the dialog's
  // saving does.
  HWND ExemptFocus = nullptr;

  // The user changed the text.
  std::function<void(const std::string&)> OnEdited;
  // Forwarded by the parent: the edit's own change notification.
  void Changed();

  // The decimal separator of the user's locale.
  static char32_t LocaleSeparator();

 private:
  static LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM W, LPARAM L);
  bool Accepts(wchar_t Ch) const;
  void CheckOnExit();

  forms::TFloatEditModel FModel;
  HWND FWindow = nullptr;
  WNDPROC FEditProc = nullptr;
  bool FShowing = false;
};

}  // namespace winui
