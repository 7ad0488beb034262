// The host's map model at 100 000 objects (the sample town tiled 20 x 20):
// lookups by ID and by rectangle beside a plain scan over every object and
// beside a GEOS STRtree over the same bounds.
//
// Reported per lookup; "found" is the mean number of objects a query of the
// shared query set meets, the same for every program that is right.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/tiled_town.h"
#include "host/model/project_file.h"

namespace {

using namespace host;

struct TTown {
  THostProject Project;
  std::vector<TKxID> IDs;
  geo::TDRect Bounds{};
};

const TTown& Town() {
  static const std::unique_ptr<TTown> T = [] {
    auto T = std::make_unique<TTown>();
    T->Project = bench::TiledSampleTown(100000, &T->IDs);
    T->Project.Bounds(T->Bounds);
    // The rectangle index is built at the first lookup: not in a timing.
    T->Project.ObjectsInRect(T->Bounds);
    return T;
  }();
  return *T;
}

// Query rectangles of Side x Side metres, all over the town: 200 m is a
// typical view; 0 stands for the whole town, as a view of it all draws.
std::vector<geo::TDRect> Queries(std::int64_t Side) {
  const TTown& T = Town();
  if (Side == 0) return {T.Bounds};
  const auto S = static_cast<double>(Side);
  std::mt19937 Rng(5);
  std::uniform_real_distribution<double> X(T.Bounds.X1, T.Bounds.X2 - S),
      Y(T.Bounds.Y1, T.Bounds.Y2 - S);
  std::vector<geo::TDRect> Q;
  for (int I = 0; I < 256; ++I) {
    const double X1 = X(Rng), Y1 = Y(Rng);
    Q.push_back({X1, Y1, X1 + S, Y1 + S});
  }
  return Q;
}

void ById(benchmark::State& State) {
  const TTown& T = Town();
  std::size_t I = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(T.Project.FindObject(T.IDs[(I * 7919) % T.IDs.size()]));
    ++I;
  }
  State.counters["objects"] = static_cast<double>(T.Project.ObjectCount());
}
BENCHMARK(ById);

void ByIdScan(benchmark::State& State) {
  const TTown& T = Town();
  const auto All = T.Project.Objects();
  std::size_t I = 0;
  for (auto _ : State) {
    const TKxID& Want = T.IDs[(I * 7919) % T.IDs.size()];
    const THostMapObject* Found = nullptr;
    for (const THostMapObject* O : All)
      if (O->ID == Want) {
        Found = O;
        break;
      }
    benchmark::DoNotOptimize(Found);
    ++I;
  }
}
BENCHMARK(ByIdScan);

void ByRect(benchmark::State& State) {
  const TTown& T = Town();
  const auto Q = Queries(State.range(0));
  std::size_t I = 0;
  for (auto _ : State) {
    const auto R = T.Project.ObjectsInRect(Q[I++ % Q.size()]);
    benchmark::DoNotOptimize(R.data());
  }
  double Found = 0;
  for (const geo::TDRect& R : Q) Found += static_cast<double>(T.Project.ObjectsInRect(R).size());
  State.counters["found"] = Found / static_cast<double>(Q.size());
}
BENCHMARK(ByRect)->Arg(200)->Arg(0);

// The same lookup with no order and no list: each object handed to a
// callback, as the GEOS tree below hands its items.
void ByRectVisit(benchmark::State& State) {
  const TTown& T = Town();
  const auto Q = Queries(State.range(0));
  std::size_t I = 0;
  for (auto _ : State) {
    std::size_t N = 0;
    T.Project.VisitObjectsInRect(Q[I++ % Q.size()], [&](const THostMapObject& O) {
      benchmark::DoNotOptimize(&O);
      ++N;
    });
    benchmark::DoNotOptimize(N);
  }
  double Found = 0;
  for (const geo::TDRect& R : Q)
    T.Project.VisitObjectsInRect(R, [&](const THostMapObject&) { ++Found; });
  State.counters["found"] = Found / static_cast<double>(Q.size());
}
BENCHMARK(ByRectVisit)->Arg(200)->Arg(0);

