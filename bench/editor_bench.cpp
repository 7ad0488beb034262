// A click of the trace editor on a zone of 100 000 vertices: the nearest
// point by the k-d tree, the shortest path half way round the outline and
// its commands written to the host's contour (the reference host's map
// model). Beside it the nearest point by
// the literal scan of every vertex, which the index replaces. Then a mouse
// move with the preview of the path a click would add, drawn by the host
// over the picture it kept, beside the full repaint that it spares.
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

// The editor installed in the view, a trace started at vertex 0, the view
// showing the whole outline (5 m a pixel: 40 vertices a pixel) or a corner
// of it near the trace's start (0.5 m a pixel).
struct TMoveSetup {
  TBenchHost Host;
  TMoveSetup() {
    Host.SetUp();
    AddZone(Host.Graph);
    Host.MakeEditor();
    Host.Host.View().SetEditor(Host.Editor->Editor());
  }
  ~TMoveSetup() {
    Host.Host.View().DropEditor();
    Host.TearDown();
  }
  void Start(bool Whole) {
    const TDPoint P0 = *Host.Graph.Vertices.Ptr(0);
    if (Whole)
      Host.SetView(OX, OY, 5);
    else
      Host.SetView(P0.X - 100, P0.Y + 60, 0.5);
    Host.Editor->UndoAll();
    Host.Click(P0.X, P0.Y);
    Host.Host.View().Render();
  }
  // The cursor 3 pixels off vertex I (it snaps there).
  kx::TKxViewPoint Near(int I) {
    const TDPoint P = *Host.Graph.Vertices.Ptr(I % ZoneVertices);
    const kx::TKxViewPoint D = Host.Pixel(P.X, P.Y);
    return {D.X + 3, D.Y};
  }
  // One move as the host's map view takes it: the editor's MouseMove, then
  // the overlay redrawn over the picture kept.
  void Move(kx::TKxViewPoint At) {
    Host.Editor->MouseMove(0, At);
    Host.Host.View().RenderOverlay();
  }
};

TMoveSetup& MoveSetup() {
  static TMoveSetup S;
  return S;
}

// Moves about one target: the path comes from the editor's cache and the
// time goes into drawing it. Arg 0: the target a quarter round away, the
// whole outline in view (a path of 25 000 edges); 1: 400 vertices on, in a
// view of the corner.
void BM_MouseMoveSameTarget(benchmark::State& State) {
  TMoveSetup& S = MoveSetup();
  const bool Whole = State.range(0) == 0;
  S.Start(Whole);
  const int Target = Whole ? ZoneVertices / 4 : 400;
  const kx::TKxViewPoint At = S.Near(Target);
  int Step = 0;
  for (auto _ : State) S.Move({At.X, At.Y + (Step++ % 2)});
  State.counters["overlay_records"] =
      static_cast<double>(S.Host.Host.View().DrawLog().size() - S.Host.Host.View().OverlayStart());
}
BENCHMARK(BM_MouseMoveSameTarget)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Every move to another vertex: a search each time, the worst a move costs.
void BM_MouseMoveNewTarget(benchmark::State& State) {
  TMoveSetup& S = MoveSetup();
  const bool Whole = State.range(0) == 0;
  S.Start(Whole);
  int Target = Whole ? ZoneVertices / 4 : 400;
  for (auto _ : State) {
    // Whole: 40 vertices a pixel, 200 on is another pixel and vertex.
    Target += Whole ? 200 : 1;
    S.Move(S.Near(Target));
  }
}
BENCHMARK(BM_MouseMoveNewTarget)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What a move cost before the overlay: the whole repaint, the zone and
// every vertex mark with it.
void BM_FullRepaint(benchmark::State& State) {
  TMoveSetup& S = MoveSetup();
  S.Start(State.range(0) == 0);
  for (auto _ : State) S.Host.Host.View().Render(true);
  State.counters["records"] = static_cast<double>(S.Host.Host.View().DrawLog().size());
}
BENCHMARK(BM_FullRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
