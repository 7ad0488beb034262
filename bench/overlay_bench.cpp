// The overlay engine beside GEOS (8 segments a quarter circle) on the same
// inputs in the same run: buffer zones of random walks (straight and with
// arcs), Boolean operations of two large stars, the union of many discs, a
// square with many round holes united with a bar, and the zone of a comb.
// Only the operation is timed; the area that shows both sides agree is
// computed once afterwards.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

#include "addonlib/geometry/edge_iter.h"
#include "addonlib/overlay/overlay.h"
#include "geomio/enclosed_area.h"
#include "geomio/input_reader.h"
#include "geomio/wkt_writer.h"
#include "shapes.h"
#include "trace/engine/buffer_zone.h"

namespace {

using geo::TContour;
using geo::TDPoint;

constexpr double Width = 10;
const TDPoint Far{500000, 6000000};

// Steps about the width long; every third step an arc when Arcs.
TContour Walk(int N, bool Arcs) {
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

// A star of N points around O, radii in [500, 1000] (as the collected cases'
// generator makes them); Arcs bends every other edge.
TContour Star(int N, TDPoint O, unsigned Seed, bool Arcs) {
  std::mt19937 Rng(Seed);
  return test_shapes::RegularStar(Rng, O, 1000, N, 0.02, Arcs ? 2 : 0, 1);
}

std::vector<TContour> Discs(int N) {
  std::mt19937 Rng(9);
  std::uniform_real_distribution<double> Pos(-1000, 1000), Rad(10, 60);
  std::vector<TContour> Out(N);
  for (TContour& C : Out) {
    const TDPoint O{Far.X + Pos(Rng), Far.Y + Pos(Rng)};
    test_shapes::AddDisc(C, O, Rad(Rng));
  }
  return Out;
}

TContour Comb() {
  std::ifstream In(TRACE_BENCH_DATA "/comb4000.wkt");
  std::stringstream S;
  S << In.rdbuf();
  return std::move(geomio::ReadInput(S.str())[0].Contour);
}

// The parts of a contour as point lists, arcs at 8 chords a quarter circle.
std::vector<std::vector<TDPoint>> LinearizeParts(const TContour& C) {
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

// GEOS geometry of a contour, arcs at 8 segments a quarter circle: open
// parts as line strings, closed ones as polygons (each ring its own).
struct TGeos {
  GEOSContextHandle_t H = GEOS_init_r();
  ~TGeos() { GEOS_finish_r(H); }

  GEOSGeometry* Of(const TContour& C, bool Polygon) {
    const std::vector<std::vector<TDPoint>> Parts = LinearizeParts(C);
    std::vector<GEOSGeometry*> Gs;
    for (const auto& Pts : Parts) {
      const bool Close = Polygon && Pts.size() >= 3;
      GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(H, Pts.size() + (Close ? 1 : 0), 2);
      for (size_t I = 0; I < Pts.size(); ++I) GEOSCoordSeq_setXY_r(H, Seq, I, Pts[I].X, Pts[I].Y);
      if (Close) {
        GEOSCoordSeq_setXY_r(H, Seq, Pts.size(), Pts[0].X, Pts[0].Y);
        Gs.push_back(GEOSGeom_createPolygon_r(H, GEOSGeom_createLinearRing_r(H, Seq), nullptr, 0));
      } else {
        Gs.push_back(GEOSGeom_createLineString_r(H, Seq));
      }
    }
    if (Gs.size() == 1) return Gs[0];
    return GEOSGeom_createCollection_r(H, GEOS_GEOMETRYCOLLECTION, Gs.data(),
                                       static_cast<unsigned>(Gs.size()));
  }
};

void Report(benchmark::State& State, double Area, size_t Vertices) {
  State.counters["area"] = Area;
  State.counters["out_vertices"] = static_cast<double>(Vertices);
}

// ---- Buffer zones of random walks ----

void BM_Ours_Buffer(benchmark::State& State) {
  const TContour Source = Walk(static_cast<int>(State.range(0)), State.range(1) != 0);
  double Area = 0;
  int32_t N = 0;
  TContour Zone;
  for (auto _ : State) {
    Zone = TContour();
    trace::BuildBufferZone(Source, Zone, Width);
  }
  Area = geomio::EnclosedArea(Zone);
  N = Zone.CommandCount();
  Report(State, Area, static_cast<size_t>(N));
}

void BM_Geos_Buffer(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Line = G.Of(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), false);
  double Area = 0;
  int N = 0;
  for (auto _ : State) {
    GEOSGeometry* B = GEOSBuffer_r(G.H, Line, Width, 8);
    GEOSArea_r(G.H, B, &Area);
    N = GEOSGetNumCoordinates_r(G.H, B);
    GEOSGeom_destroy_r(G.H, B);
  }
  Report(State, Area, static_cast<size_t>(N));
  GEOSGeom_destroy_r(G.H, Line);
}

// ---- Writing a finished zone ----
// The zone is built once; only what a writer does with it is timed: the
// nesting of its holes under the outer ring (the area) and the whole WKT.
// GEOS's peers are its area and its WKT of its own zone of the same walk.

void BM_Ours_ZoneArea(benchmark::State& State) {
  TContour Zone;
  trace::BuildBufferZone(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), Zone, Width);
  double Area = 0;
  for (auto _ : State) Area = geomio::EnclosedArea(Zone);
  Report(State, Area, static_cast<size_t>(Zone.CommandCount()));
}

void BM_Geos_ZoneArea(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Line = G.Of(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), false);
  GEOSGeometry* B = GEOSBuffer_r(G.H, Line, Width, 8);
  double Area = 0;
  for (auto _ : State) GEOSArea_r(G.H, B, &Area);
  Report(State, Area, static_cast<size_t>(GEOSGetNumCoordinates_r(G.H, B)));
  GEOSGeom_destroy_r(G.H, B);
  GEOSGeom_destroy_r(G.H, Line);
}

