// The tree search as a native modal window: a view of kx::TTreeSearchModel
// over any tree view. The filter's words narrow the tree; matches show bold
// with their ancestors, refilled a moment after the last change.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

namespace winui {

// Searches Tree (its icons from Images) in a window owned by Owner; the
// chosen item of Tree, or none when the user cancelled.
HTREEITEM SearchInTree(HWND Tree, HIMAGELIST Images, HWND Owner);

}  // namespace winui
