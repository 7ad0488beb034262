// A style grid as a native control: the cells of a forms::TStyleGridModel,
// each with its sample drawn through GDI; clicks and arrow keys go to the
// model, which moves the selection.
#pragma once

#include <windows.h>

#include <functional>

#include "forms/style_grid_model.h"
#include "winui/win_window.h"

namespace winui {

class TWinStyleGrid final : public TWinHandler {
 public:
  // A child of Parent showing Model, which outlives the control's use.
  TWinStyleGrid(HWND Parent, int Id, RECT Bounds, forms::TStyleGridModel& Model);
  ~TWinStyleGrid();
  TWinStyleGrid(const TWinStyleGrid&) = delete;
  TWinStyleGrid& operator=(const TWinStyleGrid&) = delete;

  HWND Window() const { return FWindow; }
  // Draws the whole control into Canvas, Width x Height pixels.
  void Paint(HDC Canvas, int Width, int Height) const;

  // The selection changed.
  std::function<void()> OnChanged;

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override;

 private:
  void DrawCell(HDC Canvas, int Col, int Row, int Width, int Height) const;
  void DrawSample(HDC Canvas, int Index, const RECT& Rect) const;

  forms::TStyleGridModel& FModel;
  HWND FWindow = nullptr;
};

}  // namespace winui
