#include "winhost/pad_driver.h"

#include <commctrl.h>

#include <stdexcept>

#include "compat/win32_text.h"
#include "winui/pad_controls.h"
#include "winui/tree_item_text.h"

namespace winhost {

namespace {

// What the next chooser is to do: pick the node shown with Text, directly
// or, with a Filter, through the tree search (Ctrl+F, the filter typed, the
// match picked among the results).
struct TPick {
  std::string Text, Filter;
  int Stage = 0;
  DWORD Since = 0;
  bool Done = false, SearchBold = false;
};
TPick Pick;
std::string MessageBoxText;

std::string WindowText(HWND Window) {
  const int Length = GetWindowTextLengthW(Window);
  std::wstring Text(static_cast<std::size_t>(Length) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(Window, Text.data(), Length + 1)));
  return compat::Narrow(Text);
}

// A message box of this thread: its text is kept and the box closed, so
// that a run never hangs on it.
BOOL CALLBACK CloseMessageBox(HWND Window, LPARAM) {
  wchar_t Class[16] = {};
  GetClassNameW(Window, Class, 16);
  if (std::wstring(Class) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
  for (HWND Child = GetWindow(Window, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT)) {
    GetClassNameW(Child, Class, 16);
    if (std::wstring(Class) == L"Static" && GetWindowTextLengthW(Child) > 0)
      MessageBoxText = WindowText(Child);
  }
  PostMessageW(Window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

// The first item shown with Text, in tree order from Item on.
HTREEITEM FindTreeItem(HWND Tree, HTREEITEM Item, const std::string& Text) {
  for (; Item; Item = TreeView_GetNextSibling(Tree, Item)) {
    if (winui::TreeItemText(Tree, Item) == Text) return Item;
    if (const HTREEITEM Found = FindTreeItem(Tree, TreeView_GetChild(Tree, Item), Text))
      return Found;
  }
  return nullptr;
}

void SetControlKey(bool Down) {
  BYTE Keys[256];
  GetKeyboardState(Keys);
  Keys[VK_CONTROL] = Down ? 0x80 : 0;
  SetKeyboardState(Keys);
}

std::string SelectedText(HWND Tree) {
  return winui::TreeItemText(Tree, TreeView_GetSelection(Tree));
}

void Confirm(HWND Chooser, bool Picked) {
  if (Picked) {
    if (const wchar_t* Shot = _wgetenv(L"TRACE_WINTEST_CHOOSER_IMAGE"))
      SaveWindowImage(Chooser, Shot);
  }
  Pick.Done = Picked;
  SendMessageW(GetDlgItem(Chooser, Picked ? winui::ChooserOk : winui::ChooserCancel), BM_CLICK, 0,
               0);
  Pick.Text.clear();
}

// One step of the search, inside the chooser's and then the search's
// modal loop.
void SearchStep(HWND Chooser, HWND Tree) {
  const HWND Search = FindWindowW(winui::SearchClassName, nullptr);
  switch (Pick.Stage) {
    case 0:  // Ctrl+F in the chooser
      SetControlKey(true);
      PostMessageW(Tree, WM_KEYDOWN, 'F', 1);
      Pick.Stage = 1;
      return;
    case 1:  // the search shows: the filter typed
      if (!Search || !IsWindowVisible(Search)) return;
      SetControlKey(false);
      SetWindowTextW(GetDlgItem(Search, winui::SearchFilter), compat::Widen(Pick.Filter).c_str());
      Pick.Since = GetTickCount();
      Pick.Stage = 2;
      return;
    case 2: {  // after the filter's pause: the match, bold, picked
      if (GetTickCount() - Pick.Since < 400) return;
      const HWND Results = GetDlgItem(Search, winui::SearchTree);
      const HTREEITEM Item = FindTreeItem(Results, TreeView_GetRoot(Results), Pick.Text);
      Pick.SearchBold = Item && (TreeView_GetItemState(Results, Item, TVIS_BOLD) & TVIS_BOLD);
      if (Item) TreeView_SelectItem(Results, Item);
      if (const wchar_t* Shot = _wgetenv(L"TRACE_WINTEST_SEARCH_IMAGE"))
        SaveWindowImage(Search, Shot);
      SendMessageW(GetDlgItem(Search, Item ? winui::ChooserOk : winui::ChooserCancel), BM_CLICK, 0,
                   0);
      Pick.Stage = 3;
      return;
    }
    default:  // back in the chooser: its selection is the search's result
      if (Search && IsWindowVisible(Search)) return;
      Confirm(Chooser, SelectedText(Tree) == Pick.Text);
  }
}

// Runs inside the modal loops of the chooser, the search and message boxes.
void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &CloseMessageBox, 0);
  if (Pick.Text.empty()) return;
  const HWND Chooser = FindWindowW(winui::ChooserClassName, nullptr);
  if (!Chooser || !IsWindowVisible(Chooser)) return;
  const HWND Tree = GetDlgItem(Chooser, winui::ChooserTree);
  if (!Pick.Filter.empty()) return SearchStep(Chooser, Tree);
  const HTREEITEM Item = FindTreeItem(Tree, TreeView_GetRoot(Tree), Pick.Text);
  // Selecting the item notifies the chooser as a click would.
  if (Item) TreeView_SelectItem(Tree, Item);
  Confirm(Chooser, Item != nullptr);
}

}  // namespace

HWND TPadDriver::FindPad() {
  return FindWindowW(winui::PadClassName, nullptr);
}

HWND TPadDriver::Control(int Id) const {
  const HWND C = GetDlgItem(FPad, Id);
  if (!C) throw std::runtime_error("the pad has no control " + std::to_string(Id));
  return C;
}

bool TPadDriver::Enabled(forms::TPadAction Action) const {
  return SendMessageW(Control(winui::PadToolBar), TB_ISBUTTONENABLED,
                      winui::PadActionBase + static_cast<int>(Action), 0) != 0;
}

// A press and release of the left button over the tool bar's button.
void TPadDriver::Click(forms::TPadAction Action) {
  if (!Enabled(Action))
    throw std::runtime_error(std::string("the pad's button is disabled: ") +
                             forms::PadActionText(Action).Caption);
  MessageBoxText.clear();
  const HWND Bar = Control(winui::PadToolBar);
  RECT R{};
  if (!SendMessageW(Bar, TB_GETRECT, winui::PadActionBase + static_cast<int>(Action),
                    reinterpret_cast<LPARAM>(&R)))
    throw std::runtime_error("the tool bar has no such button");
  const LPARAM At = MAKELPARAM((R.left + R.right) / 2, (R.top + R.bottom) / 2);
  SendMessageW(Bar, WM_LBUTTONDOWN, MK_LBUTTON, At);
  SendMessageW(Bar, WM_LBUTTONUP, 0, At);
}

void TPadDriver::TypeWidth(const std::string& Text) {
  SetWindowTextW(Control(winui::PadWidthEdit), compat::Widen(Text).c_str());
}

bool TPadDriver::TraceOnEnabled() const {
  return IsWindowEnabled(Control(winui::PadCheckTraceOn)) != FALSE;
}

void TPadDriver::TickTraceOn() {
  SendMessageW(Control(winui::PadCheckTraceOn), BM_CLICK, 0, 0);
}

std::string TPadDriver::StyleLine() const {
  return WindowText(Control(winui::PadStyleLabel));
}

TPadDriver::TPadDriver(HWND Pad) : FPad(Pad) {
  SetTimer(nullptr, 0, 30, &Watch);
}

void TPadDriver::PickInNextChooser(const std::string& Text, const std::string& Filter) {
  Pick = TPick{Text, Filter};
}

bool TPadDriver::Picked() const {
  return Pick.Done;
}

bool TPadDriver::SearchShowedBold() const {
  return Pick.SearchBold;
}

bool TPadDriver::SaveImage(const std::wstring& Path) const {
  return SaveWindowImage(FPad, Path);
}

bool SaveWindowImage(HWND Window, const std::wstring& Path) {
  RECT R;
  if (!GetWindowRect(Window, &R)) return false;
  RedrawWindow(Window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  const int W = R.right - R.left, H = R.bottom - R.top;
  const HDC Screen = GetDC(nullptr);
  const HDC Memory = CreateCompatibleDC(Screen);
  BITMAPINFOHEADER Header{sizeof(BITMAPINFOHEADER), W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  const HBITMAP Image = CreateDIBSection(Screen, reinterpret_cast<BITMAPINFO*>(&Header),
                                         DIB_RGB_COLORS, &Bits, nullptr, 0);
  const HGDIOBJ Old = SelectObject(Memory, Image);
  const bool Copied = BitBlt(Memory, 0, 0, W, H, Screen, R.left, R.top, SRCCOPY) != FALSE;
  SelectObject(Memory, Old);
  const DWORD Size = static_cast<DWORD>(((W * 3 + 3) / 4) * 4 * H);
  const BITMAPFILEHEADER File{0x4D42,
                              static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof Header + Size),
                              0, 0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof Header)};
  bool Written = false;
  if (Copied && Bits) {
    const HANDLE Out = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (Out != INVALID_HANDLE_VALUE) {
      DWORD N = 0;
      Written = WriteFile(Out, &File, sizeof File, &N, nullptr) &&
                WriteFile(Out, &Header, sizeof Header, &N, nullptr) &&
                WriteFile(Out, Bits, Size, &N, nullptr);
      CloseHandle(Out);
    }
  }
  DeleteObject(Image);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
  return Written;
}

const std::string& TPadDriver::LastMessageBox() {
  return MessageBoxText;
}

}  // namespace winhost
