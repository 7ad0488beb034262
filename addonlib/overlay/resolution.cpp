#include "addonlib/overlay/resolution.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "addonlib/geometry/measures.h"
#include "addonlib/index/packed_rtree.h"
#include "addonlib/overlay/pieces.h"
#include "core/exception.h"

namespace geoalg {

namespace {

using geo::TDPoint;
using overlay::TPiece;

std::string Num(double V) {
  char S[32];
  std::snprintf(S, sizeof S, "%.3g", V);
  return S;
}

std::string PointAt(const TDPoint& P) {
  char S[64];
  std::snprintf(S, sizeof S, "(%.17g %.17g)", P.X, P.Y);
  return S;
}

// Features up to about 1.2 times the tolerance come out mangled (measured:
// two equal squares that wide unite into a ring of no area); up to twice it
// they are refused.
constexpr double Margin = 2;

double Spacing(double Magnitude) {
  return std::nextafter(Magnitude, INFINITY) - Magnitude;
}

[[noreturn]] void Refuse(const std::string& What, const TDPoint& P, double T) {
  const double M = overlay::Magnitude(P);
  throw core::Exception("Булева операция: " + What + ": при координатах порядка " + Num(M) +
                        " ядро различает лишь то, что дальше " + Num(T) + " друг от друга" +
                        " (числа двойной точности там отстоят на " + Num(Spacing(M)) +
                        "), а это больше допуска совпадения точек (" +
                        Num(static_cast<double>(geo::PointTolerance)) + ")");
}

// Each part's edges as pieces (an open part closed by a straight edge,
// edges of no length left out), their ends in Points.
void AddPieces(const geo::TContour& C, const TOverlayTolerance& Tol, std::vector<TDPoint>& Points,
               std::vector<TPiece>& Pieces) {
  int32_t First = -1, Pen = -1;
  // From the pen to To (a new point, or the point ToIndex); To is a copy,
  // as the store grows under it.
  auto Edge = [&](const TDPoint To, double Convexity, int32_t ToIndex) {
    const TDPoint P = Points[static_cast<size_t>(Pen)];
    if (P.X == To.X && P.Y == To.Y) return;
    const double T = Margin * std::max(overlay::PointTol(P, Tol), overlay::PointTol(To, Tol));
    if (T > geo::PointTolerance && std::max(std::fabs(P.X - To.X), std::fabs(P.Y - To.Y)) <= T)
      Refuse("отрезок от " + PointAt(P) + " до " + PointAt(To) + " слишком короток", P, T);
    if (ToIndex < 0) {
      Points.push_back(To);
      ToIndex = static_cast<int32_t>(Points.size() - 1);
    }
    overlay::AddEdgePieces(P, Pen, To, ToIndex, Convexity, 0, 1, Tol, Points, Pieces);
    Pen = ToIndex;
  };
  auto Finish = [&] {
    if (First >= 0) Edge(Points[static_cast<size_t>(First)], 0, First);
    First = -1;
  };
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    const double Convexity = geo::IsArcKind(Cmd.Kind) ? Cmd.Convexity : 0;
    if (Cmd.Kind == geo::ccMoveTo || Pen < 0) {
      Finish();
      if (!geo::IsToCommand(Cmd)) continue;
      Points.push_back(Cmd.Point);
      First = Pen = static_cast<int32_t>(Points.size() - 1);
    } else if (geo::IsToCommand(Cmd)) {
      if (First < 0) First = Pen;  // after a close, from the part's start
      Edge(Cmd.Point, Convexity, -1);
    } else if (First >= 0) {
      const int32_t Start = First;
      Edge(Points[static_cast<size_t>(Start)], Convexity, Start);
      Pen = Start;
      First = -1;
    }
  }
  Finish();
}

}  // namespace

void CheckResolution(const std::vector<const geo::TContour*>& Inputs,
                     const TOverlayTolerance& Tol) {
  double M = 0;
  for (const geo::TContour* C : Inputs) {
    geo::TDRect B;
    if (C && geo::GetBounds(*C, B))
      M = std::max({M, std::fabs(B.X1), std::fabs(B.X2), std::fabs(B.Y1), std::fabs(B.Y2)});
  }
  if (!(Margin * Tol.At(M) > geo::PointTolerance)) return;  // the point tolerance is resolved
  std::vector<TDPoint> Points;
  std::vector<TPiece> Pieces;
  for (const geo::TContour* C : Inputs)
    if (C) AddPieces(*C, Tol, Points, Pieces);
  std::vector<geo::TDRect> Boxes(Pieces.size());
  std::vector<int32_t> Ids(Pieces.size());
  for (size_t I = 0; I < Pieces.size(); ++I) {
    const geo::TDRect R = Pieces[I].Box();
    const double T = Margin * Pieces[I].Tol;
    Boxes[I] = {R.X1 - T, R.Y1 - T, R.X2 + T, R.Y2 + T};
    Ids[I] = static_cast<int32_t>(I);
  }
  geo::index::TPackedRTree Tree;
  Tree.Build(Boxes, Ids);
  // An end near another piece, where the engine would cut that piece.
  for (size_t I = 0; I < Pieces.size(); ++I)
    for (const int32_t End : {Pieces[I].IA, Pieces[I].IB}) {
      const TDPoint P = Points[static_cast<size_t>(End)];
      const double T = overlay::PointTol(P, Tol);
      if (!(Margin * T > geo::PointTolerance)) continue;
      // On the side to the rounding of the test, and never off it by more
      // than the point tolerance.
      const double On = std::min(2 * Spacing(overlay::Magnitude(P)),
                                 static_cast<double>(geo::PointTolerance) / 2);
      Tree.Query({P.X, P.Y, P.X, P.Y}, [&](int32_t J) {
        const TPiece& Q = Pieces[static_cast<size_t>(J)];
        const double Near = Margin * std::max(T, Q.Tol);
        if (Q.IA == End || Q.IB == End || !overlay::OnPiece(Q, P, Near) ||
            overlay::OnPiece(Q, P, On))
          return;
        Refuse("точка " + PointAt(P) + " лежит рядом с другой стороной, но не на ней", P, Near);
      });
    }
}

}  // namespace geoalg
