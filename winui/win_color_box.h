// A colour box as a native drop-down list: the items of a
// forms::TColorListModel with a swatch each; its last item asks for any
// colour through the system's colour dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "forms/color_list_model.h"

namespace winui {

class TWinColorBox {
 public:
  TWinColorBox(HWND Parent, int Id, int X, int Y, int Width);

  HWND Window() const { return FWindow; }
  trace::TColorRef Selected() const { return FModel.Selected(); }
  void SetSelected(trace::TColorRef Color);
  // The user chose the item Index (the box's selection change).
  void Activated(int Index);
  // The parent's owner-draw messages for this box.
  void Measure(MEASUREITEMSTRUCT& Item) const;
  void Draw(const DRAWITEMSTRUCT& Item) const;

  // The user changed the colour.
  std::function<void()> OnChanged;

 private:
  void ShowModel();

  forms::TColorListModel FModel;
  HWND FWindow = nullptr;
  bool FByUser = false;
};

}  // namespace winui
