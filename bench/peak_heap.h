// The peak of heap memory in use, for benchmarks that report it beside the
// time: every allocation through operator new in the program is counted, the
// peers' included, when the program links peak_heap.cpp (which replaces the
// global operator new and delete).
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace bench_heap {

inline std::atomic<long> InUse{0}, Peak{0};

inline void Count(long Bytes) {
  const long Now = InUse.fetch_add(Bytes, std::memory_order_relaxed) + Bytes;
  long P = Peak.load(std::memory_order_relaxed);
  while (Now > P && !Peak.compare_exchange_weak(P, Now, std::memory_order_relaxed)) {
  }
}

// Counted raw allocation, for libraries that take allocation functions.
inline void* Allocate(std::size_t N) {
  void* P = std::malloc(N ? N : 1);
  if (P) Count(static_cast<long>(malloc_usable_size(P)));
  return P;
}

inline void Release(void* P) {
  if (P) Count(-static_cast<long>(malloc_usable_size(P)));
  std::free(P);
}

// The most in use above the level at Start, over every span between Start
// and Stop.
class TPeak {
 public:
  void Start() {
    Before = InUse.load();
    Peak = Before;
  }
  void Stop() { Most = std::max(Most, Peak.load() - Before); }
  double MB() const { return static_cast<double>(Most) / (1 << 20); }

 private:
  long Before = 0, Most = 0;
};

// Runs Op, which returns a result, under the benchmark's loop, the heap
// counted during each run; the last run's result is kept, the one before
// freed ahead of each run.
template <class TResult, class TOp>
TResult RunCounted(benchmark::State& State, TPeak& Heap, TOp Op) {
  TResult R{};
  for (auto _ : State) {
    R = TResult();
    Heap.Start();
    R = Op();
    Heap.Stop();
  }
  return R;
}

}  // namespace bench_heap