void BM_Ours_ZoneWkt(benchmark::State& State) {
  TContour Zone;
  trace::BuildBufferZone(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), Zone, Width);
  size_t Length = 0;
  for (auto _ : State) Length = geomio::WktOfContour(Zone).size();
  State.counters["chars"] = static_cast<double>(Length);
}

void BM_Geos_ZoneWkt(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Line = G.Of(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), false);
  GEOSGeometry* B = GEOSBuffer_r(G.H, Line, Width, 8);
  GEOSWKTWriter* W = GEOSWKTWriter_create_r(G.H);
  GEOSWKTWriter_setTrim_r(G.H, W, 1);
  size_t Length = 0;
  for (auto _ : State) {
    char* Text = GEOSWKTWriter_write_r(G.H, W, B);
    Length = std::strlen(Text);
    GEOSFree_r(G.H, Text);
  }
  State.counters["chars"] = static_cast<double>(Length);
  GEOSWKTWriter_destroy_r(G.H, W);
  GEOSGeom_destroy_r(G.H, B);
  GEOSGeom_destroy_r(G.H, Line);
}

// ---- Two stars ----

void BM_Ours_Stars(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const bool Arcs = State.range(2) != 0;
  const TContour A = Star(N, Far, 1, Arcs), B = Star(N, {Far.X + 300, Far.Y + 200}, 2, Arcs);
  const auto Op = static_cast<geoalg::TOverlayOp>(State.range(1));
  double Area = 0;
  int32_t Count = 0;
  TContour R;
  for (auto _ : State) R = geoalg::OverlayContours(A, B, Op);
  Area = geomio::EnclosedArea(R);
  Count = R.CommandCount();
  Report(State, Area, static_cast<size_t>(Count));
}

void BM_Geos_Stars(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const bool Arcs = State.range(2) != 0;
  TGeos G;
  GEOSGeometry* A = G.Of(Star(N, Far, 1, Arcs), true);
  GEOSGeometry* B = G.Of(Star(N, {Far.X + 300, Far.Y + 200}, 2, Arcs), true);
  double Area = 0;
  int Count = 0;
  for (auto _ : State) {
    GEOSGeometry* R = State.range(1) == 0 ? GEOSUnion_r(G.H, A, B) : GEOSIntersection_r(G.H, A, B);
    GEOSArea_r(G.H, R, &Area);
    Count = GEOSGetNumCoordinates_r(G.H, R);
    GEOSGeom_destroy_r(G.H, R);
  }
  Report(State, Area, static_cast<size_t>(Count));
  GEOSGeom_destroy_r(G.H, A);
  GEOSGeom_destroy_r(G.H, B);
}

// ---- Union of discs ----

void BM_Ours_Discs(benchmark::State& State) {
  const std::vector<TContour> D = Discs(static_cast<int>(State.range(0)));
  std::vector<const TContour*> Ptrs;
  for (const TContour& C : D) Ptrs.push_back(&C);
  double Area = 0;
  int32_t Count = 0;
  TContour U;
  for (auto _ : State) U = geoalg::UniteContours(Ptrs);
  Area = geomio::EnclosedArea(U);
  Count = U.CommandCount();
  Report(State, Area, static_cast<size_t>(Count));
}

