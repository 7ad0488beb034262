// Grids of style samples, views of the style grid models: they draw the
// cells and samples the model describes and pass clicks and arrow keys to
// it. A grid owns its model unless it is attached to one held elsewhere
// (the settings dialog's).
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "forms/style_grid_model.h"

class QPainter;

namespace ui {

using forms::TWrapStyle;
using forms::wrHorVer;
using forms::wrVerHor;

class TStyleGrid : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
  Q_PROPERTY(int StyleIndex READ StyleIndex WRITE SetStyleIndex)

 public:
  explicit TStyleGrid(QWidget* Parent = nullptr);
  ~TStyleGrid() override;

  forms::TStyleGridModel& Model() const { return *FModel; }

  int Count() const { return FModel->Count(); }
  void SetCount(int Value) { FModel->SetCount(Value); }
  int ColCount() const { return FModel->ColCount(); }
  void SetColCount(int Value) { FModel->SetColCount(Value); }
  int StyleIndex() const { return FModel->StyleIndex(); }
  void SetStyleIndex(int Value) { FModel->SetStyleIndex(Value); }
  QRect CellRect(int Col, int Row) const;

  // Raised whenever the selection changes, and at every selection by the user.
  std::function<void(TStyleGrid* Sender)> OnChanged;
  // Draws one sample when the model describes none.
  std::function<void(QPainter& aCanvas, int aStyleIndex, const QRect& aRect)> OnDrawStyle;

  QSize sizeHint() const override { return {120, 48}; }

 protected:
  // The grid shows Model (or Own, which it keeps) from now on; the Count and
  // ColCount that a form set so far carry over to a Model given.
  void Attach(forms::TStyleGridModel* Model, std::unique_ptr<forms::TStyleGridModel> Own);
  virtual void DrawStyle(QPainter& Canvas, int Index, const QRect& Rect);

  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void changeEvent(QEvent* Event) override;

 private:
  void DrawCell(QPainter& Canvas, int Col, int Row);

  std::unique_ptr<forms::TStyleGridModel> FOwn;
  forms::TStyleGridModel* FModel = nullptr;
};

class TBrushStyleGrid : public TStyleGrid {
  Q_OBJECT

 public:
  explicit TBrushStyleGrid(QWidget* Parent = nullptr);
  forms::TBrushStyleGridModel& Model() const;
  void Attach(forms::TBrushStyleGridModel& Model) { TStyleGrid::Attach(&Model, nullptr); }
};

class TPenStyleGrid : public TStyleGrid {
  Q_OBJECT

 public:
  explicit TPenStyleGrid(QWidget* Parent = nullptr);
  forms::TPenStyleGridModel& Model() const;
  void Attach(forms::TPenStyleGridModel& Model) { TStyleGrid::Attach(&Model, nullptr); }
};

}  // namespace ui
