// Buffer zones of dense real-world shapes beside GEOS's buffer (8 segments a
// quarter circle) in the same run: circles sampled every 1.9 cm with
// coordinates rounded, stars of thin spikes, zigzags whose offsets overlap
// hundreds deep, and tangled random walks. Every source lies far from the
// origin, as projected map coordinates do, and the zone is 5 m wide. Each
// row reports the zone's area and the peak of heap memory in use during one
// run (every allocation of the program, GEOS's included, is counted).
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

#include "geomio/enclosed_area.h"
#include "peak_heap.h"
#include "trace/engine/buffer_zone.h"

namespace {

using geo::TContour;
using geo::TDPoint;

constexpr double Width = 5;
constexpr double X0 = 500000, Y0 = 6000000;

double Round(double V, double Unit) {
  return std::round(V / Unit) * Unit;
}

struct TShape {
  std::vector<TDPoint> Points;
  bool Closed = false;
};

// A circle sampled every 1.9 cm (its radius grows with N), coordinates
// rounded to Unit: the rounding turns the vertices a little either way.
TShape DenseCircle(int N, double Unit) {
  const double R = N * 0.019 / (2 * std::numbers::pi);
  TShape S{{}, true};
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * I / N;
    S.Points.push_back({Round(X0 + R + R * std::cos(A), Unit), Round(Y0 + R * std::sin(A), Unit)});
  }
  return S;
}

// A star of N vertices, every other one 20 m further out: N / 2 spikes
// around a circle of 300 m, coordinates rounded to 0.1 mm.
TShape Star(int N) {
  TShape S{{}, true};
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * I / N, R = I % 2 ? 320 : 300;
    S.Points.push_back({Round(X0 + R * std::cos(A), 1e-4), Round(Y0 + R * std::sin(A), 1e-4)});
  }
  return S;
}

// An open zigzag across 3 m, 5 cm further along at every vertex.
TShape ZigZag(int N) {
  TShape S;
  for (int I = 0; I < N; ++I) S.Points.push_back({X0 + 0.05 * I, Y0 + (I % 2 ? 3 : 0)});
  return S;
}

// An open random walk of 2 m steps that turns back at the sides of a square
// of 300 m: it crosses itself everywhere.
TShape TangledWalk(int N) {
  std::mt19937 Rng(42);
  std::uniform_real_distribution<double> Turn(-0.6, 0.6);
  TShape S;
  TDPoint P{X0 + 150, Y0 + 150};
  double Dir = 0;
  for (int I = 0; I < N; ++I) {
    S.Points.push_back({Round(P.X, 1e-3), Round(P.Y, 1e-3)});
    Dir += Turn(Rng);
    TDPoint Q{P.X + 2 * std::cos(Dir), P.Y + 2 * std::sin(Dir)};
    if (Q.X < X0 || Q.X > X0 + 300 || Q.Y < Y0 || Q.Y > Y0 + 300) {
      Dir += std::numbers::pi;
      Q = {P.X + 2 * std::cos(Dir), P.Y + 2 * std::sin(Dir)};
    }
    P = Q;
  }
  return S;
}

TContour ToContour(const TShape& S) {
  TContour C;
  C.AddMoveTo(S.Points[0]);
  for (size_t I = 1; I < S.Points.size(); ++I) C.AddLineTo(S.Points[I]);
  if (S.Closed) C.AddClose();
  return C;
}

GEOSGeometry* ToGeos(GEOSContextHandle_t H, const TShape& S) {
  const size_t N = S.Points.size() + (S.Closed ? 1 : 0);
  GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(H, static_cast<unsigned>(N), 2);
  for (size_t I = 0; I < N; ++I) {
    const TDPoint& P = S.Points[I % S.Points.size()];
    GEOSCoordSeq_setXY_r(H, Seq, static_cast<unsigned>(I), P.X, P.Y);
  }
  if (!S.Closed) return GEOSGeom_createLineString_r(H, Seq);
  return GEOSGeom_createPolygon_r(H, GEOSGeom_createLinearRing_r(H, Seq), nullptr, 0);
}

enum TKind { kCircle01mm, kCircle1mm, kStar, kZigZag, kWalk };

TShape Make(TKind K, int N) {
  switch (K) {
    case kCircle01mm:
      return DenseCircle(N, 1e-4);
    case kCircle1mm:
      return DenseCircle(N, 1e-3);
    case kStar:
      return Star(N);
    case kZigZag:
      return ZigZag(N);
    default:
      return TangledWalk(N);
  }
}

void Ours(benchmark::State& State, TKind K) {
  const TContour Source = ToContour(Make(K, static_cast<int>(State.range(0))));
  double Area = 0;
  bench_heap::TPeak Heap;
  for (auto _ : State) {
    Heap.Start();
    TContour Zone;
    trace::BuildBufferZone(Source, Zone, Width);
    Heap.Stop();
    Area = geomio::EnclosedArea(Zone);
  }
  State.counters["area"] = Area;
  State.counters["peak_MB"] = Heap.MB();
}

void Geos(benchmark::State& State, TKind K) {
  // GEOS's raw offsets cross quadratically in these: over 20 GB on the star
  // of 10^5 spikes (killed), minutes on the walk. Run them on purpose only.
  const bool Heavy = (K == kStar && State.range(0) >= 100000) || K == kWalk;
  if (Heavy && !std::getenv("TRACE_BENCH_HEAVY_PEERS")) {
    State.SkipWithError("GEOS needs minutes and tens of GB here: set TRACE_BENCH_HEAVY_PEERS=1");
    return;
  }
  GEOSContextHandle_t H = GEOS_init_r();
  GEOSGeometry* G = ToGeos(H, Make(K, static_cast<int>(State.range(0))));
  double Area = 0;
  bench_heap::TPeak Heap;
  for (auto _ : State) {
    Heap.Start();
    GEOSGeometry* B = GEOSBuffer_r(H, G, Width, 8);
    Heap.Stop();
    GEOSArea_r(H, B, &Area);
    GEOSGeom_destroy_r(H, B);
  }
  State.counters["area"] = Area;
  State.counters["peak_MB"] = Heap.MB();
  GEOSGeom_destroy_r(H, G);
  GEOS_finish_r(H);
}

#define ZONE_ROW(Name, Kind, ...)                                                          \
  BENCHMARK_CAPTURE(Ours, Name, Kind)->Args({__VA_ARGS__})->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(Geos, Name, Kind)->Args({__VA_ARGS__})->Unit(benchmark::kMillisecond)

ZONE_ROW(dense_circle_0_1mm, kCircle01mm, 100000);
ZONE_ROW(dense_circle_1mm, kCircle1mm, 100000);
ZONE_ROW(star, kStar, 10000);
ZONE_ROW(star, kStar, 100000);
ZONE_ROW(zigzag, kZigZag, 20000);
ZONE_ROW(walk, kWalk, 100000);
// The growth to a million vertices.
BENCHMARK_CAPTURE(Ours, dense_circle_0_1mm, kCircle01mm)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
