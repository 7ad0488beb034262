// Grids of style samples: a pen or brush style is picked by clicking its
// sample. Samples fill the cells row by row (wrHorVer) or column by column
// (wrVerHor); cells share the control's size evenly.
#pragma once

#include <QWidget>
#include <functional>

#include "trace/editor/style_records.h"

class QPainter;

namespace ui {

enum TWrapStyle { wrHorVer, wrVerHor };

class TStyleGrid : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
  Q_PROPERTY(int StyleIndex READ StyleIndex WRITE SetStyleIndex)

 public:
  explicit TStyleGrid(QWidget* Parent = nullptr);

  int Count() const { return FCount; }
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
  QRect CellRect(int Col, int Row) const;

  // Raised whenever the selection changes, and at every selection by the user.
  std::function<void(TStyleGrid* Sender)> OnChanged;
  // Draws one sample when a descendant does not.
  std::function<void(QPainter& aCanvas, int aStyleIndex, const QRect& aRect)> OnDrawStyle;

  QSize sizeHint() const override { return {120, 48}; }

 protected:
  virtual void DrawStyle(QPainter& Canvas, int Index, const QRect& Rect);
  // Sets a field that the samples are drawn with.
  template <class T>
  void Repaint(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    update();
  }

  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void changeEvent(QEvent* Event) override;

 private:
  void DrawCell(QPainter& Canvas, int Col, int Row);
  void SelectByUser(int Index);
  void Changed();

  int FCount = 1;
  int FColCount = 1;
  TWrapStyle FWrapStyle = wrHorVer;
  int FStyleIndex = 0;
};

// Samples: clear, solid, horizontal, vertical, forward diagonal, backward
// diagonal, cross, diagonal cross.
class TBrushStyleGrid : public TStyleGrid {
  Q_OBJECT

 public:
  explicit TBrushStyleGrid(QWidget* Parent = nullptr);

  // The brush style of the selected sample; clear when none is selected.
  int Style() const;
  // A style without a sample leaves the selection as it is.
  void SetStyle(int Value);
  trace::TColorRef BackColor() const { return FBackColor; }
  void SetBackColor(trace::TColorRef Value);
  trace::TColorRef HatchColor() const { return FHatchColor; }
  void SetHatchColor(trace::TColorRef Value);
  bool Transparency() const { return FTransparency; }
  void SetTransparency(bool Value);

  static int SampleStyle(int Index);

 protected:
  void DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) override;

 private:
  trace::TColorRef FBackColor = 0xFFFFFF;
  trace::TColorRef FHatchColor = 0;
  bool FTransparency = false;
};

// Samples: clear, dash, dot, dash-dot, dash-dot-dot, solid. Always six, what
// a form says notwithstanding.
class TPenStyleGrid : public TStyleGrid {
  Q_OBJECT

 public:
  explicit TPenStyleGrid(QWidget* Parent = nullptr);

  void SetCount(int Value) override;
  // The pen style of the selected sample; clear when none is selected.
  int Style() const;
  // Inside frame counts as solid; a style without a sample leaves the
  // selection as it is.
  void SetStyle(int Value);
  trace::TColorRef Color() const { return FColor; }
  void SetColor(trace::TColorRef Value);

  static int SampleStyle(int Index);

 protected:
  void DrawStyle(QPainter& Canvas, int Index, const QRect& Rect) override;

 private:
  trace::TColorRef FColor = 0;
};

}  // namespace ui
