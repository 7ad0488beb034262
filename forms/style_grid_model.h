// What the style grids decide: where each sample sits in the rows and
// columns, which sample is selected and how the user's clicks and arrow
// keys move the selection, how each cell looks and what its sample shows.
// The grid controls draw what the model describes.
#pragma once

#include <functional>
#include <string>

#include "trace/editor/style_records.h"

namespace forms {

// Samples run along rows (wrHorVer) or down columns (wrVerHor).
enum TWrapStyle { wrHorVer, wrVerHor };

// A cell's rectangle in the control, pixels.
struct TCellRect {
  int Left, Top, Width, Height;
  friend bool operator==(const TCellRect&, const TCellRect&) = default;
};

// Frames of a cell: none (a cell without a sample is filled with the window
// colour), disabled (no sample), an unselected or the selected sample.
enum class TCellLook { Empty, Disabled, Normal, Selected };

// What a sample shows: a centred text (Label) (in the sample's colour or the window
// text colour), an area filled with Brush, or a line across the middle
// drawn with Pen.
struct TSampleLook {
  enum TKind { None, Label, Fill, Line } Kind = None;
  std::string Text;
  bool TextInPenColor = false;
  trace::TPenRecord Pen;
  trace::TBrushRecord Brush;
};

class TStyleGridModel {
 public:
  virtual ~TStyleGridModel() = default;

  int Count() const { return FCount; }
  // Lowers ColCount to Count; a selection beyond the samples goes.
  virtual void SetCount(int Value);
  int ColCount() const { return FColCount; }
  // Ignored above Count.
  void SetColCount(int Value);
  int RowCount() const { return FColCount < 1 ? 0 : (FCount - 1) / FColCount + 1; }
  TWrapStyle WrapStyle() const { return FWrapStyle; }
  void SetWrapStyle(TWrapStyle Value);
  // -1 when no sample is selected; an index outside the samples selects none.
  int StyleIndex() const { return FStyleIndex; }
  void SetStyleIndex(int Value);

  // The sample of a cell, -1 for a cell outside the grid; it may be Count or
  // more, a cell without a sample.
  int CellIndex(int Col, int Row) const;
  // The cell of a sample; false when the index is outside the samples.
  bool SampleCell(int Index, int& Col, int& Row) const;
  // Cells share a control of Width x Height evenly.
  TCellRect CellRect(int Col, int Row, int Width, int Height) const;
  TCellLook CellLook(int Col, int Row, bool Enabled) const;

  // The user's input: a left or right click at X, Y of a Width x Height
  // control, and an arrow key as a step of a column or a row. A cell
  // without a sample is not selected.
  void Click(int X, int Y, int Width, int Height);
  void Step(int Cols, int Rows);

  virtual TSampleLook Sample(int Index) const;

  // Raised whenever the selection changes, and at every selection by the
  // user.
  std::function<void()> OnChanged;
  // Something that the cells show changed.
  std::function<void()> OnRepaint;

 protected:
  void Repaint() const {
    if (OnRepaint) OnRepaint();
  }
  template <class T>
  void SetShown(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
  }

 private:
  void SelectByUser(int Index);
  void Changed();

  int FCount = 1;
  int FColCount = 1;
  TWrapStyle FWrapStyle = wrHorVer;
  int FStyleIndex = 0;
};

// Samples: clear, solid, horizontal, vertical, forward diagonal, backward
// diagonal, cross, diagonal cross.
class TBrushStyleGridModel : public TStyleGridModel {
 public:
  TBrushStyleGridModel();

  // The brush style of the selected sample; clear when none is selected.
  int Style() const;
  // A style without a sample leaves the selection as it is.
  void SetStyle(int Value);
  trace::TColorRef BackColor() const { return FBackColor; }
  void SetBackColor(trace::TColorRef Value) { SetShown(FBackColor, Value); }
  trace::TColorRef HatchColor() const { return FHatchColor; }
  void SetHatchColor(trace::TColorRef Value) { SetShown(FHatchColor, Value); }
  bool Transparency() const { return FTransparency; }
  void SetTransparency(bool Value) { SetShown(FTransparency, Value); }

  // The brush style of a sample, -1 for none.
  static int SampleStyle(int Index);
  TSampleLook Sample(int Index) const override;

 private:
  trace::TColorRef FBackColor = 0xFFFFFF;
  trace::TColorRef FHatchColor = 0;
  bool FTransparency = false;
};

// Samples: clear, dash, dot, dash-dot, dash-dot-dot, solid. Always six, what
// a form says notwithstanding.
class TPenStyleGridModel : public TStyleGridModel {
 public:
  TPenStyleGridModel();

  void SetCount(int Value) override;
  // The pen style of the selected sample; clear when none is selected.
  int Style() const;
  // Inside frame counts as solid; a style without a sample leaves the
  // selection as it is.
  void SetStyle(int Value);
  trace::TColorRef Color() const { return FColor; }
  void SetColor(trace::TColorRef Value) { SetShown(FColor, Value); }

  static int SampleStyle(int Index);
  TSampleLook Sample(int Index) const override;

 private:
  trace::TColorRef FColor = 0;
};

}  // namespace forms
