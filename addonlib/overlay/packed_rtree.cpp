#include "addonlib/overlay/packed_rtree.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace geoalg::overlay {

namespace {

geo::TDRect Cover(const geo::TDRect& A, const geo::TDRect& B) {
  return {std::min(A.X1, B.X1), std::min(A.Y1, B.Y1), std::max(A.X2, B.X2), std::max(A.Y2, B.Y2)};
}

// Orders Order (indices into Boxes) tile by tile: slices of about
// sqrt(n / FanOut) nodes by centre x, each sorted by centre y.
template <class GetBox>
void SortTiles(std::vector<int32_t>& Order, GetBox&& Box, int32_t FanOut) {
  const size_t N = Order.size();
  auto CX = [&](int32_t I) { return Box(I).X1 + Box(I).X2; };
  auto CY = [&](int32_t I) { return Box(I).Y1 + Box(I).Y2; };
  std::sort(Order.begin(), Order.end(), [&](int32_t A, int32_t B) { return CX(A) < CX(B); });
  const size_t Nodes = (N + FanOut - 1) / FanOut;
  const size_t Slices = std::max<size_t>(1, static_cast<size_t>(std::ceil(std::sqrt(Nodes))));
  const size_t PerSlice = ((Nodes + Slices - 1) / Slices) * FanOut;
  for (size_t S = 0; S < N; S += PerSlice) {
    const auto End = Order.begin() + static_cast<std::ptrdiff_t>(std::min(N, S + PerSlice));
    std::sort(Order.begin() + static_cast<std::ptrdiff_t>(S), End,
              [&](int32_t A, int32_t B) { return CY(A) < CY(B); });
  }
}

}  // namespace

void TPackedRTree::Build(const std::vector<geo::TDRect>& Boxes) {
  FNodes.clear();
  FItems.resize(Boxes.size());
  for (size_t I = 0; I < Boxes.size(); ++I) FItems[I] = static_cast<int32_t>(I);
  if (Boxes.empty()) return;
  SortTiles(
      FItems, [&](int32_t I) -> const geo::TDRect& { return Boxes[I]; }, FanOut);
  FItemBoxes.resize(Boxes.size());
  for (size_t I = 0; I < Boxes.size(); ++I) FItemBoxes[I] = Boxes[FItems[I]];
  // Leaves over runs of items, then levels of nodes until one is left.
  for (size_t I = 0; I < FItems.size(); I += FanOut) {
    TNode N{FItemBoxes[I], static_cast<int32_t>(I),
            static_cast<int32_t>(std::min<size_t>(FanOut, FItems.size() - I)), true};
    for (int32_t K = 1; K < N.Count; ++K) N.Box = Cover(N.Box, FItemBoxes[I + K]);
    FNodes.push_back(N);
  }
  size_t LevelStart = 0;
  while (FNodes.size() - LevelStart > 1) {
    const size_t LevelEnd = FNodes.size();
    std::vector<int32_t> Order;
    for (size_t I = LevelStart; I < LevelEnd; ++I) Order.push_back(static_cast<int32_t>(I));
    SortTiles(
        Order, [&](int32_t I) -> const geo::TDRect& { return FNodes[I].Box; }, FanOut);
    // Children of one parent must be consecutive: copy this level in tile
    // order behind the parents' level would break indices, so the sorted
    // level is appended anew and the parents point into the copy.
    const size_t CopyStart = FNodes.size();
    for (int32_t I : Order) FNodes.push_back(FNodes[I]);
    const size_t CopyEnd = FNodes.size();
    for (size_t I = CopyStart; I < CopyEnd; I += FanOut) {
      TNode N{FNodes[I].Box, static_cast<int32_t>(I),
              static_cast<int32_t>(std::min<size_t>(FanOut, CopyEnd - I)), false};
      for (int32_t K = 1; K < N.Count; ++K) N.Box = Cover(N.Box, FNodes[I + K].Box);
      FNodes.push_back(N);
    }
    LevelStart = CopyEnd;
  }
}

}  // namespace geoalg::overlay
