// A click of the trace editor on a zone of 100 000 vertices: the nearest
// point by the k-d tree, the shortest path half way round the outline and
// its commands written to the host's contour (the reference host's map
// model). Beside it the nearest point by
// the literal scan of every vertex, which the index replaces.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include "editor_fixture.h"
#include "trace/editor/gully_editor.h"

namespace {

using geo::TDPoint;

constexpr int ZoneVertices = 100000;
constexpr double OX = 500000, OY = 6000000, Radius = 2000;

// A closed wavy outline far from the origin, every fourth edge an arc.
void AddZone(trace::TGConnectGraph& Graph) {
  geo::TContour Z;
  for (int I = 0; I < ZoneVertices; ++I) {
    const double A = 2 * std::numbers::pi * I / ZoneVertices;
    const double R = Radius + 3 * std::sin(A * 500);
    const TDPoint P{OX + R * std::cos(A), OY + R * std::sin(A)};
    if (I == 0)
      Z.AddMoveTo(P);
    else if (I % 4 == 0)
      Z.AddArcTo(P, 0.05);
    else
      Z.AddLineTo(P);
  }
  Z.AddClose();
  Graph.AddContour(Z);
}

struct TBenchHost : tracetest::EditorTest {
  void TestBody() override {}
};

struct TSetup {
  TBenchHost Host;
  TSetup() {
    Host.SetUp();
    Host.SetView(OX, OY, 0.05);
    AddZone(Host.Graph);
    Host.MakeEditor();
  }
  ~TSetup() { Host.TearDown(); }
};

TSetup& Shared() {
  static TSetup S;
  return S;
}

// Two clicks half way round the outline from each other: a move, then a
// path of about 50 000 edges.
void BM_ClickAlongZone(benchmark::State& State) {
  TSetup& S = Shared();
  auto& E = *S.Host.Editor;
  std::mt19937 Rng(5);
  std::uniform_int_distribution<int> Pick(0, ZoneVertices - 1);
  for (auto _ : State) {
    State.PauseTiming();
    E.UndoAll();
    const int From = Pick(Rng);
    const int To = (From + ZoneVertices / 2) % ZoneVertices;
    const TDPoint PF = *S.Host.Graph.Vertices.Ptr(From);
    const TDPoint PT = *S.Host.Graph.Vertices.Ptr(To);
    S.Host.Click(PF.X, PF.Y);
    State.ResumeTiming();
    S.Host.Click(PT.X, PT.Y);
    benchmark::DoNotOptimize(E.Elems.Count());
  }
  State.counters["commands"] = static_cast<double>(S.Host.Trace().size());
}
BENCHMARK(BM_ClickAlongZone)->Unit(benchmark::kMillisecond);

// The search alone, for the share of the click that it takes.
void BM_ShortestPathHalfRound(benchmark::State& State) {
  TSetup& S = Shared();
  std::mt19937 Rng(5);
  std::uniform_int_distribution<int> Pick(0, ZoneVertices - 1);
  for (auto _ : State) {
    const int From = Pick(Rng);
    int32_t Last;
    benchmark::DoNotOptimize(
        S.Host.Graph.FindShortestPath(From, (From + ZoneVertices / 2) % ZoneVertices, -1, Last));
  }
}
BENCHMARK(BM_ShortestPathHalfRound)->Unit(benchmark::kMillisecond);

std::vector<TDPoint> Queries() {
  std::mt19937 Rng(9);
  std::uniform_real_distribution<double> U(-Radius * 1.2, Radius * 1.2);
  std::vector<TDPoint> Q;
  for (int I = 0; I < 1000; ++I) Q.push_back({OX + U(Rng), OY + U(Rng)});
  return Q;
}

void BM_NearestPointIndex(benchmark::State& State) {
  TSetup& S = Shared();
  const auto Q = Queries();
  size_t I = 0;
  for (auto _ : State) benchmark::DoNotOptimize(S.Host.Editor->FindNearestPoint(Q[I++ % Q.size()]));
}
BENCHMARK(BM_NearestPointIndex)->Unit(benchmark::kMicrosecond);

// The literal scan: every vertex in index order, a later one only when
// strictly nearer.
void BM_NearestPointLiteralScan(benchmark::State& State) {
  TSetup& S = Shared();
  const auto Q = Queries();
  const auto& V = S.Host.Graph.Vertices;
  size_t I = 0;
  for (auto _ : State) {
    const TDPoint P = Q[I++ % Q.size()];
    int32_t Best = 0;
    double BestD = trace::SquaredDistance(*V.Ptr(0), P);
    for (int32_t K = 1; K < V.Count(); ++K) {
      const double D = trace::SquaredDistance(*V.Ptr(K), P);
      if (D < BestD) {
        BestD = D;
        Best = K;
      }
    }
    benchmark::DoNotOptimize(Best);
  }
}
BENCHMARK(BM_NearestPointLiteralScan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
