#include "winui/win_tree_search.h"

#include <string>
#include <vector>

#include "addonkit/module_state.h"
#include "addonlib/trees/tree_search_model.h"
#include "compat/win32_text.h"
#include "winui/pad_controls.h"
#include "winui/tree_item_text.h"
#include "winui/win_window.h"

namespace winui {

namespace {

constexpr int SearchWidth = 300, SearchHeight = 380;
constexpr UINT_PTR FilterTimer = 1;

// A tree view's items as the search reads them.
class TTreeViewItems final : public kx::ITreeItems {
 public:
  explicit TTreeViewItems(HWND Tree) : FTree(Tree) {}

  void GetText(TItem Item, std::string& Text) const override {
    Text = TreeItemText(FTree, Handle(Item));
  }
  int GetImageIndex(TItem Item) const override {
    TVITEMW Data{};
    Data.mask = TVIF_IMAGE;
    Data.hItem = Handle(Item);
    return Item && TreeView_GetItem(FTree, &Data) ? Data.iImage : -1;
  }
  TItem GetChild(TItem Parent, int Index) const override {
    HTREEITEM Child = First(Parent);
    for (int I = 0; Child && I < Index; ++I) Child = TreeView_GetNextSibling(FTree, Child);
    return Child;
  }
  int GetChildCount(TItem Parent) const override {
    int Count = 0;
    for (HTREEITEM C = First(Parent); C; C = TreeView_GetNextSibling(FTree, C)) ++Count;
    return Count;
  }
  kx::TTreeSourceFlags GetFlags(TItem Item) const override {
    return Item ? kx::tsfInclude | kx::tsfSecond : 0;
  }

 private:
  static HTREEITEM Handle(TItem Item) { return static_cast<HTREEITEM>(Item); }
  HTREEITEM First(TItem Parent) const {
    return Parent ? TreeView_GetChild(FTree, Handle(Parent)) : TreeView_GetRoot(FTree);
  }
  HWND FTree;
};

class TSearch final : public TWinHandler {
 public:
  TSearch(HWND Tree, HIMAGELIST Images) : FItems(Tree), FImages(Images) {
    FModel.Initialize(FItems, "");
  }

  HTREEITEM Run(HWND Owner) {
    FWindow = CreateFormWindow(SearchClassName, "Поиск", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               SearchWidth, SearchHeight, Owner, *this);
    CreateControl(FWindow, L"STATIC", "Фильтр:", SS_LEFT, SearchLabel, 8, 11, 50, 16);
    FFilter = CreateControl(FWindow, L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
                            SearchFilter, 60, 8, 232, 21);
    FTree = CreateControl(FWindow, WC_TREEVIEWW, "",
                          WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS,
                          SearchTree, 8, 36, 284, 302);
    TreeView_SetImageList(FTree, FImages, TVSIL_NORMAL);
    CreateControl(FWindow, L"BUTTON", "ОК", BS_DEFPUSHBUTTON | WS_TABSTOP, ChooserOk, 136, 346, 75,
                  25);
    CreateControl(FWindow, L"BUTTON", "Отмена", BS_PUSHBUTTON | WS_TABSTOP, ChooserCancel, 217, 346,
                  75, 25);
    ShowResults();
    // The arrows and page keys in the filter move through the results.
    RunModal(FWindow, Owner, FFilter, FDone, [this](const MSG& Key) {
      if (Key.hwnd != FFilter || (Key.wParam != VK_UP && Key.wParam != VK_DOWN &&
                                  Key.wParam != VK_PRIOR && Key.wParam != VK_NEXT))
        return false;
      SendMessageW(FTree, WM_KEYDOWN, Key.wParam, Key.lParam);
      return true;
    });
    DestroyWindow(FWindow);
    return FConfirmed ? static_cast<HTREEITEM>(FModel.SelectedRef()) : nullptr;
  }

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override {
    switch (Message) {
      case WM_COMMAND:
        if (LOWORD(W) == SearchFilter && HIWORD(W) == EN_CHANGE) {
          // Each change starts the pause anew.
          if (FModel.FilterChanged(ControlText(FFilter)))
            SetTimer(Window, FilterTimer, static_cast<UINT>(FModel.FilterDelay()), nullptr);
          else
            ShowResults();
        } else if (LOWORD(W) == ChooserOk) {
          Confirm();
        } else if (LOWORD(W) == ChooserCancel) {
          FDone = true;
        }
        return 0;
      case WM_TIMER:
        KillTimer(Window, FilterTimer);
        FModel.Refill();
        ShowResults();
        return 0;
      case WM_NOTIFY: {
        const auto* Note = reinterpret_cast<const NMHDR*>(L);
        if (Note->idFrom == SearchTree && Note->code == TVN_SELCHANGEDW && !FShowing)
          FModel.Select(static_cast<int>(reinterpret_cast<const NMTREEVIEWW*>(L)->itemNew.lParam));
        else if (Note->idFrom == SearchTree && Note->code == NM_DBLCLK)
          Confirm();
        return 0;
      }
      case WM_CLOSE:
        FDone = true;
        return 0;
      default:
        return DefWindowProcW(Window, Message, W, L);
    }
  }

