// The native trace pad's window class and control IDs: the pad's own code
// uses them, and a host or test that drives the pad finds its controls by
// them.
#pragma once

namespace winui {

inline constexpr wchar_t PadClassName[] = L"TTracePadForm";
inline constexpr wchar_t ChooserClassName[] = L"TProjectTreeForm";
inline constexpr wchar_t SearchClassName[] = L"TSearchInTreeForm";

// The tool bar, and its buttons' commands: PadActionBase plus the action's
// number.
inline constexpr int PadToolBar = 999;
inline constexpr int PadActionBase = 1000;
inline constexpr int PadCheckTraceOn = 1100;
inline constexpr int PadCheckAlong = 1101;
inline constexpr int PadCheckCloseBy = 1102;
inline constexpr int PadStyleLabel = 1200;
inline constexpr int PadWidthLabel = 1201;
inline constexpr int PadWidthEdit = 1202;
inline constexpr int PadProgressLabel = 1203;

inline constexpr int ChooserLabel = 2000;
inline constexpr int ChooserTree = 2001;
inline constexpr int ChooserOk = 1;      // IDOK, also the search's
inline constexpr int ChooserCancel = 2;  // IDCANCEL, also the search's

inline constexpr int SearchLabel = 2100;
inline constexpr int SearchFilter = 2101;
inline constexpr int SearchTree = 2102;

}  // namespace winui
