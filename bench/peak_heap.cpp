// Every operator new and delete of the program goes through the counter.
#include "peak_heap.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t N) {
  if (void* P = bench_heap::Allocate(N)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept {
  bench_heap::Release(P);
}
void operator delete(void* P, std::size_t) noexcept {
  bench_heap::Release(P);
}
#pragma GCC diagnostic pop
