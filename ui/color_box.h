// A drop-down list of colours: the sixteen standard colours, the current
// colour when it is none of them, and a last item that opens the colour
// dialog.
#pragma once

#include <QComboBox>

#include "trace/editor/style_records.h"

namespace ui {

class TColorBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TColorBox(QWidget* Parent = nullptr);

  trace::TColorRef Selected() const { return FSelected; }
  void SetSelected(trace::TColorRef Color);

 signals:
  // Every change of Selected, by the user or by code.
  void Changed();

 private:
  void Activated(int Index);
  int IndexOf(trace::TColorRef Color) const;

  trace::TColorRef FSelected = 0;
  int FCustomIndex = -1;
};

}  // namespace ui
