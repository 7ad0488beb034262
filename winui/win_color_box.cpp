#include "winui/win_color_box.h"

#include "compat/win32_text.h"
#include "winui/win_window.h"

namespace winui {

TWinColorBox::TWinColorBox(HWND Parent, int Id, int X, int Y, int Width) {
  FWindow = CreateControl(
      Parent, L"COMBOBOX", "",
      CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, Id, X, Y,
      Width, 300);
  FModel.OnChanged = [this] {
    if (FByUser && OnChanged) OnChanged();
  };
  ShowModel();
}

void TWinColorBox::ShowModel() {
  const auto& Items = FModel.Items();
  const int Count = static_cast<int>(SendMessageW(FWindow, CB_GETCOUNT, 0, 0));
  if (Count != static_cast<int>(Items.size())) {
    SendMessageW(FWindow, CB_RESETCONTENT, 0, 0);
    for (const forms::TColorItem& Item : Items)
      SendMessageW(FWindow, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(compat::Widen(Item.Name).c_str()));
  }
  SendMessageW(FWindow, CB_SETCURSEL, static_cast<WPARAM>(FModel.CurrentIndex()), 0);
  InvalidateRect(FWindow, nullptr, FALSE);
}

void TWinColorBox::SetSelected(trace::TColorRef Color) {
  FModel.SetSelected(Color);
  ShowModel();
}

void TWinColorBox::Activated(int Index) {
  FByUser = true;
  if (FModel.Activate(Index)) {
    static COLORREF Custom[16] = {};
    CHOOSECOLORW Choose{};
    Choose.lStructSize = sizeof Choose;
    Choose.hwndOwner = GetParent(FWindow);
    Choose.rgbResult = FModel.Selected() & 0xFFFFFF;
    Choose.lpCustColors = Custom;
    Choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&Choose)) FModel.SetSelected(Choose.rgbResult);
  }
  FByUser = false;
  ShowModel();
}

void TWinColorBox::Measure(MEASUREITEMSTRUCT& Item) const {
  Item.itemHeight = 16;
}

void TWinColorBox::Draw(const DRAWITEMSTRUCT& Item) const {
  const bool Selected = (Item.itemState & ODS_SELECTED) != 0;
  const HDC Canvas = Item.hDC;
  SetBkColor(Canvas, GetSysColor(Selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ExtTextOutW(Canvas, 0, 0, ETO_OPAQUE, &Item.rcItem, nullptr, 0, nullptr);
  const auto& Items = FModel.Items();
  if (Item.itemID >= Items.size()) return;
  const forms::TColorItem& Color = Items[Item.itemID];
  RECT Text = Item.rcItem;
  Text.left += 4;
  if (!Color.Pick) {
    const int Top = (Item.rcItem.top + Item.rcItem.bottom - 12) / 2;
    const RECT Swatch{Text.left, Top, Text.left + 16, Top + 12};
    const HBRUSH Brush = CreateSolidBrush(Color.Color & 0xFFFFFF);
    FillRect(Canvas, &Swatch, Brush);
    DeleteObject(Brush);
    FrameRect(Canvas, &Swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Text.left += 22;
  }
  SetTextColor(Canvas, GetSysColor(Selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  SetBkMode(Canvas, TRANSPARENT);
  DrawTextW(Canvas, compat::Widen(Color.Name).c_str(), -1, &Text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (Item.itemState & ODS_FOCUS) DrawFocusRect(Canvas, &Item.rcItem);
}

}  // namespace winui
