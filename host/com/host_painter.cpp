#include "host/com/host_painter.h"

#include <algorithm>
#include <cmath>

#include "compat/gdi_styles.h"

namespace host {

namespace {

// Appends the device points of the segment from A to B with convexity
// Bulge, B included, A not.
void AppendSegment(QPainterPath& Path, const THostPaintVertex& A, double BX, double BY,
                   double Bulge, const THostViewTransform& T) {
  if (!(std::fabs(Bulge) > 1e-12)) {
    Path.lineTo(QtPoint(T.ToDevice(BX, BY)));
    return;
  }
  // Centre on the left of the chord for a positive bulge (counter-clockwise).
  const double DX = BX - A.X, DY = BY - A.Y;
  const double K = (1 - Bulge * Bulge) / (4 * Bulge);
  const double CX = (A.X + BX) / 2 - DY * K, CY = (A.Y + BY) / 2 + DX * K;
  const double R = std::hypot(A.X - CX, A.Y - CY);
  const double Start = std::atan2(A.Y - CY, A.X - CX);
  const double Sweep = 4 * std::atan(Bulge);
  const double RPixels = R / T.MetresPerPixel;
  double Step = RPixels > 0.25 ? 2 * std::acos(1 - 0.25 / RPixels) : std::fabs(Sweep);
  const int N = std::clamp(static_cast<int>(std::ceil(std::fabs(Sweep) / Step)), 1, 2000);
  for (int I = 1; I < N; ++I) {
    const double A1 = Start + Sweep * I / N;
    Path.lineTo(QtPoint(T.ToDevice(CX + R * std::cos(A1), CY + R * std::sin(A1))));
  }
  Path.lineTo(QtPoint(T.ToDevice(BX, BY)));
}

}  // namespace

QColor HostColor(std::uint32_t Color) {
  return compat::ColorFromRef(Color);
}

QPainterPath PaintPath(const std::vector<THostPaintPart>& Parts, const THostViewTransform& T) {
  QPainterPath Path;
  Path.setFillRule(Qt::OddEvenFill);
  for (const THostPaintPart& P : Parts) {
    if (P.Vertices.empty()) continue;
    Path.moveTo(QtPoint(T.ToDevice(P.Vertices[0].X, P.Vertices[0].Y)));
    for (std::size_t I = 1; I < P.Vertices.size(); ++I)
      AppendSegment(Path, P.Vertices[I - 1], P.Vertices[I].X, P.Vertices[I].Y,
                    P.Vertices[I].Convexity, T);
    if (P.Closed) {
      AppendSegment(Path, P.Vertices.back(), P.Vertices[0].X, P.Vertices[0].Y,
                    P.Vertices[0].Convexity, T);
      Path.closeSubpath();
    }
  }
  return Path;
}

THostDrawStyle DrawStyle(const THostPenState& Pen, const THostBrushState& Brush,
                         const THostViewTransform& T) {
  THostDrawStyle S;
  if (Brush.Style != compat::BrushStyleClear) {
    S.Back = Brush.Style == compat::BrushStyleSolid || Brush.Transparency == 0;
    S.BackBrush = QBrush(HostColor(Brush.BackColor));
    S.Hatch = Brush.Style != compat::BrushStyleSolid;
    S.HatchBrush = QBrush(HostColor(Brush.HatchColor), compat::QtHatchStyle(Brush.Style));
  }
  if (Pen.Style != compat::PenStyleClear) {
    S.Stroked = true;
    S.Pen = QPen(HostColor(Pen.Color));
    S.Pen.setStyle(compat::QtPenStyle(Pen.Style));
    S.Pen.setWidthF(PenPixels(Pen, T));
    S.Pen.setCosmetic(true);
  }
  return S;
}

void PaintParts(QPainter& Painter, const std::vector<THostPaintPart>& Parts,
                const THostPenState& Pen, const THostBrushState& Brush,
                const THostViewTransform& T) {
  Painter.save();
  Painter.setRenderHint(QPainter::Antialiasing, true);
  PaintParts(Painter, Parts, DrawStyle(Pen, Brush, T), T);
  Painter.restore();
}

void PaintParts(QPainter& Painter, const std::vector<THostPaintPart>& Parts,
                const THostDrawStyle& Style, const THostViewTransform& T) {
  const QPainterPath Path = PaintPath(Parts, T);
  bool AnyClosed = false, AllClosed = true;
  for (const THostPaintPart& P : Parts) {
    AnyClosed = AnyClosed || P.Closed;
    AllClosed = AllClosed && P.Closed;
  }
  if (AnyClosed && (Style.Back || Style.Hatch)) {
    QPainterPath Closed;
    if (AllClosed) {
      Closed = Path;
    } else {
      std::vector<THostPaintPart> Areas;
      for (const THostPaintPart& P : Parts)
        if (P.Closed) Areas.push_back(P);
      Closed = PaintPath(Areas, T);
    }
    if (Style.Back) Painter.fillPath(Closed, Style.BackBrush);
    if (Style.Hatch) Painter.fillPath(Closed, Style.HatchBrush);
  }
  if (Style.Stroked) {
    Painter.setPen(Style.Pen);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawPath(Path);
  }
}

}  // namespace host
