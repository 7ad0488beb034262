#include "trace/engine/zone_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/primitives.h"
#include "core/exception.h"

namespace trace {

namespace {

std::string Num(double V) {
  char S[32];
  std::snprintf(S, sizeof S, "%.3g", V);
  return S;
}

std::string Exact(double V) {
  char S[32];
  std::snprintf(S, sizeof S, "%.17g", V);
  return S;
}

std::string PointAt(const geo::TDPoint& P) {
  char S[64];
  std::snprintf(S, sizeof S, "(%.10g %.10g)", P.X, P.Y);
  return S;
}

// Chebyshev distance: the point tolerance is per axis.
double Apart(const geo::TDPoint& A, const geo::TDPoint& B) {
  return std::max(std::fabs(A.X - B.X), std::fabs(A.Y - B.Y));
}

const std::string PointTol = Num(static_cast<double>(geo::PointTolerance));

// Walks the source's parts as the edge iterator does (each point against
// the one before it, a close against the part's start) and refuses a part
// that yields no edge although its points differ, and a step the kernel
// skips that moves the zone by more than it is right to.
void CheckSteps(const geo::TContour& Source, double Width) {
  geo::TDPoint Start{0, 0}, Prev{0, 0}, Step1{0, 0}, Step2{0, 0};
  bool InPart = false, HasEdge = false;
  double Spread = 0, Largest = 0;
  auto Finish = [&] {
    if (InPart && !HasEdge && Spread > 0)
      throw core::Exception("Буферная зона: все точки части у " + PointAt(Start) +
                            " лежат ближе допуска совпадения точек (" + PointTol +
                            ") друг к другу (разброс " + Exact(Spread) +
                            "): для ядра это одна точка, и зоны у неё нет");
    InPart = HasEdge = false;
    Spread = 0;
  };
  auto To = [&](const geo::TDPoint& P) {
    const double D = Apart(Prev, P);
    if (!geo::SamePoint(Prev, P)) {
      HasEdge = true;
    } else if (D > 0) {
      Spread = std::max(Spread, Apart(Start, P));
      if (D > Largest) Largest = D, Step1 = Prev, Step2 = P;
    }
    Prev = P;
  };
  for (int32_t I = 0; I < Source.CommandCount(); ++I) {
    const geo::TContourCmdRec& C = Source.CmdRec(I);
    if (C.Kind == geo::ccMoveTo || (geo::IsToKind(C.Kind) && !InPart)) {
      if (C.Kind == geo::ccMoveTo) Finish();
      if (C.Kind == geo::ccMoveTo || I == 0) Start = Prev = C.Point;
      InPart = true;
      if (C.Kind != geo::ccMoveTo) To(C.Point);
    } else if (geo::IsPieceKind(C.Kind)) {
      To(C.Point);
    } else if (geo::IsCloseKind(C.Kind) && InPart) {
      To(Start);
      Finish();
      Prev = Start;  // a piece after a close starts a part there
    }
  }
  Finish();
  if (Largest > ZoneAccuracy * Width)
    throw core::Exception("Буферная зона шириной " + Num(Width) + ": точки " + PointAt(Step1) +
                          " и " + PointAt(Step2) + " отстоят на " + Num(Largest) +
                          ", меньше допуска совпадения точек (" + PointTol +
                          "), и ядро считает их одной точкой; зона сместилась бы на " +
                          Num(Largest) + ", больше миллионной доли ширины");
}

}  // namespace

void CheckZoneLimits(const geo::TContour& Source, double Width) {
  geo::TDRect B;
  if (!geo::GetBounds(Source, B)) return;
  if (!(std::isfinite((B.X2 + Width) - (B.X1 - Width)) &&
        std::isfinite((B.Y2 + Width) - (B.Y1 - Width))))
    throw core::Exception("Buffer zone: the zone reaches beyond the range of numbers");
  CheckSteps(Source, Width);
  const double M =
      std::max({std::fabs(B.X1), std::fabs(B.X2), std::fabs(B.Y1), std::fabs(B.Y2)}) + Width;
  const double Spacing = std::nextafter(M, INFINITY) - M;
  if (!(Width >= ZoneWidthSpacings * Spacing))
    throw core::Exception(
        "Буферная зона: ширина " + Num(Width) + " слишком мала для координат порядка " + Num(M) +
        ": числа двойной точности там отстоят на " + Num(Spacing) +
        ", а зона строится с точностью до миллионной доли ширины, только если ширина не меньше " +
        Num(ZoneWidthSpacings) + " таких шагов (" + Num(ZoneWidthSpacings * Spacing) + ")");
}

}  // namespace trace
