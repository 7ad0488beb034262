#include "ui/style_sample.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <array>
#include <cmath>
#include <string>

#include "compat/bitmap_handle.h"
#include "compat/gdi_styles.h"
#include "compat/module_resources.h"
#include "core/exception.h"

namespace ui {

namespace {

using compat::BrushStyleClear;
using compat::BrushStyleSolid;
using compat::PenStyleClear;
constexpr std::uint8_t PenInsideFrame = 6;

// The host's pen modes as raster operations; 4 copies.
QPainter::CompositionMode PenModeComposition(std::uint8_t Mode) {
  static constexpr std::array<QPainter::CompositionMode, 16> Modes = {
      QPainter::RasterOp_ClearDestination,       QPainter::RasterOp_SetDestination,
      QPainter::CompositionMode_Destination,     QPainter::RasterOp_NotDestination,
      QPainter::CompositionMode_SourceOver,      QPainter::RasterOp_NotSource,
      QPainter::RasterOp_SourceOrNotDestination, QPainter::RasterOp_SourceAndNotDestination,
      QPainter::RasterOp_NotSourceOrDestination, QPainter::RasterOp_NotSourceAndDestination,
      QPainter::RasterOp_SourceOrDestination,    QPainter::RasterOp_NotSourceAndNotDestination,
      QPainter::RasterOp_SourceAndDestination,   QPainter::RasterOp_NotSourceOrNotDestination,
      QPainter::RasterOp_SourceXorDestination,   QPainter::RasterOp_NotSourceXorDestination};
  return Mode < Modes.size() ? Modes[Mode] : QPainter::CompositionMode_SourceOver;
}

void SetPenModeCopy(QPainter& Canvas) {
  Canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QPoint ToQPoint(TDevPoint P) {
  return QPoint(P.X, P.Y);
}

QPainterPath PolygonPath(const TPolyPointList& Polygons) {
  QPainterPath Path;
  Path.setFillRule(Qt::OddEvenFill);
  int First = 0;
  for (int Part = 0; Part < Polygons.PartCount(); ++Part) {
    const int N = Polygons.PartCounts(Part);
    Path.moveTo(ToQPoint(Polygons[First]));
    for (int I = 1; I < N; ++I) Path.lineTo(ToQPoint(Polygons[First + I]));
    Path.closeSubpath();
    First += N;
  }
  return Path;
}

void DrawPolylines(const TPolyPointList& Polylines, QPainter& Canvas) {
  int First = 0;
  QPolygon Part;
  for (int I = 0; I < Polylines.PartCount(); ++I) {
    const int N = Polylines.PartCounts(I);
    Part.resize(N);
    for (int J = 0; J < N; ++J) Part[J] = ToQPoint(Polylines[First + J]);
    Canvas.drawPolyline(Part);
    First += N;
  }
}

QRect Bounds(const TPointList& List) {
  if (List.Count() == 0) return {};
  int L = List[0].X, T = List[0].Y, R = L, B = T;
  for (int I = 1; I < List.Count(); ++I) {
    L = std::min(L, List[I].X);
    R = std::max(R, List[I].X);
    T = std::min(T, List[I].Y);
    B = std::max(B, List[I].Y);
  }
  return QRect(QPoint(L, T), QPoint(R, B));
}

bool CanBlend(QPainter& Canvas) {
  const QPaintEngine* Engine = Canvas.paintEngine();
  return Engine && Engine->hasFeature(QPaintEngine::AlphaBlend);
}

// Fills the polygons with Brush, no outline; the background colour and mode
// are restored afterwards.
void FillPolygons(QPainter& Canvas, const QPainterPath& Polygons, const QBrush& Brush,
                  const QColor& Background, Qt::BGMode Mode) {
  const QBrush OldBackground = Canvas.background();
  const Qt::BGMode OldMode = Canvas.backgroundMode();
  Canvas.setBackground(Background);
  Canvas.setBackgroundMode(Mode);
  Canvas.setPen(Qt::NoPen);
  Canvas.setBrush(Brush);
  Canvas.drawPath(Polygons);
  Canvas.setBackground(OldBackground);
  Canvas.setBackgroundMode(OldMode);
}

void FillBackground(const TDevPoints& D, QPainter& Canvas, const QPainterPath& Polygons,
                    const QColor& BackColor, int Level, bool UseAlphaBlend) {
  if (UseAlphaBlend && CanBlend(Canvas)) {
    const QRect Box = Bounds(D.Polygons).united(Bounds(D.Polylines));
    Canvas.save();
    Canvas.setClipPath(Polygons, Qt::IntersectClip);
    SetPenModeCopy(Canvas);
    QColor Blend = BackColor;
    Blend.setAlpha(BlendAlpha(Level));
    Canvas.fillRect(Box, Blend);
    Canvas.restore();
    return;
  }
  // The pattern's black pixels take the background colour, the others keep
  // what is under them.
  const QImage& Pattern = HollowPattern(Level);
  QImage Texture(Pattern.size(), QImage::Format_ARGB32_Premultiplied);
  for (int Y = 0; Y < Pattern.height(); ++Y)
    for (int X = 0; X < Pattern.width(); ++X)
      Texture.setPixelColor(X, Y, qGray(Pattern.pixel(X, Y)) < 128 ? BackColor : Qt::transparent);
  const QPainter::CompositionMode OldMode = Canvas.compositionMode();
  SetPenModeCopy(Canvas);
  FillPolygons(Canvas, Polygons, QBrush(Texture), Qt::white, Qt::TransparentMode);
  Canvas.setCompositionMode(OldMode);
}

}  // namespace

const QImage& HollowPattern(int Level) {
  TRACE_ASSERT(Level >= 2 && Level <= MaxTransparencyLevel);
  // Loaded once, kept until the module unloads.
  static const std::array<const QImage*, MaxTransparencyLevel + 1> Patterns = [] {
    std::array<const QImage*, MaxTransparencyLevel + 1> P{};
    for (int L = 2; L <= MaxTransparencyLevel; ++L) {
      const std::string Name = "HOLLOW_" + std::to_string(L);
      P[static_cast<std::size_t>(L)] = compat::BitmapFromHandle(compat::LoadBitmapResource(Name));
      if (!P[static_cast<std::size_t>(L)])
        throw core::Exception("Bitmap resource " + Name + " not found");
    }
    return P;
  }();
  return *Patterns[static_cast<std::size_t>(Level)];
}

void ApplyPen(const trace::TPenRecord& Pen, QPainter& Canvas, double DevicePerUnit,
              double ScaleFactor) {
  double Width = 0;
  if ((Pen.Style == 0 || Pen.Style == PenInsideFrame) && Pen.Width != 0) {
    Width = Pen.Width / 1000;
    if (Pen.ForZoomScale != 0) Width *= ScaleFactor / Pen.ForZoomScale;
  }
  QPen P(compat::QtPenStyle(Pen.Style));
  P.setColor(ColorFromRef(Pen.Color));
  const int DeviceWidth = static_cast<int>(std::lround(Width * DevicePerUnit));
  P.setWidth(DeviceWidth);
  // Thin lines leave out their last pixel, wide ones have round ends.
  P.setCapStyle(DeviceWidth > 1 ? Qt::RoundCap : Qt::FlatCap);
  P.setJoinStyle(Qt::RoundJoin);
  Canvas.setPen(P);
  Canvas.setCompositionMode(PenModeComposition(Pen.Mode));
  Canvas.setBackgroundMode(Qt::TransparentMode);
}

void ApplyBrush(const trace::TBrushRecord& Brush, QPainter& Canvas) {
  std::uint8_t Style = Brush.Style;
  if (Style == BrushStyleSolid && Brush.Transparency != 0) Style = BrushStyleClear;
  if (Style == BrushStyleSolid) {
    SetPenModeCopy(Canvas);
    Canvas.setBrush(ColorFromRef(Brush.BackColor));
    Canvas.setBackgroundMode(Qt::OpaqueMode);
  } else if (compat::IsHatchStyle(Style)) {
    SetPenModeCopy(Canvas);
    Canvas.setBrush(QBrush(ColorFromRef(Brush.HatchColor), compat::QtHatchStyle(Style)));
    if (Brush.Transparency != 0) {
      Canvas.setBackground(Qt::white);
      Canvas.setBackgroundMode(Qt::TransparentMode);
    } else {
      Canvas.setBackground(ColorFromRef(Brush.BackColor));
      Canvas.setBackgroundMode(Qt::OpaqueMode);
    }
  } else {
    Canvas.setBrush(Qt::NoBrush);
  }
}

void DrawShape(const TDevPoints& D, QPainter& Canvas, const trace::TPenRecord& Pen,
               const trace::TBrushRecord& Brush, bool UseAlphaBlend, double DevicePerUnit,
               double ScaleFactor) {
  if (Pen.Style == PenStyleClear && Brush.Style == BrushStyleClear) return;
  const QPainterPath Polygons = PolygonPath(D.Polygons);
  const int Level = std::min<int>(Brush.Transparency, MaxTransparencyLevel);
  if (Brush.Style == BrushStyleClear || (Brush.Style == BrushStyleSolid && Level == 0)) {
    ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
    ApplyBrush(Brush, Canvas);
    Canvas.drawPath(Polygons);
    ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
    DrawPolylines(D.Polylines, Canvas);
    return;
  }
  if (D.Polygons.PartCount() > 0) {
    const QColor BackColor = ColorFromRef(Brush.BackColor);
    const QBrush Hatch =
        compat::IsHatchStyle(Brush.Style)
            ? QBrush(ColorFromRef(Brush.HatchColor), compat::QtHatchStyle(Brush.Style))
            : QBrush();
    if (Level >= 2) {
      FillBackground(D, Canvas, Polygons, BackColor, Level, UseAlphaBlend);
      if (compat::IsHatchStyle(Brush.Style)) {
        SetPenModeCopy(Canvas);
        FillPolygons(Canvas, Polygons, Hatch, Qt::white, Qt::TransparentMode);
      }
    } else if (compat::IsHatchStyle(Brush.Style)) {
      // A solid brush at level 1 fills nothing.
      SetPenModeCopy(Canvas);
      if (Level == 1)
        FillPolygons(Canvas, Polygons, Hatch, Qt::white, Qt::TransparentMode);
      else
        FillPolygons(Canvas, Polygons, Hatch, BackColor, Qt::OpaqueMode);
    }
  }
  if (Pen.Style != PenStyleClear) {
    ApplyPen(Pen, Canvas, DevicePerUnit, ScaleFactor);
    Canvas.setBrush(Qt::NoBrush);
    Canvas.drawPath(Polygons);
    DrawPolylines(D.Polylines, Canvas);
  }
}

}  // namespace ui
