// The native settings dialog's window classes and control IDs: the dialog's
// own code uses them, and a host or test that drives the dialog finds its
// controls by them.
#pragma once

namespace winui {

inline constexpr wchar_t SettingsClassName[] = L"TSettingsForm";
inline constexpr wchar_t StyleGridClassName[] = L"TStyleGrid";

// The list of the pages' names, as the tree's nodes.
inline constexpr int SettingsTree = 3000;
// "Закрыть" saves and closes; Escape and the close box close without saving.
inline constexpr int SettingsClose = 1;   // IDOK
inline constexpr int SettingsCancel = 2;  // IDCANCEL

// The numeric edits: SettingsNumberBase plus forms::TSettingsNumber.
inline constexpr int SettingsNumberBase = 3100;

// The colour boxes: SettingsColorBase plus their number.
enum TSettingsColorBox {
  scBufferZonePen,
  scBufferZoneBack,
  scBufferZoneHatch,
  scTracePen,
  scTraceBack,
  scTraceHatch,
  scVertexPen,
  scVertexBack,
  SettingsColorCount
};
inline constexpr int SettingsColorBase = 3200;

// The transparency boxes of the zone's, the trace's and the vertices' fill.
inline constexpr int SettingsBufferZoneTransparency = 3300;
inline constexpr int SettingsTraceTransparency = 3301;
inline constexpr int SettingsVertexTransparency = 3302;

// The style grids.
inline constexpr int SettingsBufferZonePenGrid = 3400;
inline constexpr int SettingsBufferZoneBrushGrid = 3401;
inline constexpr int SettingsTracePenGrid = 3402;
inline constexpr int SettingsTraceBrushGrid = 3403;

}  // namespace winui
