// TIntervalIndex: a static index of closed intervals that answers which of
// them hold a value. The intervals are sorted by their lower ends; every
// subtree of the implicit balanced tree over that order knows the highest
// upper end below it, so a look-up skips whatever ends too low and stops
// where the lower ends pass the value.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace geo {

class TIntervalIndex {
 public:
  // Indexes [Lo[i], Hi[i]] as item i. A NaN end is taken as unbounded, so
  // that such an interval is found for every value rather than for none.
  void Build(const std::vector<double>& Lo, const std::vector<double>& Hi) {
    const size_t N = std::min(Lo.size(), Hi.size());
    constexpr double Inf = std::numeric_limits<double>::infinity();
    std::vector<std::pair<double, int32_t>> Order(N);
    for (size_t I = 0; I < N; ++I)
      Order[I] = {std::isnan(Lo[I]) ? -Inf : Lo[I], static_cast<int32_t>(I)};
    std::sort(Order.begin(), Order.end());
    FItem.resize(N);
    FLo.resize(N);
    FHi.resize(N);
    for (size_t K = 0; K < N; ++K) {
      FLo[K] = Order[K].first;
      FItem[K] = Order[K].second;
      FHi[K] = std::isnan(Hi[FItem[K]]) ? Inf : Hi[FItem[K]];
    }
    FMaxHi.assign(N, -Inf);
    FillMax(0, static_cast<int32_t>(N));
  }

  size_t Size() const { return FItem.size(); }

  // Calls Fn(item) for every interval that holds V, in no particular order,
  // until Fn returns true.
  template <class F>
  void Stab(double V, F&& Fn) const {
    if (FItem.empty()) return;
    // Each level leaves at most one range waiting: 64 entries outlast any
    // tree of 2^31 items.
    struct TRange {
      int32_t L, H;
    } Stack[64];
    int Top = 0;
    Stack[Top++] = {0, static_cast<int32_t>(FItem.size())};
    while (Top > 0) {
      const TRange R = Stack[--Top];
      if (R.L >= R.H) continue;
      const int32_t M = R.L + (R.H - R.L) / 2;
      if (!(FMaxHi[M] >= V)) continue;
      // Everything right of M starts at or above FLo[M].
      if (FLo[M] <= V) {
        if (FHi[M] >= V && Fn(FItem[M])) return;
        Stack[Top++] = {M + 1, R.H};
      }
      Stack[Top++] = {R.L, M};
    }
  }

 private:
  // The highest upper end in [L, H), stored at the range's middle.
  double FillMax(int32_t L, int32_t H) {
    if (L >= H) return -std::numeric_limits<double>::infinity();
    const int32_t M = L + (H - L) / 2;
    FMaxHi[M] = std::max({FHi[M], FillMax(L, M), FillMax(M + 1, H)});
    return FMaxHi[M];
  }

  std::vector<int32_t> FItem;  // items in the order of their lower ends
  std::vector<double> FLo, FHi, FMaxHi;
};

}  // namespace geo