void BM_Geos_Discs(benchmark::State& State) {
  TGeos G;
  const std::vector<TContour> D = Discs(static_cast<int>(State.range(0)));
  std::vector<GEOSGeometry*> Gs;
  for (const TContour& C : D) Gs.push_back(G.Of(C, true));
  GEOSGeometry* Coll = GEOSGeom_createCollection_r(G.H, GEOS_GEOMETRYCOLLECTION, Gs.data(),
                                                   static_cast<unsigned>(Gs.size()));
  double Area = 0;
  int Count = 0;
  for (auto _ : State) {
    GEOSGeometry* U = GEOSUnaryUnion_r(G.H, Coll);
    GEOSArea_r(G.H, U, &Area);
    Count = GEOSGetNumCoordinates_r(G.H, U);
    GEOSGeom_destroy_r(G.H, U);
  }
  Report(State, Area, static_cast<size_t>(Count));
  GEOSGeom_destroy_r(G.H, Coll);
}

// ---- A square with N x N round holes, united with a bar across them ----

void HolesAndBar(int N, TContour& A, TContour& B) {
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

void BM_Ours_Holes(benchmark::State& State) {
  TContour A, B, R;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  for (auto _ : State) R = geoalg::OverlayContours(A, B, geoalg::TOverlayOp::Union);
  Report(State, geomio::EnclosedArea(R), static_cast<size_t>(R.CommandCount()));
}

void BM_Geos_Holes(benchmark::State& State) {
  TGeos G;
  TContour A, B;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  // One polygon: the first ring its shell, the others its holes.
  std::vector<GEOSGeometry*> Rings;
  for (const auto& Pts : LinearizeParts(A)) {
    GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(G.H, Pts.size() + 1, 2);
    for (size_t I = 0; I <= Pts.size(); ++I)
      GEOSCoordSeq_setXY_r(G.H, Seq, I, Pts[I % Pts.size()].X, Pts[I % Pts.size()].Y);
    Rings.push_back(GEOSGeom_createLinearRing_r(G.H, Seq));
  }
  GEOSGeometry* PA = GEOSGeom_createPolygon_r(G.H, Rings[0], Rings.data() + 1,
                                              static_cast<unsigned>(Rings.size() - 1));
  GEOSGeometry* PB = G.Of(B, true);
  double Area = 0;
  int Count = 0;
  for (auto _ : State) {
    GEOSGeometry* U = GEOSUnion_r(G.H, PA, PB);
    GEOSArea_r(G.H, U, &Area);
    Count = GEOSGetNumCoordinates_r(G.H, U);
    GEOSGeom_destroy_r(G.H, U);
  }
  Report(State, Area, static_cast<size_t>(Count));
  GEOSGeom_destroy_r(G.H, PA);
  GEOSGeom_destroy_r(G.H, PB);
}

// ---- The comb ----

void BM_Ours_Comb(benchmark::State& State) {
  const TContour C = Comb();
  double Area = 0;
  TContour Zone;
  for (auto _ : State) {
    Zone = TContour();
    trace::BuildBufferZone(C, Zone, 0.3);
  }
  Area = geomio::EnclosedArea(Zone);
  State.counters["area"] = Area;
}

void BM_Geos_Comb(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Poly = G.Of(Comb(), true);
  double Area = 0;
  for (auto _ : State) {
    GEOSGeometry* B = GEOSBuffer_r(G.H, Poly, 0.3, 8);
    GEOSArea_r(G.H, B, &Area);
    GEOSGeom_destroy_r(G.H, B);
  }
  State.counters["area"] = Area;
  GEOSGeom_destroy_r(G.H, Poly);
}

// Args: vertices, arcs.
BENCHMARK(BM_Ours_Buffer)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Buffer)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);
// Args: vertices, arcs.
BENCHMARK(BM_Ours_ZoneArea)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_ZoneArea)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_ZoneWkt)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_ZoneWkt)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
// Args: vertices, operation (0 union, 1 intersection), arcs.
BENCHMARK(BM_Ours_Stars)
    ->Args({10000, 0, 0})
    ->Args({10000, 1, 0})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Stars)
    ->Args({10000, 0, 0})
    ->Args({10000, 1, 0})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Comb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Comb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
