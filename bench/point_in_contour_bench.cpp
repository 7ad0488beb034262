// PointInContour on large contours against GEOS and Boost.Geometry on the
// same straight-edged polygon; shows linear time (complexity fit) and no
// allocation per edge (allocs_per_call counter). The prepared locator
// stands beside GEOS's prepared geometry.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/point_in_contour.h"

namespace {

std::atomic<long> Allocations{0};

}  // namespace

// Counting every allocation of the program; malloc and free underneath.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t N) {
  Allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* P = std::malloc(N ? N : 1)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept {
  std::free(P);
}
void operator delete(void* P, std::size_t) noexcept {
  std::free(P);
}

namespace {

using geo::TDPoint;

// A wavy star polygon of N vertices around projected map coordinates: many
// edges cross every horizontal line, as in a detailed zone outline.
std::vector<TDPoint> Star(int N) {
  std::vector<TDPoint> V;
  V.reserve(static_cast<size_t>(N));
  for (int I = 0; I < N; ++I) {
    const double A = 2 * M_PI * I / N;
    const double R = 1000 * (1 + 0.3 * std::sin(37 * A)) * (I % 2 ? 1 : 0.97);
    V.push_back(TDPoint{500000 + R * std::cos(A), 6000000 + R * std::sin(A)});
  }
  return V;
}

std::vector<TDPoint> Probes() {
  std::mt19937_64 Rng(7);
  std::uniform_real_distribution<double> U(-1200, 1200);
  std::vector<TDPoint> P(64);
  for (TDPoint& Q : P) Q = TDPoint{500000 + U(Rng), 6000000 + U(Rng)};
  return P;
}

geo::TContour ContourOf(const std::vector<TDPoint>& V, bool Arcs) {
  geo::TContour C;
  C.AddMoveTo(V[0]);
  for (size_t I = 1; I < V.size(); ++I) {
    if (Arcs && I % 2)
      C.AddArcTo(V[I], 0.2);
    else
      C.AddLineTo(V[I]);
  }
  C.AddClose();
  return C;
}

// Prepared: through the locator, its index built outside the timing as
// GEOS's prepared geometry's is (the peer of BM_GeosPreparedContains).
void Trace(benchmark::State& State, bool Arcs, bool Prepared = false) {
  const int N = static_cast<int>(State.range(0));
  const geo::TContour C = ContourOf(Star(N), Arcs);
  const std::vector<TDPoint> P = Probes();
  geo::TContourLocator L(C);
  if (Prepared) L.Prepare();
  size_t K = 0;
  long Inside = 0;
  const long Before = Allocations.load();
  for (auto _ : State) {
    const TDPoint& Q = P[K++ % P.size()];
    Inside += (Prepared ? L.Locate(Q) : geo::PointInContour(C, Q)) == geo::TPointPlace::Inside;
    benchmark::DoNotOptimize(Inside);
  }
  State.counters["allocs_per_call"] = benchmark::Counter(
      static_cast<double>(Allocations.load() - Before) / static_cast<double>(State.iterations()));
  State.counters["inside"] = static_cast<double>(Inside) / static_cast<double>(State.iterations());
  State.SetComplexityN(N);
}

void BM_TracePointInContour(benchmark::State& State) {
  Trace(State, false);
}
void BM_TracePointInContourArcs(benchmark::State& State) {
  Trace(State, true);
}
void BM_TraceContourLocator(benchmark::State& State) {
  Trace(State, false, true);
}
void BM_TraceContourLocatorArcs(benchmark::State& State) {
  Trace(State, true, true);
}

void GeosNotice(const char*, ...) {}

GEOSGeometry* GeosPolygon(GEOSContextHandle_t H, const std::vector<TDPoint>& V) {
  GEOSCoordSequence* S = GEOSCoordSeq_create_r(H, static_cast<unsigned>(V.size() + 1), 2);
  for (size_t I = 0; I <= V.size(); ++I)
    GEOSCoordSeq_setXY_r(H, S, static_cast<unsigned>(I), V[I % V.size()].X, V[I % V.size()].Y);
  return GEOSGeom_createPolygon_r(H, GEOSGeom_createLinearRing_r(H, S), nullptr, 0);
}

void Geos(benchmark::State& State, bool Prepared) {
  const int N = static_cast<int>(State.range(0));
  GEOSContextHandle_t H = GEOS_init_r();
  GEOSContext_setNoticeHandler_r(H, GeosNotice);
  GEOSGeometry* Poly = GeosPolygon(H, Star(N));
  const GEOSPreparedGeometry* Prep = Prepared ? GEOSPrepare_r(H, Poly) : nullptr;
  std::vector<GEOSGeometry*> Pts;
  for (const TDPoint& Q : Probes()) Pts.push_back(GEOSGeom_createPointFromXY_r(H, Q.X, Q.Y));
  if (Prep)  // build the prepared index outside the timing
    for (GEOSGeometry* G : Pts) GEOSPreparedContains_r(H, Prep, G);
  size_t K = 0;
  long Inside = 0;
  for (auto _ : State) {
    GEOSGeometry* G = Pts[K++ % Pts.size()];
    Inside += (Prep ? GEOSPreparedContains_r(H, Prep, G) : GEOSContains_r(H, Poly, G)) == 1;
    benchmark::DoNotOptimize(Inside);
  }
  State.counters["inside"] = static_cast<double>(Inside) / static_cast<double>(State.iterations());
  State.SetComplexityN(N);
  for (GEOSGeometry* G : Pts) GEOSGeom_destroy_r(H, G);
  if (Prep) GEOSPreparedGeom_destroy_r(H, Prep);
  GEOSGeom_destroy_r(H, Poly);
  GEOS_finish_r(H);
}

void BM_GeosContains(benchmark::State& State) {
  Geos(State, false);
}
void BM_GeosPreparedContains(benchmark::State& State) {
  Geos(State, true);
}

namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BPolygon = bg::model::polygon<BPoint>;

void BM_BoostWithin(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  BPolygon Poly;
  for (const TDPoint& V : Star(N)) bg::append(Poly.outer(), BPoint(V.X, V.Y));
  bg::correct(Poly);
  std::vector<BPoint> Pts;
  for (const TDPoint& Q : Probes()) Pts.emplace_back(Q.X, Q.Y);
  size_t K = 0;
  long Inside = 0;
  for (auto _ : State) {
    Inside += bg::within(Pts[K++ % Pts.size()], Poly);
    benchmark::DoNotOptimize(Inside);
  }
  State.counters["inside"] = static_cast<double>(Inside) / static_cast<double>(State.iterations());
  State.SetComplexityN(N);
}

#define SIZES RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
BENCHMARK(BM_TracePointInContour)->SIZES;
BENCHMARK(BM_TracePointInContourArcs)->SIZES;
BENCHMARK(BM_TraceContourLocator)->RangeMultiplier(10)->Range(1000, 100000);
BENCHMARK(BM_TraceContourLocatorArcs)->RangeMultiplier(10)->Range(1000, 100000);
BENCHMARK(BM_GeosContains)->SIZES;
BENCHMARK(BM_GeosPreparedContains)->SIZES;
BENCHMARK(BM_BoostWithin)->SIZES;

// Console output, then the time of each peer relative to ours at every size.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& R : Runs)
      if (R.run_type == Run::RT_Iteration) {
        const std::string Name = R.benchmark_name();
        const size_t Slash = Name.find('/');
        if (Slash != std::string::npos)
          Times[Name.substr(Slash)][Name.substr(0, Slash)] = R.GetAdjustedRealTime();
      }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [Size, ByName] : Times) {
      const auto Ours = ByName.find("BM_TracePointInContour");
      if (Ours == ByName.end()) continue;
      for (const auto& [Name, T] : ByName)
        if (Name != Ours->first)
          std::printf("size %s: %s / BM_TracePointInContour = %.2f\n", Size.c_str() + 1,
                      Name.c_str(), T / Ours->second);
    }
  }

 private:
  std::map<std::string, std::map<std::string, double>> Times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  return 0;
}
