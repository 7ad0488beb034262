// The overlay engine beside GEOS (8 segments a quarter circle) and Clipper
// (overlay_clipper.cpp) on the same inputs in the same run: buffer zones of
// random walks (straight and with arcs), Boolean operations of two large
// stars (straight, and with arcs that never cross), the union of many discs,
// a square with many round holes united with a bar, and the zone of a comb.
// Only the operation is timed; the area that shows the sides agree is
// computed once afterwards. peak_MB is the most heap in use during one run
// of the operation, every allocation of the program counted.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cstring>
#include <vector>

#include "addonlib/overlay/overlay.h"
#include "geomio/enclosed_area.h"
#include "geomio/wkt_writer.h"
#include "overlay_inputs.h"
#include "peak_heap.h"
#include "trace/engine/buffer_zone.h"

namespace {

using namespace overlay_inputs;

// GEOS geometry of a contour, arcs at 8 segments a quarter circle: open
// parts as line strings, closed ones as polygons (each ring its own, or,
// with Holes, the first ring the shell and the others its holes).
struct TGeos {
  GEOSContextHandle_t H = GEOS_init_r();
  ~TGeos() { GEOS_finish_r(H); }

  GEOSCoordSequence* Sequence(const std::vector<TDPoint>& Pts, bool Close) {
    GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(H, Pts.size() + (Close ? 1 : 0), 2);
    for (size_t I = 0; I < Pts.size() + (Close ? 1 : 0); ++I)
      GEOSCoordSeq_setXY_r(H, Seq, I, Pts[I % Pts.size()].X, Pts[I % Pts.size()].Y);
    return Seq;
  }

  GEOSGeometry* Of(const TContour& C, bool Polygon, bool Holes = false) {
    std::vector<GEOSGeometry*> Gs;
    for (const auto& Pts : LinearizeParts(C)) {
      const bool Close = Polygon && Pts.size() >= 3;
      GEOSCoordSequence* Seq = Sequence(Pts, Close);
      if (!Close)
        Gs.push_back(GEOSGeom_createLineString_r(H, Seq));
      else if (Holes)
        Gs.push_back(GEOSGeom_createLinearRing_r(H, Seq));
      else
        Gs.push_back(GEOSGeom_createPolygon_r(H, GEOSGeom_createLinearRing_r(H, Seq), nullptr, 0));
    }
    if (Holes)
      return GEOSGeom_createPolygon_r(H, Gs[0], Gs.data() + 1,
                                      static_cast<unsigned>(Gs.size() - 1));
    if (Gs.size() == 1) return Gs[0];
    return GEOSGeom_createCollection_r(H, GEOS_GEOMETRYCOLLECTION, Gs.data(),
                                       static_cast<unsigned>(Gs.size()));
  }

  // Runs Op (which returns a new geometry) under the benchmark's loop and
  // reports the last result; Inputs are destroyed afterwards.
  template <class TOp>
  void Run(benchmark::State& State, TOp Op, std::vector<GEOSGeometry*> Inputs) {
    bench_heap::TPeak Heap;
    GEOSGeometry* R = nullptr;
    for (auto _ : State) {
      if (R) GEOSGeom_destroy_r(H, R);
      Heap.Start();
      R = Op();
      Heap.Stop();
    }
    double Area = 0;
    GEOSArea_r(H, R, &Area);
    Report(State, Area, GEOSGetNumCoordinates_r(H, R), Heap.MB());
    GEOSGeom_destroy_r(H, R);
    for (GEOSGeometry* G : Inputs) GEOSGeom_destroy_r(H, G);
  }
};

// Runs Op (which returns our result contour) under the benchmark's loop.
template <class TOp>
void RunOurs(benchmark::State& State, TOp Op) {
  bench_heap::TPeak Heap;
  const TContour R = bench_heap::RunCounted<TContour>(State, Heap, Op);
  Report(State, geomio::EnclosedArea(R), R.CommandCount(), Heap.MB());
}

TContour Zone(const TContour& Source, double W) {
  TContour Z;
  trace::BuildBufferZone(Source, Z, W);
  return Z;
}

// ---- Buffer zones of random walks ----

void BM_Ours_Buffer(benchmark::State& State) {
  const TContour Source = Walk(static_cast<int>(State.range(0)), State.range(1) != 0);
  RunOurs(State, [&] { return Zone(Source, Width); });
}

void BM_Geos_Buffer(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Line = G.Of(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), false);
  G.Run(State, [&] { return GEOSBuffer_r(G.H, Line, Width, 8); }, {Line});
}

// ---- Writing a finished zone ----
// The zone is built once; only what a writer does with it is timed: the
// nesting of its holes under the outer ring (the area) and the whole WKT.
// GEOS's peers are its area and its WKT of its own zone of the same walk.

