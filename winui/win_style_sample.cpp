#include "winui/win_style_sample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "compat/module_file.h"
#include "core/exception.h"

namespace winui {

namespace {

constexpr std::uint8_t PenClear = 5, PenInsideFrame = 6;
constexpr std::uint8_t BrushSolid = 0, BrushClear = 1;

bool IsHatch(int Style) {
  return Style >= 2 && Style <= 7;
}

// Brush styles 2 to 7 are the system's hatches in the same order.
int HatchOf(int Style) {
  return Style - 2;
}

// The records' pen modes (black, white, nop, not, copy, ...) as raster
// operations; 4 copies.
int RasterOp(std::uint8_t Mode) {
  static constexpr std::array<int, 16> Ops = {
      R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
      R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
      R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return Mode < Ops.size() ? Ops[Mode] : R2_COPYPEN;
}

// The pen and brush that ApplyPen and ApplyBrush made last.
HPEN SharedPen = nullptr;
HBRUSH SharedBrush = nullptr;

void SelectPen(HDC Canvas, HPEN Pen) {
  SelectObject(Canvas, Pen);
  if (SharedPen) DeleteObject(SharedPen);
  SharedPen = Pen;
}

void SelectBrush(HDC Canvas, HBRUSH Brush) {
  SelectObject(Canvas, Brush ? static_cast<HGDIOBJ>(Brush) : GetStockObject(NULL_BRUSH));
  if (SharedBrush) DeleteObject(SharedBrush);
  SharedBrush = Brush;
}

// The parts of a list as the system's poly calls take them.
struct TParts {
  std::vector<POINT> Points;
  std::vector<INT> Counts;
  std::vector<DWORD> LineCounts;

  explicit TParts(const trace::TPolyPointList& List) {
    Points.reserve(static_cast<std::size_t>(List.Count()));
    for (int I = 0; I < List.Count(); ++I) Points.push_back({List[I].X, List[I].Y});
    for (int I = 0; I < List.PartCount(); ++I) {
      Counts.push_back(List.PartCounts(I));
      LineCounts.push_back(static_cast<DWORD>(List.PartCounts(I)));
    }
  }
  bool Empty() const { return Counts.empty(); }
  void Polygons(HDC Canvas) const {
    if (!Empty())
      PolyPolygon(Canvas, Points.data(), Counts.data(), static_cast<int>(Counts.size()));
  }
  void Polylines(HDC Canvas) const {
    if (!Empty())
      PolyPolyline(Canvas, Points.data(), LineCounts.data(), static_cast<DWORD>(Counts.size()));
  }
};

void Extend(RECT& Box, const trace::TPointList& List) {
  for (int I = 0; I < List.Count(); ++I) {
    if (Box.left > Box.right) {
      Box = {List[I].X, List[I].Y, List[I].X, List[I].Y};
      continue;
    }
    Box.left = std::min<LONG>(Box.left, List[I].X);
    Box.top = std::min<LONG>(Box.top, List[I].Y);
    Box.right = std::max<LONG>(Box.right, List[I].X);
    Box.bottom = std::max<LONG>(Box.bottom, List[I].Y);
  }
}

// Fills the polygons with Brush and no outline; the background colour and
// mode are restored afterwards.
void FillPolygons(HDC Canvas, const TParts& Polygons, HBRUSH Brush, COLORREF Background, int Mode) {
  const COLORREF OldBack = SetBkColor(Canvas, Background);
  const int OldMode = SetBkMode(Canvas, Mode);
  SelectObject(Canvas, GetStockObject(NULL_PEN));
  SelectBrush(Canvas, Brush);
  Polygons.Polygons(Canvas);
  SetBkColor(Canvas, OldBack);
  SetBkMode(Canvas, OldMode);
}

void FillBackground(const TDevPoints& D, HDC Canvas, const TParts& Polygons, COLORREF BackColor,
                    int Level, bool UseAlphaBlend) {
  if (UseAlphaBlend && CanBlend(Canvas)) {
    RECT Box{1, 1, 0, 0};
    Extend(Box, D.Polygons);
    Extend(Box, D.Polylines);
    const int Saved = SaveDC(Canvas);
    BeginPath(Canvas);
    Polygons.Polygons(Canvas);
    EndPath(Canvas);
    SelectClipPath(Canvas, RGN_AND);
    // One pixel of the colour, stretched over the shapes' bounds.
    const HDC Source = CreateCompatibleDC(Canvas);
    BITMAPINFO Info{};
    Info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* Bits = nullptr;
    const HBITMAP Pixel = CreateDIBSection(Canvas, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (Source && Pixel && Bits) {
      *static_cast<DWORD*>(Bits) = static_cast<DWORD>(GetRValue(BackColor)) << 16 |
                                   static_cast<DWORD>(GetGValue(BackColor)) << 8 |
                                   GetBValue(BackColor);
      const HGDIOBJ Old = SelectObject(Source, Pixel);
      const BLENDFUNCTION Blend{AC_SRC_OVER, 0, static_cast<BYTE>(BlendAlpha(Level)), 0};
      AlphaBlend(Canvas, Box.left, Box.top, Box.right - Box.left, Box.bottom - Box.top, Source, 0,
                 0, 1, 1, Blend);
      SelectObject(Source, Old);
    }
    if (Pixel) DeleteObject(Pixel);
    if (Source) DeleteDC(Source);
    RestoreDC(Canvas, Saved);
    return;
  }
  // Pass one blackens the pattern's black pixels and inverts the others,
  // pass two puts the colour into the black ones and inverts the others
  // back: what lies under them stays.
  const int OldRop = GetROP2(Canvas);
  const COLORREF OldText = GetTextColor(Canvas);
  const COLORREF OldBack = SetBkColor(Canvas, RGB(255, 255, 255));
  SelectObject(Canvas, GetStockObject(NULL_PEN));
  SelectBrush(Canvas, CreatePatternBrush(HollowPattern(Level)));
  SetTextColor(Canvas, RGB(0, 0, 0));
  SetROP2(Canvas, R2_MASKPENNOT);
  Polygons.Polygons(Canvas);
  SetTextColor(Canvas, BackColor);
  SetROP2(Canvas, R2_XORPEN);
  Polygons.Polygons(Canvas);
  SetROP2(Canvas, OldRop);
  SetTextColor(Canvas, OldText);
  SetBkColor(Canvas, OldBack);
}

struct TPatterns {
  std::array<HBITMAP, MaxTransparencyLevel + 1> Bitmaps{};
  ~TPatterns() {
    for (HBITMAP B : Bitmaps)
      if (B) DeleteObject(B);
  }
};

}  // namespace

HBITMAP HollowPattern(int Level) {
  TRACE_ASSERT(Level >= 2 && Level <= MaxTransparencyLevel);
  // Loaded once, kept until the module unloads.
  static const TPatterns Patterns = [] {
    TPatterns P;
    for (int L = 2; L <= MaxTransparencyLevel; ++L) {
      const std::wstring Name = L"HOLLOW_" + std::to_wstring(L);
      P.Bitmaps[static_cast<std::size_t>(L)] = static_cast<HBITMAP>(LoadImageW(
          static_cast<HINSTANCE>(compat::ModuleInstance()), Name.c_str(), IMAGE_BITMAP, 0, 0, 0));
      if (!P.Bitmaps[static_cast<std::size_t>(L)])
        throw core::Exception("Bitmap resource HOLLOW_" + std::to_string(L) + " not found");
    }
    return P;
  }();
  return Patterns.Bitmaps[static_cast<std::size_t>(Level)];
}

bool CanBlend(HDC Canvas) {
  const DWORD Version = GetVersion();
  const int Major = LOBYTE(LOWORD(Version)), Minor = HIBYTE(LOWORD(Version));
  const bool Family95 = (Version & 0x80000000u) != 0;
  if (!(Major >= 5 || (Family95 && Major == 4 && Minor > 0))) return false;
  const int Technology = GetDeviceCaps(Canvas, TECHNOLOGY);
  return Technology == DT_RASDISPLAY || Technology == DT_DISPFILE ||
         (GetDeviceCaps(Canvas, SHADEBLENDCAPS) & SB_CONST_ALPHA) != 0;
}

void ApplyPen(const trace::TPenRecord& Pen, HDC Canvas, double DevicePerUnit, double ScaleFactor) {
  double Width = 0;
  if ((Pen.Style == 0 || Pen.Style == PenInsideFrame) && Pen.Width != 0) {
    Width = Pen.Width / 1000;
    if (Pen.ForZoomScale != 0) Width *= ScaleFactor / Pen.ForZoomScale;
  }
  const int Style = Pen.Style == PenInsideFrame ? PS_SOLID : Pen.Style;
  SelectPen(Canvas, CreatePen(Style, static_cast<int>(std::lround(Width * DevicePerUnit)),
                              Pen.Color & 0xFFFFFF));
  SetROP2(Canvas, RasterOp(Pen.Mode));
  SetBkMode(Canvas, TRANSPARENT);
}

void ApplyBrush(const trace::TBrushRecord& Brush, HDC Canvas) {
  std::uint8_t Style = Brush.Style;
  if (Style == BrushSolid && Brush.Transparency != 0) Style = BrushClear;
  if (Style == BrushSolid) {
    SetROP2(Canvas, R2_COPYPEN);
    SelectBrush(Canvas, CreateSolidBrush(Brush.BackColor & 0xFFFFFF));
    SetBkMode(Canvas, OPAQUE);
  } else if (IsHatch(Style)) {
    SetROP2(Canvas, R2_COPYPEN);
    SelectBrush(Canvas, CreateHatchBrush(HatchOf(Style), Brush.HatchColor & 0xFFFFFF));
    if (Brush.Transparency != 0) {
      SetBkColor(Canvas, RGB(255, 255, 255));
      SetBkMode(Canvas, TRANSPARENT);
    } else {
      SetBkColor(Canvas, Brush.BackColor & 0xFFFFFF);
      SetBkMode(Canvas, OPAQUE);
    }
  } else {
    SelectBrush(Canvas, nullptr);
  }
}

void ReleaseStyleObjects() {
  if (SharedPen) DeleteObject(SharedPen);
  if (SharedBrush) DeleteObject(SharedBrush);
  SharedPen = nullptr;
  SharedBrush = nullptr;
}

void DrawShape(const TDevPoints& D, HDC Canvas, const trace::TPenRecord& Pen,
               const trace::TBrushRecord& Brush, bool UseAlphaBlend, double DevicePerUnit,
               double ScaleFactor) {
  if (Pen.Style == PenClear && Brush.Style == BrushClear) return;
  const TParts Polygons(D.Polygons), Polylines(D.Polylines);
  const int Level = std::min<int>(Brush.Transparency, MaxTransparencyLevel);
  const int Saved = SaveDC(Canvas);
  SetPolyFillMode(Canvas, ALTERNATE);
  if (Brush.Style == BrushClear || (Brush.Style == BrushSolid && Level == 0)) {
    ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
    ApplyBrush(Brush, Canvas);
    Polygons.Polygons(Canvas);
    ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
    Polylines.Polylines(Canvas);
  } else {
    if (!Polygons.Empty()) {
      const COLORREF BackColor = Brush.BackColor & 0xFFFFFF;
      const auto Hatch = [&] {
        return CreateHatchBrush(HatchOf(Brush.Style), Brush.HatchColor & 0xFFFFFF);
      };
      if (Level >= 2) {
        FillBackground(D, Canvas, Polygons, BackColor, Level, UseAlphaBlend);
        if (IsHatch(Brush.Style)) {
          SetROP2(Canvas, R2_COPYPEN);
          FillPolygons(Canvas, Polygons, Hatch(), RGB(255, 255, 255), TRANSPARENT);
        }
      } else if (IsHatch(Brush.Style)) {
        // A solid brush at level 1 fills nothing.
        SetROP2(Canvas, R2_COPYPEN);
        if (Level == 1)
          FillPolygons(Canvas, Polygons, Hatch(), RGB(255, 255, 255), TRANSPARENT);
        else
          FillPolygons(Canvas, Polygons, Hatch(), BackColor, OPAQUE);
      }
    }
    if (Pen.Style != PenClear) {
      ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
      SelectBrush(Canvas, nullptr);
      Polygons.Polygons(Canvas);
      Polylines.Polylines(Canvas);
    }
  }
  // The canvas takes back its own pen and brush before the shared ones go.
  RestoreDC(Canvas, Saved);
  ReleaseStyleObjects();
}

}  // namespace winui
