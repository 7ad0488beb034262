// A drop-down list of colours, a view of the colour list model: it shows
// the model's items and passes the user's choice to it; the last item asks
// for a colour with the colour dialog.
#pragma once

#include <QComboBox>

#include "forms/color_list_model.h"

namespace ui {

class TColorBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TColorBox(QWidget* Parent = nullptr);

  const forms::TColorListModel& Model() const { return FModel; }
  trace::TColorRef Selected() const { return FModel.Selected(); }
  void SetSelected(trace::TColorRef Color);

 signals:
  // Every change of Selected, by the user or by code.
  void Changed();

 private:
  void Activated(int Index);
  void ShowModel();

  forms::TColorListModel FModel;
};

}  // namespace ui
