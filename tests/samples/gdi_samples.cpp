// gdi_samples OUT.ppm: the shared style samples drawn by the Windows build
// through GDI, into a memory device of the screen's kind.
#include <windows.h>

#include "tests/samples/sample_cases.h"
#include "winui/win_style_sample.h"

int main(int Argc, char** Argv) {
  if (Argc != 2) return 2;
  const auto Cases = samples::Cases();
  const int W = samples::ImageWidth(), H = samples::ImageHeight();
  const HDC Screen = GetDC(nullptr);
  const HDC Canvas = CreateCompatibleDC(Screen);
  BITMAPINFO Info{};
  Info.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  const HBITMAP Image = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Image || !Bits) return 1;
  SelectObject(Canvas, Image);
  const RECT All{0, 0, W, H};
  const HBRUSH Ground = CreateSolidBrush(RGB(samples::Ground, samples::Ground, samples::Ground));
  FillRect(Canvas, &All, Ground);
  for (std::size_t I = 0; I < Cases.size(); ++I) {
    trace::TDevPointsLease D;
    int Left = 0, Top = 0;
    samples::AddShape(*D, I, Left, Top);
    const int Saved = SaveDC(Canvas);
    IntersectClipRect(Canvas, Left, Top, Left + samples::CellWidth, Top + samples::CellHeight);
    winui::DrawShape(*D, Canvas, Cases[I].Pen, Cases[I].Brush, true, 1000, 1);
    RestoreDC(Canvas, Saved);
  }
  GdiFlush();
  std::vector<std::uint8_t> Rgb;
  const auto* Pixels = static_cast<const std::uint8_t*>(Bits);
  for (int P = 0; P < W * H; ++P)
    Rgb.insert(Rgb.end(), {Pixels[4 * P + 2], Pixels[4 * P + 1], Pixels[4 * P]});
  return samples::WritePpm(Argv[1], Rgb) ? 0 : 1;
}
