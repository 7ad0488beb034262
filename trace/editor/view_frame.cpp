#include "trace/editor/view_frame.h"

namespace trace {

namespace {

// The sides of the view a device point lies beyond, Margin pixels out.
unsigned Outside(double DX, double DY, const TViewFrame& F, double Margin) {
  return (DX < -Margin ? 1u : 0u) | (DX > F.Width + Margin ? 2u : 0u) | (DY < -Margin ? 4u : 0u) |
         (DY > F.Height + Margin ? 8u : 0u);
}

}  // namespace

std::vector<TDrawVertex> VisibleVertices(const std::vector<TDrawVertex>& Part, const TViewFrame& F,
                                         double Margin) {
  const double Pixel = F.PixelMetres();
  if (Part.size() < 3 || F.Width <= 0 || F.Height <= 0 || !(Pixel > 0)) return Part;
  const std::size_t N = Part.size();
  std::vector<unsigned> Code(N);
  for (std::size_t I = 0; I < N; ++I) {
    double DX, DY;
    if (!F.ToDevice({Part[I].X, Part[I].Y}, DX, DY)) return Part;
    Code[I] = Outside(DX, DY, F, Margin);
  }
  // An edge may be cut away when its arc, if any, stays near its chord.
  const auto Flat = [&](std::size_t I) {
    const double C = std::fabs(Part[I].C);
    if (C == 0) return true;
    const double Chord = std::hypot(Part[I].X - Part[I - 1].X, Part[I].Y - Part[I - 1].Y);
    return C <= 1 && Chord * C / 2 <= Margin / 2 * Pixel;
  };
  std::vector<TDrawVertex> Out{Part[0]};
  const double Min2 = Pixel * Pixel / 4;
  // Sides shared by the last vertex kept and every one left out since.
  unsigned Run = Code[0];
  bool Cut = false;
  for (std::size_t I = 1; I + 1 < N; ++I) {
    const TDrawVertex& Last = Out.back();
    if (Flat(I) && Flat(I + 1) && (Run & Code[I] & Code[I + 1]) != 0) {
      Run &= Code[I];
      Cut = true;
      continue;
    }
    TDrawVertex V = Part[I];
    if (Cut) V.C = 0;  // the chord from the run's start
    const double DX = V.X - Last.X, DY = V.Y - Last.Y;
    if (!Cut && DX * DX + DY * DY < Min2 && std::fabs(V.C) <= 1) continue;
    Out.push_back(V);
    Run = Code[I];
    Cut = false;
  }
  TDrawVertex End = Part[N - 1];
  if (Cut) End.C = 0;
  Out.push_back(End);
  return Out;
}

}  // namespace trace
