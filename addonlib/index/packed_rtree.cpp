#include "addonlib/index/packed_rtree.h"

#include <algorithm>
#include <cstddef>

namespace geo::index {

namespace {

// The curve four levels at a time. The turn in force at a level is a flip
// of both coordinates and a swap of them, which commute: two bits of state.
// For each state and each pair of 4-bit digits of x and y, the table gives
// the four quadrant digits (8 bits) and the state after them (bits 8-9).
struct THilbertTable {
  uint16_t Entry[4][256];
};

constexpr THilbertTable MakeHilbertTable() {
  THilbertTable T{};
  for (uint32_t State = 0; State < 4; ++State)
    for (uint32_t XY = 0; XY < 256; ++XY) {
      bool Flip = State & 1, Swap = State & 2;
      uint32_t Digits = 0;
      for (int Bit = 3; Bit >= 0; --Bit) {
        uint32_t RX = (XY >> (4 + Bit)) & 1, RY = (XY >> Bit) & 1;
        if (Flip) {
          RX ^= 1;
          RY ^= 1;
        }
        if (Swap) {
          const uint32_t Keep = RX;
          RX = RY;
          RY = Keep;
        }
        Digits = Digits << 2 | ((3 * RX) ^ RY);
        // The lower levels turn: flipped where the quadrant is the lower
        // right one, swapped where it is either lower one.
        if (RY == 0) {
          if (RX == 1) Flip = !Flip;
          Swap = !Swap;
        }
      }
      T.Entry[State][XY] =
          static_cast<uint16_t>(Digits | (Flip ? 1u : 0u) << 8 | (Swap ? 2u : 0u) << 8);
    }
  return T;
}

constexpr THilbertTable HilbertTable = MakeHilbertTable();

}  // namespace

// The classic digit-by-digit walk takes a data-dependent branch per level
// and was a tenth of the zone's time; four levels per table lookup take none.
uint32_t HilbertIndex(uint32_t X, uint32_t Y) {
  uint32_t State = 0, D = 0;
  for (int Shift = 12; Shift >= 0; Shift -= 4) {
    const uint32_t Entry =
        HilbertTable.Entry[State][((X >> Shift) & 15) << 4 | ((Y >> Shift) & 15)];
    D = D << 8 | (Entry & 0xFF);
    State = Entry >> 8;
  }
  return D;
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
  // Each level a FanOut-th of the one below, rounded up: together under
  // N / (FanOut - 1) nodes, and one more per level for the rounding.
  FNodes.reserve(FItems.size() / (FanOut - 1) + 16);
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

}  // namespace geo::index
