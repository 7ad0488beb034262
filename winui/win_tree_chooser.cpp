#include "winui/win_tree_chooser.h"

#include "compat/win32_text.h"
#include "forms/tree_chooser_model.h"
#include "winui/pad_controls.h"
#include "winui/win_window.h"

namespace winui {

namespace {

constexpr int ChooserWidth = 300, ChooserHeight = 360;

class TChooser final : public TWinHandler {
 public:
  TChooser(kx::TKxCustomAddon& Addon, std::uint8_t Kind, const kx::TKxID& ID) {
    FModel.Fill(Addon.MapProject, Addon.GISDatabase, Kind, false);
    FModel.Preselect(ID);
  }

  // Runs the window modally over Owner; true on OK.
  bool Run(const std::string& Caption, HWND Owner) {
    FWindow = CreateFormWindow(ChooserClassName, Caption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               ChooserWidth, ChooserHeight, Owner, *this);
    CreateControl(FWindow, L"STATIC", FModel.LabelText(), SS_LEFT, ChooserLabel, 8, 8, 284, 16);
    FList = CreateControl(FWindow, L"LISTBOX", "",
                          WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          ChooserList, 8, 28, 284, 286);
    FOk = CreateControl(FWindow, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, ChooserOk, 136,
                        324, 75, 25);
    CreateControl(FWindow, L"BUTTON", "Отмена", BS_PUSHBUTTON | WS_TABSTOP, ChooserCancel, 217, 324,
                  75, 25);
    for (const forms::TProjectNode& Node : FModel.Nodes())
      SendMessageW(FList, LB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(compat::Widen(Indent(Node) + Node.Text).c_str()));
    SendMessageW(FList, LB_SETCURSEL, static_cast<WPARAM>(FModel.Selected()), 0);
    ShowState();

    if (Owner) EnableWindow(Owner, FALSE);
    ShowWindow(FWindow, SW_SHOW);
    SetFocus(FList);
    MSG Message;
    while (!FDone) {
      const BOOL Got = GetMessageW(&Message, nullptr, 0, 0);
      if (Got <= 0) {
        if (Got == 0) PostQuitMessage(static_cast<int>(Message.wParam));
        break;
      }
      if (!IsDialogMessageW(FWindow, &Message)) {
        TranslateMessage(&Message);
        DispatchMessageW(&Message);
      }
    }
    if (Owner) EnableWindow(Owner, TRUE);
    DestroyWindow(FWindow);
    return FConfirmed;
  }

  const forms::TProjectTreeModel& Model() const { return FModel; }

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override {
    switch (Message) {
      case WM_COMMAND:
        if (LOWORD(W) == ChooserList && HIWORD(W) == LBN_SELCHANGE) {
          FModel.Select(static_cast<int>(SendMessageW(FList, LB_GETCURSEL, 0, 0)));
          ShowState();
        } else if (LOWORD(W) == ChooserList && HIWORD(W) == LBN_DBLCLK) {
          if (FModel.DoubleClickConfirms()) Close(true);
        } else if (LOWORD(W) == ChooserOk) {
          if (FModel.OkEnabled()) Close(true);
        } else if (LOWORD(W) == ChooserCancel) {
          Close(false);
        }
        return 0;
      case WM_CLOSE:
        Close(false);
        return 0;
      default:
        return DefWindowProcW(Window, Message, W, L);
    }
  }

 private:
  std::string Indent(const forms::TProjectNode& Node) const {
    std::string Spaces;
    for (int P = Node.Parent; P >= 0; P = FModel.Nodes()[static_cast<std::size_t>(P)].Parent)
      Spaces += "    ";
    return Spaces;
  }
  void ShowState() { EnableWindow(FOk, FModel.OkEnabled()); }
  void Close(bool Confirmed) {
    FConfirmed = Confirmed;
    FDone = true;
  }

  forms::TProjectTreeModel FModel;
  HWND FWindow = nullptr, FList = nullptr, FOk = nullptr;
  bool FDone = false, FConfirmed = false;
};

}  // namespace

bool ChooseFromProjectTree(kx::TKxCustomAddon& Addon, const std::string& Caption, std::uint8_t Kind,
                           kx::TKxID& ID) {
  TChooser Chooser(Addon, Kind, ID);
  const bool Confirmed = Chooser.Run(Caption, FormOwner());
  return Chooser.Model().Finish(Confirmed, ID);
}

}  // namespace winui
