// Boolean operations: the union graph beside GEOS on the same shapes.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

#include "addonlib/algebra/union_graph.h"

namespace {

using geo::TContour;
using geo::TDPoint;

std::vector<TDPoint> Star(uint32_t Seed, int N, TDPoint C, double R) {
  std::mt19937 Rng(Seed);
  std::uniform_real_distribution<double> Rad(0.5 * R, R);
  std::vector<TDPoint> Pts;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * I / N, Q = Rad(Rng);
    Pts.push_back({C.X + Q * std::cos(A), C.Y + Q * std::sin(A)});
  }
  return Pts;
}

TContour ToContour(const std::vector<TDPoint>& Pts) {
  TContour C;
  C.AddMoveTo(Pts[0]);
  for (size_t I = 1; I < Pts.size(); ++I) C.AddLineTo(Pts[I]);
  C.AddClose();
  return C;
}

struct Geos {
  GEOSContextHandle_t H = GEOS_init_r();
  ~Geos() { GEOS_finish_r(H); }
  GEOSGeometry* Polygon(const std::vector<TDPoint>& Pts) const {
    GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(H, Pts.size() + 1, 2);
    for (size_t I = 0; I <= Pts.size(); ++I)
      GEOSCoordSeq_setXY_r(H, Seq, I, Pts[I % Pts.size()].X, Pts[I % Pts.size()].Y);
    return GEOSGeom_createPolygon_r(H, GEOSGeom_createLinearRing_r(H, Seq), nullptr, 0);
  }
};

const TDPoint Origin{500000, 6000000};

void Ours(benchmark::State& State, geoalg::TUnionOperation Op) {
  const int N = static_cast<int>(State.range(0));
  const TContour A = ToContour(Star(1, N, Origin, 1000));
  const TContour B = ToContour(Star(2, N, {Origin.X + 300, Origin.Y + 200}, 1000));
  for (auto _ : State) {
    TContour R;
    geoalg::CombineContoursReference(A, B, Op, 1e-4, R);
    benchmark::DoNotOptimize(R.CommandCount());
  }
}

void Peer(benchmark::State& State, int Op) {
  const int N = static_cast<int>(State.range(0));
  Geos G;
  GEOSGeometry* A = G.Polygon(Star(1, N, Origin, 1000));
  GEOSGeometry* B = G.Polygon(Star(2, N, {Origin.X + 300, Origin.Y + 200}, 1000));
  for (auto _ : State) {
    GEOSGeometry* R = Op == 0 ? GEOSUnion_r(G.H, A, B) : GEOSIntersection_r(G.H, A, B);
    benchmark::DoNotOptimize(R);
    GEOSGeom_destroy_r(G.H, R);
  }
  GEOSGeom_destroy_r(G.H, A);
  GEOSGeom_destroy_r(G.H, B);
}

void BM_Ours_StarUnion(benchmark::State& S) {
  Ours(S, geoalg::TUnionOperation::Union);
}
void BM_Geos_StarUnion(benchmark::State& S) {
  Peer(S, 0);
}
void BM_Ours_StarIntersection(benchmark::State& S) {
  Ours(S, geoalg::TUnionOperation::Intersection);
}
void BM_Geos_StarIntersection(benchmark::State& S) {
  Peer(S, 1);
}
BENCHMARK(BM_Ours_StarUnion)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_StarUnion)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_StarIntersection)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_StarIntersection)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

std::vector<TDPoint> DiscCentres(int N) {
  std::mt19937 Rng(9);
  const double Side = 10 * std::sqrt(static_cast<double>(N));
  std::uniform_real_distribution<double> U(0, Side);
  std::vector<TDPoint> C;
  for (int I = 0; I < N; ++I) C.push_back({Origin.X + U(Rng), Origin.Y + U(Rng)});
  return C;
}

void BM_Ours_DiscUnion(benchmark::State& State) {
  const auto Centres = DiscCentres(static_cast<int>(State.range(0)));
  std::vector<TContour> Discs;
  for (const TDPoint& C : Centres) {
    TContour D;  // a full circle of radius 8 as two half circles
    D.AddMoveTo({C.X + 8, C.Y});
    D.AddArcTo({C.X - 8, C.Y}, 1);
    D.AddCloseArc(1);
    Discs.push_back(std::move(D));
  }
  for (auto _ : State) {
    geoalg::TGUnionGraphBigReference U;
    U.SkipSmall = true;
    U.SplitTolerance = 1e-4;
    for (const TContour& D : Discs) U.Add(D);
    benchmark::DoNotOptimize(U.Result.CommandCount());
  }
}

void BM_Geos_DiscUnion(benchmark::State& State) {
  const auto Centres = DiscCentres(static_cast<int>(State.range(0)));
  Geos G;
  std::vector<GEOSGeometry*> Discs;
  for (const TDPoint& C : Centres) {
    GEOSGeometry* P = GEOSGeom_createPointFromXY_r(G.H, C.X, C.Y);
    Discs.push_back(GEOSBuffer_r(G.H, P, 8, 8));
    GEOSGeom_destroy_r(G.H, P);
  }
  for (auto _ : State) {
    std::vector<GEOSGeometry*> Copies;
    for (auto* D : Discs) Copies.push_back(GEOSGeom_clone_r(G.H, D));
    GEOSGeometry* Coll = GEOSGeom_createCollection_r(G.H, GEOS_GEOMETRYCOLLECTION, Copies.data(),
                                                     static_cast<unsigned>(Copies.size()));
    GEOSGeometry* U = GEOSUnaryUnion_r(G.H, Coll);
    benchmark::DoNotOptimize(U);
    GEOSGeom_destroy_r(G.H, U);
    GEOSGeom_destroy_r(G.H, Coll);
  }
  for (auto* D : Discs) GEOSGeom_destroy_r(G.H, D);
}

BENCHMARK(BM_Ours_DiscUnion)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Geos_DiscUnion)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