 private:
  void Confirm() {
    if (!FModel.CanConfirm()) {
      MessageBoxW(FWindow, compat::Widen(kx::TTreeSearchModel::NoSelectionMessage).c_str(),
                  compat::Widen(kx::ModuleState().ApplicationTitle).c_str(),
                  MB_OK | MB_ICONINFORMATION);
      return;
    }
    FConfirmed = FDone = true;
  }

  // The model's rows, all expanded, matches bold; the selection shown.
  void ShowResults() {
    FShowing = true;
    SendMessageW(FTree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(FTree);
    const std::vector<kx::TTreeSearchRow>& Rows = FModel.Rows();
    std::vector<HTREEITEM> Items;
    Items.reserve(Rows.size());
    for (std::size_t R = 0; R < Rows.size(); ++R) {
      const std::wstring Text = compat::Widen(Rows[R].Node->Text);
      TVINSERTSTRUCTW Insert{};
      Insert.hParent =
          Rows[R].Parent < 0 ? TVI_ROOT : Items[static_cast<std::size_t>(Rows[R].Parent)];
      Insert.hInsertAfter = TVI_LAST;
      Insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
      Insert.item.pszText = const_cast<wchar_t*>(Text.c_str());
      Insert.item.iImage = Insert.item.iSelectedImage = Rows[R].Node->ImageIndex;
      Insert.item.lParam = static_cast<LPARAM>(R);
      Insert.item.state = Rows[R].Bold ? TVIS_BOLD : 0;
      Insert.item.stateMask = TVIS_BOLD;
      Items.push_back(TreeView_InsertItem(FTree, &Insert));
    }
    for (HTREEITEM Item : Items) TreeView_Expand(FTree, Item, TVE_EXPAND);
    if (const int Selected = FModel.SelectedRow(); Selected >= 0) {
      TreeView_SelectItem(FTree, Items[static_cast<std::size_t>(Selected)]);
      if (FModel.SelectionKept())
        TreeView_EnsureVisible(FTree, Items[static_cast<std::size_t>(Selected)]);
    }
    SendMessageW(FTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FTree, nullptr, TRUE);
    FShowing = false;
  }

  TTreeViewItems FItems;
  HIMAGELIST FImages;
  kx::TTreeSearchModel FModel;
  HWND FWindow = nullptr, FFilter = nullptr, FTree = nullptr;
  bool FDone = false, FConfirmed = false, FShowing = false;
};

}  // namespace

HTREEITEM SearchInTree(HWND Tree, HIMAGELIST Images, HWND Owner) {
  TSearch Search(Tree, Images);
  return Search.Run(Owner);
}

}  // namespace winui
