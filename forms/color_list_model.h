// What the colour boxes decide: the sixteen standard colours, one item for a
// colour that is none of them, and a last item that asks for any colour.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "trace/editor/style_records.h"

namespace forms {

struct TColorItem {
  trace::TColorRef Color;
  std::string Name;  // UTF-8
  bool Pick;         // the item that asks for a colour
};

class TColorListModel {
 public:
  TColorListModel();

  const std::vector<TColorItem>& Items() const { return FItems; }
  int CurrentIndex() const { return FCurrent; }
  trace::TColorRef Selected() const { return FSelected; }
  // Selects the colour's item; a colour that is not standard goes into the
  // one item kept for it, which is added before the last on first use.
  void SetSelected(trace::TColorRef Color);
  // The user chose an item: a colour item is selected; for the last item
  // true is returned and the view asks the user for a colour, which it then
  // sets (or, when none is given, shows CurrentIndex again).
  bool Activate(int Index);

  // Every change of Selected, by the user or by code.
  std::function<void()> OnChanged;

 private:
  std::vector<TColorItem> FItems;
  trace::TColorRef FSelected = 0;
  int FCurrent = 0;
  int FCustomIndex = -1;
};

}  // namespace forms