void ByRectScan(benchmark::State& State) {
  const TTown& T = Town();
  const auto Q = Queries(State.range(0));
  const auto All = T.Project.Objects();
  const auto Scan = [&](const geo::TDRect& R) {
    std::vector<const THostMapObject*> Out;
    for (const THostMapObject* O : All)
      if (O->Bounds.X1 <= R.X2 && R.X1 <= O->Bounds.X2 && O->Bounds.Y1 <= R.Y2 &&
          R.Y1 <= O->Bounds.Y2)
        Out.push_back(O);
    return Out;
  };
  std::size_t I = 0;
  for (auto _ : State) {
    const auto Out = Scan(Q[I++ % Q.size()]);
    benchmark::DoNotOptimize(Out.data());
  }
  double Found = 0;
  for (const geo::TDRect& R : Q) Found += static_cast<double>(Scan(R).size());
  State.counters["found"] = Found / static_cast<double>(Q.size());
}
BENCHMARK(ByRectScan)->Arg(200)->Arg(0);

struct TGeosTree {
  GEOSContextHandle_t Ctx = GEOS_init_r();
  GEOSSTRtree* Tree = GEOSSTRtree_create_r(Ctx, 10);
  std::vector<GEOSGeometry*> Envelopes;
  TGeosTree() {
    for (const THostMapObject* O : Town().Project.Objects()) {
      GEOSGeometry* E = Box(O->Bounds);
      Envelopes.push_back(E);
      GEOSSTRtree_insert_r(Ctx, Tree, E, const_cast<THostMapObject*>(O));
    }
  }
  ~TGeosTree() {
    GEOSSTRtree_destroy_r(Ctx, Tree);
    for (GEOSGeometry* E : Envelopes) GEOSGeom_destroy_r(Ctx, E);
    GEOS_finish_r(Ctx);
  }
  GEOSGeometry* Box(const geo::TDRect& R) const {
    GEOSCoordSequence* S = GEOSCoordSeq_create_r(Ctx, 5, 2);
    const double X[5] = {R.X1, R.X2, R.X2, R.X1, R.X1}, Y[5] = {R.Y1, R.Y1, R.Y2, R.Y2, R.Y1};
    for (unsigned I = 0; I < 5; ++I) GEOSCoordSeq_setXY_r(Ctx, S, I, X[I], Y[I]);
    return GEOSGeom_createPolygon_r(Ctx, GEOSGeom_createLinearRing_r(Ctx, S), nullptr, 0);
  }
};

void Collect(void* Item, void* Out) {
  static_cast<std::vector<const THostMapObject*>*>(Out)->push_back(
      static_cast<const THostMapObject*>(Item));
}

void ByRectGeos(benchmark::State& State) {
  static TGeosTree G;
  const auto Q = Queries(State.range(0));
  std::vector<GEOSGeometry*> Boxes;
  for (const geo::TDRect& R : Q) Boxes.push_back(G.Box(R));
  std::size_t I = 0;
  for (auto _ : State) {
    std::vector<const THostMapObject*> Out;
    GEOSSTRtree_query_r(G.Ctx, G.Tree, Boxes[I++ % Boxes.size()], Collect, &Out);
    benchmark::DoNotOptimize(Out.data());
  }
  double Found = 0;
  for (GEOSGeometry* B : Boxes) {
    std::vector<const THostMapObject*> Out;
    GEOSSTRtree_query_r(G.Ctx, G.Tree, B, Collect, &Out);
    Found += static_cast<double>(Out.size());
  }
  State.counters["found"] = Found / static_cast<double>(Boxes.size());
  for (GEOSGeometry* B : Boxes) GEOSGeom_destroy_r(G.Ctx, B);
}
BENCHMARK(ByRectGeos)->Arg(200)->Arg(0);

}  // namespace

BENCHMARK_MAIN();
