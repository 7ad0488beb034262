#include "addonlib/overlay/packed_rtree.h"

#include <algorithm>
#include <cstddef>

namespace geoalg::overlay {

namespace {

// Position of the cell (X, Y) along the Hilbert curve over 2^16 x 2^16 cells.
uint32_t HilbertIndex(uint32_t X, uint32_t Y) {
  constexpr uint32_t N = 1u << 16;
  uint32_t D = 0;
  for (uint32_t S = N / 2; S > 0; S /= 2) {
    const uint32_t RX = (X & S) ? 1 : 0, RY = (Y & S) ? 1 : 0;
    D += S * S * ((3 * RX) ^ RY);
    if (RY == 0) {
      if (RX == 1) {
        X = N - 1 - X;
        Y = N - 1 - Y;
      }
      std::swap(X, Y);
    }
  }
  return D;
}

}  // namespace

uint64_t TPackedRTree::HilbertKey(const geo::TDRect& B, const geo::TDRect& All, double Scale) {
  const auto Cell = [&](double Lo, double Hi, double Origin) {
    const double C = (Lo / 2 + Hi / 2 - Origin) * Scale;
    return C > 0 ? static_cast<uint32_t>(std::min(C, 65535.0)) : 0u;
  };
  return HilbertIndex(Cell(B.X1, B.X2, All.X1), Cell(B.Y1, B.Y2, All.Y1));
}

geo::TDRect TPackedRTree::Cover(const geo::TDRect& A, const geo::TDRect& B) {
  return {std::min(A.X1, B.X1), std::min(A.Y1, B.Y1), std::max(A.X2, B.X2), std::max(A.Y2, B.Y2)};
}

void TPackedRTree::BuildNodes() {
  // Leaves over runs of items, then levels over runs of nodes, until one is
  // left: the order carries up, so each level is compact as well.
  for (size_t I = 0; I < FItems.size(); I += FanOut) {
    TNode N{FItemBoxes[I], static_cast<int32_t>(I),
            static_cast<int32_t>(std::min<size_t>(FanOut, FItems.size() - I)), true};
    for (int32_t K = 1; K < N.Count; ++K) N.Box = Cover(N.Box, FItemBoxes[I + K]);
    FNodes.push_back(N);
  }
  size_t LevelStart = 0;
  while (FNodes.size() - LevelStart > 1) {
    const size_t LevelEnd = FNodes.size();
    for (size_t I = LevelStart; I < LevelEnd; I += FanOut) {
      TNode N{FNodes[I].Box, static_cast<int32_t>(I),
              static_cast<int32_t>(std::min<size_t>(FanOut, LevelEnd - I)), false};
      for (int32_t K = 1; K < N.Count; ++K) N.Box = Cover(N.Box, FNodes[I + K].Box);
      FNodes.push_back(N);
    }
    LevelStart = LevelEnd;
  }
}

}  // namespace geoalg::overlay
