// Buffer zones beside GEOS's buffer of the same random walks, and the
// shortest path along the outline of a large zone.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geomio/enclosed_area.h"
#include "trace/engine/buffer_zone.h"
#include "trace/engine/connect_graph.h"
#include "trace/engine/zone_batch.h"

namespace {

using geo::TContour;
using geo::TDPoint;

constexpr double Width = 10;

// A random walk with steps about the width long, far from the origin.
std::vector<TDPoint> Walk(int N) {
  std::mt19937 Rng(42);
  std::uniform_real_distribution<double> Turn(-0.8, 0.8), Step(0.7 * Width, 1.3 * Width);
  std::vector<TDPoint> Pts{{500000, 6000000}};
  double Dir = 0;
  for (int I = 1; I < N; ++I) {
    Dir += Turn(Rng);
    const double L = Step(Rng);
    Pts.push_back({Pts.back().X + L * std::cos(Dir), Pts.back().Y + L * std::sin(Dir)});
  }
  return Pts;
}

TContour ToContour(const std::vector<TDPoint>& Pts) {
  TContour C;
  C.AddMoveTo(Pts[0]);
  for (size_t I = 1; I < Pts.size(); ++I) C.AddLineTo(Pts[I]);
  return C;
}

void BM_Ours_Buffer(benchmark::State& State) {
  const TContour Source = ToContour(Walk(static_cast<int>(State.range(0))));
  double Area = 0;
  for (auto _ : State) {
    TContour Zone;
    trace::BuildBufferZone(Source, Zone, Width);
    Area = geomio::EnclosedArea(Zone);
  }
  State.counters["area"] = Area;
}

void BM_Geos_Buffer(benchmark::State& State) {
  const auto Pts = Walk(static_cast<int>(State.range(0)));
  GEOSContextHandle_t H = GEOS_init_r();
  GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(H, Pts.size(), 2);
  for (size_t I = 0; I < Pts.size(); ++I) GEOSCoordSeq_setXY_r(H, Seq, I, Pts[I].X, Pts[I].Y);
  GEOSGeometry* Line = GEOSGeom_createLineString_r(H, Seq);
  double Area = 0;
  for (auto _ : State) {
    GEOSGeometry* B = GEOSBuffer_r(H, Line, Width, 8);
    GEOSArea_r(H, B, &Area);
    GEOSGeom_destroy_r(H, B);
  }
  State.counters["area"] = Area;
  GEOSGeom_destroy_r(H, Line);
  GEOS_finish_r(H);
}

BENCHMARK(BM_Ours_Buffer)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_Buffer)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_Ours_ShortestPath(benchmark::State& State) {
  TContour Zone;
  trace::BuildBufferZone(ToContour(Walk(static_cast<int>(State.range(0)))), Zone, Width);
  trace::TGConnectGraph Graph;
  Graph.AddContour(Zone);
  const int32_t N = Graph.Vertices.Count();
  std::mt19937 Rng(7);
  std::uniform_int_distribution<int32_t> V(0, N - 1);
  int32_t Found = 0;
  for (auto _ : State) {
    int32_t Last;
    Found += Graph.FindShortestPath(V(Rng), V(Rng), -1, Last);
  }
  State.counters["vertices"] = N;
  State.counters["edges"] = Graph.Edges.Count();
  benchmark::DoNotOptimize(Found);
}

BENCHMARK(BM_Ours_ShortestPath)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The zones of a selection of 1 000 streets of 100 vertices each, on one
// thread and on every core: real time, since the work is shared.
void BM_Ours_SelectionZones(benchmark::State& State) {
  std::vector<TContour> Streets;
  for (int K = 0; K < 1000; ++K) {
    std::vector<TDPoint> Pts = Walk(100 + K % 7);
    for (TDPoint& P : Pts) P = {P.X + 40.0 * (K % 40), P.Y + 40.0 * (K / 40)};
    Streets.push_back(ToContour(Pts));
  }
  std::vector<const TContour*> Ptrs;
  for (const TContour& S : Streets) Ptrs.push_back(&S);
  for (auto _ : State) {
    std::vector<TContour> Zones;
    trace::BuildBufferZones(
        Ptrs, Width, Zones, [](size_t) { return true; }, static_cast<unsigned>(State.range(0)));
    benchmark::DoNotOptimize(Zones.data());
  }
  State.counters["threads"] = static_cast<double>(State.range(0));
}

BENCHMARK(BM_Ours_SelectionZones)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
