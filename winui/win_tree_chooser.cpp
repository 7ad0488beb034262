#include "winui/win_tree_chooser.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <vector>

#include "compat/module_file.h"
#include "compat/win32_text.h"
#include "forms/tree_chooser_model.h"
#include "winui/pad_controls.h"
#include "winui/win_tree_search.h"
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
    FTree = CreateControl(FWindow, WC_TREEVIEWW, "",
                          WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS,
                          ChooserTree, 8, 28, 284, 286);
    FOk = CreateControl(FWindow, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, ChooserOk, 136,
                        324, 75, 25);
    CreateControl(FWindow, L"BUTTON", "Отмена", BS_PUSHBUTTON | WS_TABSTOP, ChooserCancel, 217, 324,
                  75, 25);
    FillTree();
    ShowState();

    // Ctrl+F searches the tree.
    RunModal(FWindow, Owner, FTree, FDone, [this](const MSG& Key) {
      if (Key.wParam != 'F' || GetKeyState(VK_CONTROL) >= 0) return false;
      if (const HTREEITEM Found = SearchInTree(FTree, FImages, FWindow)) {
        TreeView_SelectItem(FTree, Found);
        TreeView_EnsureVisible(FTree, Found);
      }
      return true;
    });
    DestroyWindow(FWindow);
    ImageList_Destroy(FImages);
    return FConfirmed;
  }

  const forms::TProjectTreeModel& Model() const { return FModel; }

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override {
    switch (Message) {
      case WM_NOTIFY: {
        const auto* Note = reinterpret_cast<const NMHDR*>(L);
        if (Note->idFrom != ChooserTree) return 0;
        if (Note->code == TVN_SELCHANGEDW) {
          FModel.Select(static_cast<int>(reinterpret_cast<const NMTREEVIEWW*>(L)->itemNew.lParam));
          ShowState();
        } else if (Note->code == NM_DBLCLK && FModel.DoubleClickConfirms()) {
          Close(true);
        }
        return 0;
      }
      case WM_COMMAND:
        if (LOWORD(W) == ChooserOk) {
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
  // The model's nodes in tree order, each under its parent, with the icon
  // of its kind; the preselected node selected and shown.
  void FillTree() {
    FImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    for (const wchar_t* Name : {L"NODE_MAP", L"NODE_LAYER", L"NODE_STYLE"}) {
      const auto Image =
          static_cast<HBITMAP>(LoadImageW(static_cast<HINSTANCE>(compat::ModuleInstance()), Name,
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
      ImageList_AddMasked(FImages, Image, RGB(192, 192, 192));
      if (Image) DeleteObject(Image);
    }
    TreeView_SetImageList(FTree, FImages, TVSIL_NORMAL);
    std::vector<HTREEITEM> Items;
    for (const forms::TProjectNode& Node : FModel.Nodes()) {
      const std::wstring Text = compat::Widen(Node.Text);
      TVINSERTSTRUCTW Insert{};
      Insert.hParent = Node.Parent < 0 ? TVI_ROOT : Items[static_cast<std::size_t>(Node.Parent)];
      Insert.hInsertAfter = TVI_LAST;
      Insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
      Insert.item.pszText = const_cast<wchar_t*>(Text.c_str());
      Insert.item.iImage = Insert.item.iSelectedImage = Node.ImageIndex();
      Insert.item.lParam = static_cast<LPARAM>(Items.size());
      Items.push_back(TreeView_InsertItem(FTree, &Insert));
    }
    for (HTREEITEM Item : Items) TreeView_Expand(FTree, Item, TVE_EXPAND);
    const int Selected = FModel.Selected();
    if (Selected >= 0) {
      TreeView_SelectItem(FTree, Items[static_cast<std::size_t>(Selected)]);
      TreeView_EnsureVisible(FTree, Items[static_cast<std::size_t>(Selected)]);
    }
  }
  void ShowState() { EnableWindow(FOk, FModel.OkEnabled()); }
  void Close(bool Confirmed) {
    FConfirmed = Confirmed;
    FDone = true;
  }

  forms::TProjectTreeModel FModel;
  HWND FWindow = nullptr, FTree = nullptr, FOk = nullptr;
  HIMAGELIST FImages = nullptr;
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
