// The overlay benchmarks' inputs, shared by the programs that run our engine
// and each peer on them: random walks (straight and with arcs), two large
// stars (straight, or with arcs that never cross), many discs, a square with
// round holes and a bar, and the comb; and their linearisation at 8 chords a
// quarter circle, as GEOS's buffer draws its round ends, for the peers that
// have no arcs.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

#include "addonlib/geometry/edge_iter.h"
#include "geomio/input_reader.h"
#include "shapes.h"

namespace overlay_inputs {

using geo::TContour;
using geo::TDPoint;

constexpr double Width = 10;
// Projected map coordinates: every input but the comb lies around here.
inline const TDPoint Far{500000, 6000000};

// Steps about the width long; every third step an arc when Arcs.
inline TContour Walk(int N, bool Arcs) {
  std::mt19937 Rng(42);
  std::uniform_real_distribution<double> Turn(-0.8, 0.8), Step(0.7 * Width, 1.3 * Width),
      Bulge(-0.5, 0.5);
  TContour C;
  TDPoint P = Far;
  C.AddMoveTo(P);
  double Dir = 0;
  for (int I = 1; I < N; ++I) {
    Dir += Turn(Rng);
    const double L = Step(Rng);
    P = {P.X + L * std::cos(Dir), P.Y + L * std::sin(Dir)};
    if (Arcs && I % 3 == 0)
      C.AddArcTo(P, Bulge(Rng));
    else
      C.AddLineTo(P);
  }
  return C;
}

// Star Which (0 or 1) of a pair of N points, radii in [500, 1000], the second
// moved by (300, 200). Straight: points at random radii (as the collected
// cases' generator makes them). Arcs: petals whose every other edge is an
// arc, valid polygons (tests/support/shapes.h).
inline TContour Star(int N, int Which, bool Arcs) {
  std::mt19937 Rng(1 + Which);
  const TDPoint O{Far.X + 300 * Which, Far.Y + 200 * Which};
  if (Arcs) return test_shapes::PetalStar(Rng, O, 1000, N, 1);
  return test_shapes::RegularStar(Rng, O, 1000, N, 0.02, 0, 1);
}

// N discs of radii 10 to 60 in a square of 2 000: about ten over every point
// at 10 000.
inline std::vector<TContour> Discs(int N) {
  std::mt19937 Rng(9);
  std::uniform_real_distribution<double> Pos(-1000, 1000), Rad(10, 60);
  std::vector<TContour> Out(N);
  for (TContour& C : Out) {
    const TDPoint O{Far.X + Pos(Rng), Far.Y + Pos(Rng)};
    test_shapes::AddDisc(C, O, Rad(Rng));
  }
  return Out;
}

// A comb of 4 000 teeth near the origin, zoned 0.3 wide.
constexpr double CombWidth = 0.3;
inline TContour Comb() {
  std::ifstream In(TRACE_BENCH_DATA "/comb4000.wkt");
  std::stringstream S;
  S << In.rdbuf();
  return std::move(geomio::ReadInput(S.str())[0].Contour);
}

// A square with N x N round holes, and a bar across them.
inline void HolesAndBar(int N, TContour& A, TContour& B) {
  A.AddMoveTo(Far);
  A.AddLineTo({Far.X, Far.Y + N});
  A.AddLineTo({Far.X + N, Far.Y + N});
  A.AddLineTo({Far.X + N, Far.Y});
  A.AddClose();
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J) {
      const TDPoint P{Far.X + I + 0.25, Far.Y + J + 0.25};
      A.AddMoveTo(P);
      A.AddArcTo({P.X + 0.5, P.Y}, 0.4);
      A.AddArcTo(P, 0.4);
      A.AddClose();
    }
  const double X = Far.X + N / 2.0;
  B.AddMoveTo({X, Far.Y - 1});
  B.AddLineTo({X + 0.1, Far.Y - 1});
  B.AddLineTo({X + 0.1, Far.Y + N + 1});
  B.AddClose();
}

// The parts of a contour as point lists, arcs at 8 chords a quarter circle
// (a closed part's first point is not repeated at its end).
inline std::vector<std::vector<TDPoint>> LinearizeParts(const TContour& C) {
  std::vector<std::vector<TDPoint>> Parts;
  geo::TContourEdgeIter It;
  for (bool More = It.Start(C); More; More = It.Next()) {
    const geo::TEdge& E = It.Edge;
    if (It.IsFirstOfPart()) Parts.push_back({E.P1});
    if (geo::IsArc(E)) {
      const int N =
          std::max(1, static_cast<int>(std::ceil(std::fabs(E.Angle) / (std::numbers::pi / 16))));
      const double A0 = std::atan2(E.P1.Y - E.Center.Y, E.P1.X - E.Center.X);
      for (int K = 1; K < N; ++K) {
        const double A = A0 + E.Angle * K / N;
        Parts.back().push_back(
            {E.Center.X + E.Radius * std::cos(A), E.Center.Y + E.Radius * std::sin(A)});
      }
    }
    if (!(It.IsLastOfPart() && It.IsClosedPart())) Parts.back().push_back(E.P2);
  }
  return Parts;
}

// What every row reports beside its time: the result's area (peers without
// arcs measure their linearisation), its vertices, and the most heap in use
// during one run of the operation.
inline void Report(benchmark::State& State, double Area, double Vertices, double PeakMB) {
  State.counters["area"] = Area;
  State.counters["out_vertices"] = Vertices;
  State.counters["peak_MB"] = PeakMB;
}

}  // namespace overlay_inputs
