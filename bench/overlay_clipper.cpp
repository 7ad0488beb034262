// Clipper 1 on the overlay benchmarks' inputs (overlay_bench.cpp runs ours
// and GEOS on the same), in the same program: the Booleans of the two stars,
// the union of many discs, the holes and the bar, and the zones of the walks
// and of the comb by ClipperOffset with round joins and ends.
//
// Clipper works on integers: every input is moved by its origin (Far, or
// zero for the comb) and scaled by 1e4, so a unit is 0.1 mm and all
// coordinates stay below 2^30, where Clipper needs no 128-bit products. Arcs
// reach it as GEOS gets them, 8 chords a quarter circle, and ClipperOffset's
// ArcTolerance is set to draw its round joins and ends at 8 steps a quarter
// as well. The reported area is scaled back to map units.
#include <benchmark/benchmark.h>
#include <clipper.hpp>

#include <cmath>
#include <numbers>
#include <vector>

#include "overlay_inputs.h"
#include "peak_heap.h"

namespace {

using namespace overlay_inputs;
using ClipperLib::Paths;

constexpr double Scale = 1e4;

Paths ToPaths(const TContour& C, TDPoint Origin) {
  Paths Out;
  for (const auto& Pts : LinearizeParts(C)) {
    ClipperLib::Path P;
    P.reserve(Pts.size());
    for (const TDPoint& Q : Pts)
      P.emplace_back(std::llround((Q.X - Origin.X) * Scale),
                     std::llround((Q.Y - Origin.Y) * Scale));
    Out.push_back(std::move(P));
  }
  return Out;
}

// Runs Op (which returns the result) under the benchmark's loop and reports
// the last result's area in map units.
template <class TOp>
void Run(benchmark::State& State, TOp Op) {
  bench_heap::TPeak Heap;
  const Paths R = bench_heap::RunCounted<Paths>(State, Heap, Op);
  double Area = 0, Vertices = 0;
  for (const ClipperLib::Path& P : R) {
    Area += ClipperLib::Area(P);
    Vertices += static_cast<double>(P.size());
  }
  Report(State, Area / (Scale * Scale), Vertices, Heap.MB());
}

// The union (or another Boolean) of subject and clip, each read even-odd.
void Boolean(benchmark::State& State, const Paths& A, const Paths& B, ClipperLib::ClipType Op) {
  Run(State, [&] {
    Paths R;
    ClipperLib::Clipper C;
    C.AddPaths(A, ClipperLib::ptSubject, true);
    C.AddPaths(B, ClipperLib::ptClip, true);
    C.Execute(Op, R, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return R;
  });
}

// The zone W wide, round joins and ends at 8 steps a quarter circle.
void Offset(benchmark::State& State, const Paths& Source, ClipperLib::EndType End, double W) {
  const double Delta = W * Scale;
  Run(State, [&] {
    Paths R;
    ClipperLib::ClipperOffset O(2.0, Delta * (1 - std::cos(std::numbers::pi / 32)));
    O.AddPaths(Source, ClipperLib::jtRound, End);
    O.Execute(R, Delta);
    return R;
  });
}

void BM_Clipper_Buffer(benchmark::State& State) {
  const Paths Line = ToPaths(Walk(static_cast<int>(State.range(0)), State.range(1) != 0), Far);
  Offset(State, Line, ClipperLib::etOpenRound, Width);
}

void BM_Clipper_Stars(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const bool Arcs = State.range(2) != 0;
  Boolean(State, ToPaths(Star(N, 0, Arcs), Far), ToPaths(Star(N, 1, Arcs), Far),
          State.range(1) == 0 ? ClipperLib::ctUnion : ClipperLib::ctIntersection);
}

void BM_Clipper_Discs(benchmark::State& State) {
  Paths All;
  for (const TContour& C : Discs(static_cast<int>(State.range(0))))
    All.push_back(ToPaths(C, Far)[0]);
  // Discs overlap one another: their union is what non-zero fills.
  Run(State, [&] {
    Paths R;
    ClipperLib::Clipper C;
    C.AddPaths(All, ClipperLib::ptSubject, true);
    C.Execute(ClipperLib::ctUnion, R, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return R;
  });
}

void BM_Clipper_Holes(benchmark::State& State) {
  TContour A, B;
  HolesAndBar(static_cast<int>(State.range(0)), A, B);
  Boolean(State, ToPaths(A, Far), ToPaths(B, Far), ClipperLib::ctUnion);
}

void BM_Clipper_Comb(benchmark::State& State) {
  Offset(State, ToPaths(Comb(), {0, 0}), ClipperLib::etClosedPolygon, CombWidth);
}

BENCHMARK(BM_Clipper_Buffer)->ArgsProduct({{10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clipper_Stars)->ArgsProduct({{10000}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clipper_Discs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clipper_Holes)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clipper_Comb)->Unit(benchmark::kMillisecond);

}  // namespace
