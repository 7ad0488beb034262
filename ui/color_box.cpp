#include "ui/color_box.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <array>

#include "ui/style_sample.h"

namespace ui {

namespace {

struct TNamedColor {
  trace::TColorRef Color;
  const char* Name;
};

constexpr std::array<TNamedColor, 16> StandardColors = {{
    {0x000000, "Черный"},
    {0x000080, "Темно-бордовый"},
    {0x008000, "Зеленый"},
    {0x008080, "Оливковый"},
    {0x800000, "Темно-синий"},
    {0x800080, "Фиолетовый"},
    {0x808000, "Сине-зеленый"},
    {0x808080, "Серый"},
    {0xC0C0C0, "Серебристый"},
    {0x0000FF, "Красный"},
    {0x00FF00, "Ярко-зеленый"},
    {0x00FFFF, "Желтый"},
    {0xFF0000, "Синий"},
    {0xFF00FF, "Фуксия"},
    {0xFFFF00, "Голубой"},
    {0xFFFFFF, "Белый"},
}};

constexpr int ColorRole = Qt::UserRole;
const char* const CustomName = "Другой";
const char* const PickName = "Другой...";

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
  for (const TNamedColor& C : StandardColors)
    addItem(Swatch(C.Color), QString::fromUtf8(C.Name), static_cast<uint>(C.Color));
  addItem(QString::fromUtf8(PickName));
  setCurrentIndex(0);
  connect(this, &QComboBox::activated, this, &TColorBox::Activated);
}

int TColorBox::IndexOf(trace::TColorRef Color) const {
  for (int I = 0; I < count(); ++I) {
    const QVariant V = itemData(I, ColorRole);
    if (V.isValid() && V.toUInt() == Color) return I;
  }
  return -1;
}

void TColorBox::SetSelected(trace::TColorRef Color) {
  Color &= 0xFFFFFF;
  int Index = IndexOf(Color);
  if (Index < 0) {
    // One item holds the colour that is not standard.
    if (FCustomIndex < 0) {
      FCustomIndex = count() - 1;
      insertItem(FCustomIndex, QString::fromUtf8(CustomName));
    }
    setItemIcon(FCustomIndex, Swatch(Color));
    setItemData(FCustomIndex, static_cast<uint>(Color), ColorRole);
    Index = FCustomIndex;
  }
  setCurrentIndex(Index);
  const bool Change = Color != FSelected;
  FSelected = Color;
  if (Change) emit Changed();
}

void TColorBox::Activated(int Index) {
  const QVariant V = itemData(Index, ColorRole);
  if (V.isValid()) {
    SetSelected(V.toUInt());
    return;
  }
  const QColor Picked = QColorDialog::getColor(ColorFromRef(FSelected), this);
  if (Picked.isValid())
    SetSelected(ColorToRef(Picked));
  else
    setCurrentIndex(IndexOf(FSelected));
}

}  // namespace ui
