// qt_samples OUT.ppm: the shared style samples drawn by the Qt build.
#include <QImage>
#include <QPainter>

#include "tests/samples/sample_cases.h"
#include "ui/style_sample.h"

int main(int Argc, char** Argv) {
  if (Argc != 2) return 2;
  const auto Cases = samples::Cases();
  QImage Image(samples::ImageWidth(), samples::ImageHeight(), QImage::Format_RGB888);
  Image.fill(QColor(samples::Ground, samples::Ground, samples::Ground));
  {
    QPainter Canvas(&Image);
    for (std::size_t I = 0; I < Cases.size(); ++I) {
      trace::TDevPointsLease D;
      int Left = 0, Top = 0;
      samples::AddShape(*D, I, Left, Top);
      Canvas.save();
      Canvas.setClipRect(Left, Top, samples::CellWidth, samples::CellHeight);
      ui::DrawShape(*D, Canvas, Cases[I].Pen, Cases[I].Brush, true, 1000, 1);
      Canvas.restore();
    }
  }
  std::vector<std::uint8_t> Rgb;
  for (int Y = 0; Y < Image.height(); ++Y)
    Rgb.insert(Rgb.end(), Image.constScanLine(Y), Image.constScanLine(Y) + 3 * Image.width());
  return samples::WritePpm(Argv[1], Rgb) ? 0 : 1;
}
