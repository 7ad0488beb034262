// The style samples that both builds draw, a cell each, so that the Windows
// build's GDI samples can be compared with the Linux build's Qt samples:
// outlines of two widths, solid and hatch fills, a transparent hatch, blends
// and a polyline. Dashed pens are left out: the systems' dashes differ.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "trace/editor/style_records.h"
#include "trace/engine/dev_points.h"

namespace samples {

inline constexpr int CellWidth = 64, CellHeight = 40, Columns = 4;
// The cells' ground, grey, so that blends and transparent fills show.
inline constexpr std::uint8_t Ground = 200;

enum TShape { Rect, Triangle, Line };

struct TCase {
  TShape Shape;
  trace::TPenRecord Pen;
  trace::TBrushRecord Brush;
};

// Colours 0x00BBGGRR; pen width in millimetres, drawn 1 pixel per 1 mm.
inline TCase Case(TShape Shape, std::uint8_t PenStyle, double Width, trace::TColorRef PenColor,
                  std::uint8_t BrushStyle, trace::TColorRef Back, trace::TColorRef Hatch,
                  std::uint8_t Level) {
  TCase C{Shape, {}, {}};
  C.Pen.Style = PenStyle;
  C.Pen.Width = Width;
  C.Pen.Color = PenColor;
  C.Brush = {BrushStyle, Back, Hatch, Level};
  return C;
}

inline std::vector<TCase> Cases() {
  constexpr trace::TColorRef Red = 0x0000FF, Green = 0x008000, Blue = 0xFF0000, Yellow = 0x00FFFF;
  constexpr std::uint8_t NoPen = 5, Solid = 0, Clear = 1;
  std::vector<TCase> C = {Case(Rect, Solid, 0, Red, Clear, 0, 0, 0),
                          Case(Triangle, Solid, 3, Blue, Clear, 0, 0, 0),
                          Case(Rect, NoPen, 0, 0, Solid, Green, 0, 0),
                          Case(Triangle, Solid, 0, 0, Solid, Yellow, 0, 0)};
  for (std::uint8_t Hatch = 2; Hatch <= 7; ++Hatch)
    C.push_back(Case(Rect, NoPen, 0, 0, Hatch, Yellow, Blue, 0));
  C.push_back(Case(Rect, NoPen, 0, 0, 6, Yellow, Blue, 1));
  C.push_back(Case(Rect, Solid, 0, 0, Solid, Red, 0, 5));
  C.push_back(Case(Triangle, NoPen, 0, 0, 4, Green, Red, 8));
  C.push_back(Case(Rect, Solid, 0, Red, Solid, Blue, 0, 1));
  C.push_back(Case(Line, Solid, 2, 0xFF00FF, Clear, 0, 0, 0));
  return C;
}

inline int ImageWidth() {
  return Columns * CellWidth;
}
inline int ImageHeight() {
  return (static_cast<int>(Cases().size()) + Columns - 1) / Columns * CellHeight;
}

// The device points of case I's shape, in its cell; Left and Top the cell's.
inline void AddShape(trace::TDevPoints& D, std::size_t I, int& Left, int& Top) {
  Left = static_cast<int>(I) % Columns * CellWidth;
  Top = static_cast<int>(I) / Columns * CellHeight;
  trace::ResetDevPoints(D);
  const TShape Shape = Cases()[I].Shape;
  if (Shape == Rect) {
    trace::AddRect(D, {Left + 8, Top + 8, Left + 56, Top + 32}, true);
  } else {
    const std::vector<trace::TDevPoint> Points =
        Shape == Line ? std::vector<trace::TDevPoint>{{Left + 6, Top + 30}, {Left + 58, Top + 10}}
                      : std::vector<trace::TDevPoint>{
                            {Left + 8, Top + 34}, {Left + 32, Top + 6}, {Left + 56, Top + 34}};
    for (const trace::TDevPoint& P : Points) trace::AddPoint(D.Current, P);
    D.Current.Closed = Shape == Triangle;
  }
  trace::FinishDevPoints(D);
}

// RGB bytes, top row first, as a binary PPM file.
inline bool WritePpm(const std::string& Path, const std::vector<std::uint8_t>& Rgb) {
  std::ofstream Out(Path, std::ios::binary);
  Out << "P6\n" << ImageWidth() << ' ' << ImageHeight() << "\n255\n";
  Out.write(reinterpret_cast<const char*>(Rgb.data()), static_cast<std::streamsize>(Rgb.size()));
  return static_cast<bool>(Out);
}

}  // namespace samples
