#include "addonlib/overlay/short_arcs.h"

#include <cmath>

#include "addonlib/geometry/primitives.h"

namespace geoalg::overlay {

void AddResultArc(geo::TContour& C, const geo::TDPoint& From, const geo::TDPoint& To,
                  double Convexity, bool Close) {
  using LD = long double;
  const LD Sweep = 4 * std::atan(static_cast<LD>(Convexity));
  const int Chords = static_cast<int>(std::ceil(std::fabs(Sweep) / ShortArcStep));
  if (!geo::SamePoint(From, To) || Chords <= 1) {
    if (Close)
      C.AddCloseArc(Convexity);
    else
      C.AddArcTo(To, Convexity);
    return;
  }
  // The centre lies on the chord's perpendicular bisector, to its left by
  // (d / 2)(1 - c^2) / (2c).
  const LD DX = static_cast<LD>(To.X) - From.X, DY = static_cast<LD>(To.Y) - From.Y;
  const LD H = (1 - static_cast<LD>(Convexity) * Convexity) / (4 * static_cast<LD>(Convexity));
  const LD CX = From.X + DX / 2 - DY * H, CY = From.Y + DY / 2 + DX * H;
  const LD AX = From.X - CX, AY = From.Y - CY;
  for (int K = 1; K < Chords; ++K) {
    const LD T = Sweep * K / Chords, Cos = std::cos(T), Sin = std::sin(T);
    C.AddLineTo({static_cast<double>(CX + AX * Cos - AY * Sin),
                 static_cast<double>(CY + AX * Sin + AY * Cos)});
  }
  if (Close)
    C.AddClose();
  else
    C.AddLineTo(To);
}

}  // namespace geoalg::overlay
