// CGAL on the overlay benchmarks' arc inputs (overlay_bench runs ours, GEOS
// and Clipper on the same): exact circle-segment Booleans (a
// General_polygon_set_2 over Gps_circle_segment_traits_2 with the
// exact-constructions kernel) of the two stars with arcs, of many discs and
// of the square of round holes with a bar, and the comb's zone by
// approximated_offset_2. Arcs reach CGAL as arcs, each the circle through
// its ends and its middle point, so its areas are those of the true shapes,
// as ours are. peak_MB counts operator new and GMP's allocations, where the
// exact numbers live.
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/General_polygon_set_2.h>
#include <CGAL/Gps_circle_segment_traits_2.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/approximated_offset_2.h>
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "overlay_inputs.h"
#include "peak_heap.h"

namespace {

using namespace overlay_inputs;
using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Traits = CGAL::Gps_circle_segment_traits_2<Kernel>;
using PolygonSet = CGAL::General_polygon_set_2<Traits>;
using GPolygon = Traits::Polygon_2;
using GPolygonWithHoles = Traits::Polygon_with_holes_2;
using XCurve = Traits::X_monotone_curve_2;

// GMP's memory through the heap counter.
void* GmpAllocate(size_t N) {
  return bench_heap::Allocate(N);
}
void* GmpReallocate(void* P, size_t, size_t N) {
  void* Q = bench_heap::Allocate(N);
  if (P) std::memcpy(Q, P, std::min(N, malloc_usable_size(P)));
  bench_heap::Release(P);
  return Q;
}
void GmpFree(void* P, size_t) {
  bench_heap::Release(P);
}
const bool CountGmp = [] {
  mp_set_memory_functions(GmpAllocate, GmpReallocate, GmpFree);
  return true;
}();

Kernel::Point_2 Exact(const TDPoint& P) {
  return {P.X, P.Y};
}

// Every part of C as a polygon of x-monotone pieces, in the contour's
// direction (the stars and discs run counter-clockwise, as CGAL wants).
std::vector<GPolygon> ToCgal(const TContour& C) {
  Traits Tr;
  const auto Split = Tr.make_x_monotone_2_object();
  std::vector<GPolygon> Out;
  std::vector<boost::variant<Traits::Point_2, XCurve>> Pieces;
  geo::TContourEdgeIter It;
  for (bool More = It.Start(C); More; More = It.Next()) {
    const geo::TEdge& E = It.Edge;
    if (It.IsFirstOfPart()) Out.emplace_back();
    Pieces.clear();
    if (geo::IsArc(E)) {
      const double A = std::atan2(E.P1.Y - E.Center.Y, E.P1.X - E.Center.X) + E.Angle / 2;
      const TDPoint M{E.Center.X + E.Radius * std::cos(A), E.Center.Y + E.Radius * std::sin(A)};
      Split(Traits::Curve_2(Exact(E.P1), Exact(M), Exact(E.P2)), std::back_inserter(Pieces));
    } else {
      Split(Traits::Curve_2(Exact(E.P1), Exact(E.P2)), std::back_inserter(Pieces));
    }
    for (const auto& P : Pieces)
      if (const XCurve* X = boost::get<XCurve>(&P)) Out.back().push_back(*X);
  }
  return Out;
}

// A coordinate in double from its exact value: the lazy numbers' own
// approximations are intervals that can be far wider than a double's error.
double Dbl(const Kernel::FT& V) {
  return CGAL::to_double(CGAL::exact(V));
}
double Dbl(const Traits::Point_2::CoordNT& V) {
  return V.is_extended() ? Dbl(V.a0()) + Dbl(V.a1()) * std::sqrt(Dbl(V.root())) : Dbl(V.a0());
}

// Signed area under a boundary, relative to O: the chords' shoelace and, for
// arcs, the circular segment between arc and chord. An x-monotone arc sweeps
// at most a half circle, so its sweep is read from its ends, turned by a
// full circle only when the sign disagrees with its orientation near a half
// circle (a tiny piece whose sweep rounds to the wrong sign is left so).
double BoundaryArea(const GPolygon& P, TDPoint O) {
  double Sum = 0;
  for (auto E = P.curves_begin(); E != P.curves_end(); ++E) {
    const double X1 = Dbl(E->source().x()) - O.X, Y1 = Dbl(E->source().y()) - O.Y;
    const double X2 = Dbl(E->target().x()) - O.X, Y2 = Dbl(E->target().y()) - O.Y;
    Sum += (X1 * Y2 - X2 * Y1) / 2;
    if (E->is_linear()) continue;
    const auto K = E->supporting_circle();
    const double CX = Dbl(K.center().x()) - O.X, CY = Dbl(K.center().y()) - O.Y;
    const double AX = X1 - CX, AY = Y1 - CY, BX = X2 - CX, BY = Y2 - CY;
    double Sweep = std::atan2(AX * BY - AY * BX, AX * BX + AY * BY);
    if (E->orientation() == CGAL::COUNTERCLOCKWISE && Sweep < -std::numbers::pi / 2)
      Sweep += 2 * std::numbers::pi;
    else if (E->orientation() == CGAL::CLOCKWISE && Sweep > std::numbers::pi / 2)
      Sweep -= 2 * std::numbers::pi;
    Sum += Dbl(K.squared_radius()) / 2 * (Sweep - std::sin(Sweep));
  }
  return Sum;
}

double AreaOf(const GPolygonWithHoles& P, TDPoint O, double& Vertices) {
  double A = BoundaryArea(P.outer_boundary(), O);
  Vertices += static_cast<double>(P.outer_boundary().size());
  for (auto H = P.holes_begin(); H != P.holes_end(); ++H) {
    A += BoundaryArea(*H, O);
    Vertices += static_cast<double>(H->size());
  }
  return A;
}

void ReportSet(benchmark::State& State, const PolygonSet& S, const bench_heap::TPeak& Heap) {
  std::vector<GPolygonWithHoles> All;
  S.polygons_with_holes(std::back_inserter(All));
  double Area = 0, Vertices = 0;
  for (const GPolygonWithHoles& P : All) Area += AreaOf(P, Far, Vertices);
  Report(State, Area, Vertices, Heap.MB());
}

// ---- Two stars with arcs ----

void BM_Cgal_Stars(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const GPolygon A = ToCgal(Star(N, 0, true))[0], B = ToCgal(Star(N, 1, true))[0];
  bench_heap::TPeak Heap;
  PolygonSet S;
  for (auto _ : State) {
    S.clear();
    Heap.Start();
    S.insert(A);
    if (State.range(1) == 0)
      S.join(B);
    else
      S.intersection(B);
    Heap.Stop();
  }
  ReportSet(State, S, Heap);
}

// ---- Union of discs ----

void BM_Cgal_Discs(benchmark::State& State) {
  std::vector<GPolygon> D;
  for (const TContour& C : Discs(static_cast<int>(State.range(0)))) D.push_back(ToCgal(C)[0]);
  bench_heap::TPeak Heap;
  PolygonSet S;
  for (auto _ : State) {
    S.clear();
    Heap.Start();
    S.join(D.begin(), D.end());
    Heap.Stop();
  }
  ReportSet(State, S, Heap);
}

// ---- A square with round holes, united with a bar ----

void BM_Cgal_Holes(benchmark::State& State) {
  TContour A, B;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  // CGAL's outer boundaries run counter-clockwise, its holes clockwise.
  std::vector<GPolygon> Rings = ToCgal(A);
  for (size_t I = 0; I < Rings.size(); ++I)
    if ((Rings[I].orientation() == CGAL::CLOCKWISE) == (I == 0)) Rings[I].reverse_orientation();
  const GPolygonWithHoles Square(Rings[0], Rings.begin() + 1, Rings.end());
  GPolygon Bar = ToCgal(B)[0];
  if (Bar.orientation() == CGAL::CLOCKWISE) Bar.reverse_orientation();
  bench_heap::TPeak Heap;
  PolygonSet S;
  for (auto _ : State) {
    S.clear();
    Heap.Start();
    S.insert(Square);
    S.join(Bar);
    Heap.Stop();
  }
  ReportSet(State, S, Heap);
}

// ---- The comb's zone ----

void BM_Cgal_Comb(benchmark::State& State) {
  CGAL::Polygon_2<Kernel> P;
  const std::vector<std::vector<TDPoint>> Parts = LinearizeParts(Comb());
  for (const TDPoint& Q : Parts[0]) P.push_back(Exact(Q));
  if (P.is_clockwise_oriented()) P.reverse_orientation();
  // The offset's arcs are exact circles with rational ends found within Eps.
  const double Eps = 1e-5;
  bench_heap::TPeak Heap;
  GPolygonWithHoles Z;
  for (auto _ : State) {
    Z = GPolygonWithHoles();
    Heap.Start();
    Z = CGAL::approximated_offset_2(P, CombWidth, Eps);
    Heap.Stop();
  }
  double Vertices = 0;
  const double Area = AreaOf(Z, {0, 0}, Vertices);
  Report(State, Area, Vertices, Heap.MB());
}

// Args: vertices, operation (0 union, 1 intersection).
BENCHMARK(BM_Cgal_Stars)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cgal_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cgal_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cgal_Comb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
