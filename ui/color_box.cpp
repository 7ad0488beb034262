#include "ui/color_box.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include "ui/style_sample.h"

namespace ui {

namespace {

QIcon Swatch(trace::TColorRef Color) {
  QPixmap Pixmap(16, 12);
  Pixmap.fill(ColorFromRef(Color));
  QPainter Canvas(&Pixmap);
  Canvas.setPen(Qt::black);
  Canvas.drawRect(0, 0, 15, 11);
  return QIcon(Pixmap);
}

}  // namespace

TColorBox::TColorBox(QWidget* Parent) : QComboBox(Parent) {
  FModel.OnChanged = [this] { emit Changed(); };
  ShowModel();
  connect(this, &QComboBox::activated, this, &TColorBox::Activated);
}

void TColorBox::ShowModel() {
  const QSignalBlocker Block(this);
  const auto& Items = FModel.Items();
  for (int I = 0; I < static_cast<int>(Items.size()); ++I) {
    const forms::TColorItem& Item = Items[static_cast<std::size_t>(I)];
    const QString Name = QString::fromStdString(Item.Name);
    if (I >= count())
      addItem(Name);
    else if (itemText(I) != Name)
      insertItem(I, Name);
    setItemIcon(I, Item.Pick ? QIcon() : Swatch(Item.Color));
  }
  setCurrentIndex(FModel.CurrentIndex());
}

void TColorBox::SetSelected(trace::TColorRef Color) {
  FModel.SetSelected(Color);
  ShowModel();
}

void TColorBox::Activated(int Index) {
  if (!FModel.Activate(Index)) {
    ShowModel();
    return;
  }
  const QColor Picked = QColorDialog::getColor(ColorFromRef(FModel.Selected()), this);
  if (Picked.isValid()) FModel.SetSelected(ColorToRef(Picked));
  ShowModel();
}

}  // namespace ui
