// The platform's pen styles, hatch brush styles and colour values in Qt
// terms, shared by whatever draws them (the host's map, the add-on's style
// samples), so that a style looks the same everywhere.
#pragma once

#include <QColor>
#include <Qt>
#include <cstdint>

namespace compat {

// A colour value 0x00BBGGRR and back.
QColor ColorFromRef(std::uint32_t Color);
std::uint32_t ColorToRef(const QColor& Color);

// Pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none,
// 6 inside frame (drawn solid); anything else solid.
inline constexpr int PenStyleClear = 5;
Qt::PenStyle QtPenStyle(int Style);

// Brush styles: 0 solid, 1 clear, 2 to 7 the hatches horizontal, vertical,
// forward diagonal (falling to the right), backward diagonal (rising),
// cross, diagonal cross.
inline constexpr int BrushStyleSolid = 0;
inline constexpr int BrushStyleClear = 1;
inline bool IsHatchStyle(int Style) {
  return Style >= 2 && Style <= 7;
}
// The hatch of a hatch style; Qt::NoBrush for any other style.
Qt::BrushStyle QtHatchStyle(int Style);

}  // namespace compat
