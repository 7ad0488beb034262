// The host's pen and brush records: the drawing style of a zone, a trace or
// a vertex mark, and of the style samples in the add-on's own windows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace trace {

// Windows colour value, 0x00BBGGRR.
using TColorRef = std::uint32_t;

// Pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none,
// 6 inside frame. Mode is the host's pen mode; 4 copies.
#pragma pack(push, 1)
struct TPenRecord {
  std::uint8_t Style = 0;
  double Width = 0;
  double ForZoomScale = 0;
  TColorRef Color = 0;
  std::uint8_t Mode = 4;
};

// Brush styles: 0 solid, 1 clear, 2 horizontal, 3 vertical, 4 forward
// diagonal, 5 backward diagonal, 6 cross, 7 diagonal cross.
struct TBrushRecord {
  std::uint8_t Style = 0;
  TColorRef BackColor = 0;
  TColorRef HatchColor = 0;
  std::uint8_t Transparency = 0;
};
#pragma pack(pop)

static_assert(sizeof(TPenRecord) == 22);
static_assert(offsetof(TPenRecord, Width) == 1 && offsetof(TPenRecord, ForZoomScale) == 9 &&
              offsetof(TPenRecord, Color) == 17 && offsetof(TPenRecord, Mode) == 21);
static_assert(sizeof(TBrushRecord) == 10);
static_assert(offsetof(TBrushRecord, BackColor) == 1 && offsetof(TBrushRecord, HatchColor) == 5 &&
              offsetof(TBrushRecord, Transparency) == 9);

inline constexpr std::uint8_t PenModeCopy = 4;
inline constexpr std::uint8_t BrushStyleSolid = 0;
inline constexpr std::uint8_t BrushStyleClear = 1;

// A pen of the settings: a width given for the scale 1:ForZoomScale (0:
// fixed on screen), copied onto the view.
inline TPenRecord MakePen(std::uint8_t Style, double Width, std::int32_t ForZoomScale,
                          TColorRef Color) {
  return TPenRecord{Style, Width, static_cast<double>(ForZoomScale), Color, PenModeCopy};
}

}  // namespace trace
