// A tree view item's text, UTF-8: for the module's windows and for what
// drives them.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "compat/win32_text.h"

namespace winui {

// Empty for no item.
inline std::string TreeItemText(HWND Tree, HTREEITEM Item) {
  wchar_t Buffer[256] = {};
  TVITEMW Data{};
  Data.mask = TVIF_TEXT;
  Data.hItem = Item;
  Data.pszText = Buffer;
  Data.cchTextMax = 256;
  return Item && TreeView_GetItem(Tree, &Data) ? compat::Narrow(Buffer) : std::string();
}

}  // namespace winui
