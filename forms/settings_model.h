// What the settings dialog decides: the 23 drawing settings as the dialog
// holds them (styles and colours in the style grids' models, widths, sizes
// and scales as the texts of their numeric edits), which page shows, which
// edits are enabled, and reading and writing the settings store. The dialog
// shows this state and forwards the user's changes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "addonkit/orvex_calls.h"
#include "forms/style_grid_model.h"

namespace forms {

// The pages in the order of the tree's nodes.
enum TSettingsPage { spVertices, spBufferZone, spTrace };
inline constexpr std::array<const char*, 3> SettingsPageNames = {"Вершины", "Буферная зона",
                                                                 "Трассировка"};

// The numeric edits.
enum TSettingsNumber {
  snBufferZonePenWidth,
  snBufferZonePenForZoomScale,
  snTracePenWidth,
  snTracePenForZoomScale,
  snVertexTraceSize,
  snVertexTraceSizeForZoomScale,
  snVertexTracePenWidth,
  snVertexTracePenWidthForZoomScale,
  SettingsNumberCount
};

// The transparency boxes' items, by index.
inline constexpr std::array<const char*, 2> TransparencyNames = {"Сплошной", "Прозрачный"};

class TSettingsModel {
 public:
  // Pen grids of 6 samples in 3 columns, brush grids of 8 in 4.
  TSettingsModel();

  // Decimal separator of the texts shown for reals.
  void SetLocaleSeparator(char32_t Separator) { FSeparator = Separator; }

  // The selected tree node, and the page it shows (the first node when
  // none is selected).
  int SelectedNode() const { return FNode; }
  void SelectNode(int Node) { FNode = Node; }
  void SelectNode(std::string_view NodeText);
  TSettingsPage Page() const;

  // Pen style and colour; brush style, background and hatch colours and
  // transparency: what the grids show and what is saved.
  TPenStyleGridModel BufferZonePen, TracePen;
  TBrushStyleGridModel BufferZoneBrush, TraceBrush;
  trace::TColorRef VertexTracePenColor = 0;
  trace::TColorRef VertexTraceBackColor = 0;
  // The index of the vertex transparency box.
  int VertexTraceTransparencyIndex = 0;
  // A transparency box's index for a brush, and setting it from the box.
  static int TransparencyIndex(const TBrushStyleGridModel& Brush);
  static void SetTransparencyIndex(TBrushStyleGridModel& Brush, int Index);

  const std::string& NumberText(TSettingsNumber Number) const;
  void SetNumberText(TSettingsNumber Number, std::string_view Text);
  // A pen's width and scale are enabled for the solid style only.
  bool NumberEnabled(TSettingsNumber Number) const;
  static TSettingsPage PageOf(TSettingsNumber Number);

  // All 23 settings from the store, in the store's order (EConvertError
  // for a stored text that is not a number of its kind).
  void Load(const kx::TOrvexApplication& App);
  // Checks that every number would read back, then writes all 23 and asks
  // the host's map view to take them (operation 7). A number that would
  // not read back raises EConvertError with the edit's message before
  // anything is written; its edit is FailedNumber and its page is selected.
  void Save(const kx::TOrvexApplication& App);
  // -1 when the last Save found every number readable.
  int FailedNumber() const { return FFailed; }

  // Live preview, after each change: when every number reads back, writes
  // all 23 and has the map repainted with them; false, writing nothing,
  // when one does not.
  bool Preview(const kx::TOrvexApplication& App);
  // The dialog closed without saving: after a preview, the values stored
  // before it are put back as they were and the map repainted.
  void Revert(const kx::TOrvexApplication& App);

 private:
  bool NumbersReadable(int* Failed) const;
  // The 23 texts to store, in the setting table's order.
  std::vector<std::string> Texts() const;
  void Write(const kx::TOrvexApplication& App) const;
  void WriteChanged(const kx::TOrvexApplication& App, const std::vector<std::string>& Wanted,
                    const std::vector<std::string>* Raw);

  std::array<std::string, SettingsNumberCount> FNumbers;
  // By the setting table's order: the texts as loaded, the store's own
  // texts before the first preview, and what the previews left there.
  std::vector<std::string> FLoaded, FStored, FInStore;
  int FNode = -1;
  int FFailed = -1;
  char32_t FSeparator = U'.';
};

}  // namespace forms
