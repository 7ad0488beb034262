#include "geomio/arc_linearize.h"

#include <algorithm>
#include <cmath>

#include "geomio/contour_layout.h"
#include "geomio/input_error.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {
constexpr long double MaxChords = 1e6L;
}

int ChordCount(double Radius, double Sweep, double Tolerance) {
  const long double Span = std::fabs(static_cast<long double>(Sweep));
  // A chord of angle a strays R(1 - cos(a/2)) from its arc.
  long double Step = geo::Pi / 2;
  if (Tolerance < Radius)
    Step = std::min(Step, 2 * std::acos(1 - Tolerance / static_cast<long double>(Radius)));
  const long double N = std::ceil(Span / Step);
  if (!(N <= MaxChords))
    throw EInputError("tolerance " + NumberText(Tolerance) + " is too fine for an arc of radius " +
                      NumberText(Radius));
  return std::max(1, static_cast<int>(N));
}

std::vector<geo::TDPoint> LinearizeEdges(const std::vector<geo::TEdge>& Edges, double Tolerance) {
  std::vector<geo::TDPoint> Points;
  if (Edges.empty()) return Points;
  Points.push_back(Edges.front().P1);
  for (const geo::TEdge& E : Edges) {
    if (geo::IsArc(E)) {
      const int N = ChordCount(E.Radius, E.Angle, Tolerance);
      const long double A0 = geo::AngleOf(E.Center, E.P1);
      for (int k = 1; k < N; ++k) {
        const long double A = A0 + E.Angle * static_cast<long double>(k) / N;
        Points.push_back({static_cast<double>(E.Center.X + E.Radius * std::cos(A)),
                          static_cast<double>(E.Center.Y + E.Radius * std::sin(A))});
      }
    }
    Points.push_back(E.P2);
  }
  return Points;
}

geo::TContour LinearizedContour(const geo::TContour& Contour, double Tolerance) {
  geo::TContour Out;
  for (const TLayoutPart& Part : LayOutContour(Contour).Parts) {
    const std::vector<geo::TDPoint> P = LinearizeEdges(Part.Edges, Tolerance);
    // A closed part's last point is its first again.
    const size_t N = Part.Closed ? P.size() - 1 : P.size();
    Out.AddMoveTo(P[0]);
    for (size_t i = 1; i < N; ++i) Out.AddLineTo(P[i]);
    if (Part.Closed) Out.AddClose();
  }
  return Out;
}

}  // namespace geomio