void BM_Ours_ZoneArea(benchmark::State& State) {
  const TContour Z = Zone(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), Width);
  double Area = 0;
  for (auto _ : State) Area = geomio::EnclosedArea(Z);
  State.counters["area"] = Area;
}

void BM_Geos_ZoneArea(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Line = G.Of(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), false);
  GEOSGeometry* B = GEOSBuffer_r(G.H, Line, Width, 8);
  double Area = 0;
  for (auto _ : State) GEOSArea_r(G.H, B, &Area);
  State.counters["area"] = Area;
  GEOSGeom_destroy_r(G.H, B);
  GEOSGeom_destroy_r(G.H, Line);
}

void BM_Ours_ZoneWkt(benchmark::State& State) {
  const TContour Z = Zone(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), Width);
  size_t Length = 0;
  for (auto _ : State) Length = geomio::WktOfContour(Z).size();
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
  const TContour A = Star(N, 0, Arcs), B = Star(N, 1, Arcs);
  const auto Op = static_cast<geoalg::TOverlayOp>(State.range(1));
  RunOurs(State, [&] { return geoalg::OverlayContours(A, B, Op); });
}

void BM_Geos_Stars(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const bool Arcs = State.range(2) != 0;
  TGeos G;
  GEOSGeometry* A = G.Of(Star(N, 0, Arcs), true);
  GEOSGeometry* B = G.Of(Star(N, 1, Arcs), true);
  // The arc stars are built to be valid; say so if GEOS disagrees.
  if (GEOSisValid_r(G.H, A) != 1 || GEOSisValid_r(G.H, B) != 1)
    State.SkipWithError("an input star is not a valid polygon");
  const bool Union = State.range(1) == 0;
  G.Run(State, [&] { return Union ? GEOSUnion_r(G.H, A, B) : GEOSIntersection_r(G.H, A, B); },
        {A, B});
}

// ---- Union of discs ----

void BM_Ours_Discs(benchmark::State& State) {
  const std::vector<TContour> D = Discs(static_cast<int>(State.range(0)));
  std::vector<const TContour*> Ptrs;
  for (const TContour& C : D) Ptrs.push_back(&C);
  RunOurs(State, [&] { return geoalg::UniteContours(Ptrs); });
}

void BM_Geos_Discs(benchmark::State& State) {
  TGeos G;
  std::vector<GEOSGeometry*> Gs;
  for (const TContour& C : Discs(static_cast<int>(State.range(0)))) Gs.push_back(G.Of(C, true));
  GEOSGeometry* Coll = GEOSGeom_createCollection_r(G.H, GEOS_GEOMETRYCOLLECTION, Gs.data(),
                                                   static_cast<unsigned>(Gs.size()));
  G.Run(State, [&] { return GEOSUnaryUnion_r(G.H, Coll); }, {Coll});
}

// ---- A square with N x N round holes, united with a bar across them ----

void BM_Ours_Holes(benchmark::State& State) {
  TContour A, B;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  RunOurs(State, [&] { return geoalg::OverlayContours(A, B, geoalg::TOverlayOp::Union); });
}

void BM_Geos_Holes(benchmark::State& State) {
  TGeos G;
  TContour A, B;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  GEOSGeometry* PA = G.Of(A, true, true);
  GEOSGeometry* PB = G.Of(B, true);
  G.Run(State, [&] { return GEOSUnion_r(G.H, PA, PB); }, {PA, PB});
}

// ---- The comb ----

void BM_Ours_Comb(benchmark::State& State) {
  const TContour C = Comb();
  RunOurs(State, [&] { return Zone(C, CombWidth); });
}

void BM_Geos_Comb(benchmark::State& State) {
  TGeos G;
  GEOSGeometry* Poly = G.Of(Comb(), true);
  G.Run(State, [&] { return GEOSBuffer_r(G.H, Poly, CombWidth, 8); }, {Poly});
}

// Args: vertices, arcs.
#define WALK_ROWS(Name) \
  BENCHMARK(Name)->ArgsProduct({{10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond)
WALK_ROWS(BM_Ours_Buffer);
WALK_ROWS(BM_Geos_Buffer);
WALK_ROWS(BM_Ours_ZoneArea);
BENCHMARK(BM_Geos_ZoneArea)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_ZoneWkt)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_ZoneWkt)->Args({10000, 0})->Args({100000, 0})->Unit(benchmark::kMillisecond);
// Args: vertices, operation (0 union, 1 intersection), arcs.
#define STAR_ROWS(Name) \
  BENCHMARK(Name)->ArgsProduct({{10000}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)
STAR_ROWS(BM_Ours_Stars);
STAR_ROWS(BM_Geos_Stars);
BENCHMARK(BM_Ours_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Comb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Comb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
