#include "addonlib/overlay/packed_rtree.h"

#include <algorithm>
#include <cstddef>

namespace geoalg::overlay {

namespace {

// Bit I of X to bit 2I.
uint32_t Spread(uint32_t X) {
  X = (X | (X << 8)) & 0x00FF00FFu;
  X = (X | (X << 4)) & 0x0F0F0F0Fu;
  X = (X | (X << 2)) & 0x33333333u;
  X = (X | (X << 1)) & 0x55555555u;
  return X;
}

}  // namespace

// The classic digit-by-digit walk (quadrant, then turn the rest) takes a
// data-dependent branch per level, and was a tenth of the zone's time. Here
// the turns of all levels are composed at once: each bit pair holds the
// transform (swap, invert) in force at its level, combined with those above
// it by a prefix scan in four rounds of doubling width; the digits then
// follow from x, y and the transform bits without a branch.
uint32_t HilbertIndex(uint32_t X, uint32_t Y) {
  constexpr uint32_t Ones = 0xFFFFu;
  uint32_t A, B, C, D;
  {
    const uint32_t a = X ^ Y, b = Ones ^ a, c = Ones ^ (X | Y), d = X & (Y ^ Ones);
    A = a | (b >> 1);
    B = (a >> 1) ^ a;
    C = ((c >> 1) ^ (b & (d >> 1))) ^ c;
    D = ((a & (c >> 1)) ^ (d >> 1)) ^ d;
  }
  for (const int S : {2, 4}) {
    const uint32_t a = A, b = B, c = C, d = D;
    A = (a & (a >> S)) ^ (b & (b >> S));
    B = (a & (b >> S)) ^ (b & ((a ^ b) >> S));
    C ^= (a & (c >> S)) ^ (b & (d >> S));
    D ^= (b & (c >> S)) ^ ((a ^ b) & (d >> S));
  }
  {
    const uint32_t c = C, d = D;
    C ^= (A & (c >> 8)) ^ (B & (d >> 8));
    D ^= (B & (c >> 8)) ^ ((A ^ B) & (d >> 8));
  }
  const uint32_t a = C ^ (C >> 1), b = D ^ (D >> 1);
  const uint32_t I0 = X ^ Y, I1 = b | (Ones ^ (I0 | a));
  return (Spread(I1) << 1) | Spread(I0);
}

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
