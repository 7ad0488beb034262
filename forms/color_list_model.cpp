#include "forms/color_list_model.h"

#include <array>

namespace forms {

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

constexpr char CustomName[] = "Другой";
constexpr char PickName[] = "Другой...";

}  // namespace

TColorListModel::TColorListModel() {
  for (const TNamedColor& C : StandardColors) FItems.push_back({C.Color, C.Name, false});
  FItems.push_back({0, PickName, true});
}

void TColorListModel::SetSelected(trace::TColorRef Color) {
  Color &= 0xFFFFFF;
  int Index = -1;
  for (int I = 0; I < static_cast<int>(FItems.size()) && Index < 0; ++I)
    if (!FItems[static_cast<std::size_t>(I)].Pick &&
        FItems[static_cast<std::size_t>(I)].Color == Color)
      Index = I;
  if (Index < 0) {
    if (FCustomIndex < 0) {
      FCustomIndex = static_cast<int>(FItems.size()) - 1;
      FItems.insert(FItems.begin() + FCustomIndex, {Color, CustomName, false});
    }
    FItems[static_cast<std::size_t>(FCustomIndex)].Color = Color;
    Index = FCustomIndex;
  }
  FCurrent = Index;
  const bool Change = Color != FSelected;
  FSelected = Color;
  if (Change && OnChanged) OnChanged();
}

bool TColorListModel::Activate(int Index) {
  if (Index < 0 || Index >= static_cast<int>(FItems.size())) return false;
  const TColorItem& Item = FItems[static_cast<std::size_t>(Index)];
  if (Item.Pick) return true;
  SetSelected(Item.Color);
  return false;
}

}  // namespace forms
