// The packed R-tree's queries and its join with itself against a scan of
// every box, on extents of every shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "addonlib/index/packed_rtree.h"

namespace {

using geo::TDRect;

std::vector<int32_t> Scan(const std::vector<TDRect>& Boxes, const std::vector<int32_t>& Ids,
                          const TDRect& Q) {
  std::vector<int32_t> Hits;
  for (int32_t I : Ids) {
    const TDRect& B = Boxes[I];
    if (!(B.X1 > Q.X2 || B.X2 < Q.X1 || B.Y1 > Q.Y2 || B.Y2 < Q.Y1)) Hits.push_back(I);
  }
  return Hits;
}

// The digit-by-digit walk: the quadrant at each level, then the rest turned.
uint32_t HilbertByDigits(uint32_t X, uint32_t Y) {
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

TEST(PackedRTree, HilbertIndexRunsCellToNeighbouringCell) {
  using geo::index::HilbertIndex;
  // The first 4096 positions fill the 64 x 64 block at the origin, each a
  // step from the one before.
  std::vector<std::pair<uint32_t, uint32_t>> Cells(4096, {~0u, ~0u});
  for (uint32_t X = 0; X < 64; ++X)
    for (uint32_t Y = 0; Y < 64; ++Y) {
      const uint32_t I = HilbertIndex(X, Y);
      ASSERT_LT(I, 4096u);
      ASSERT_EQ(Cells[I].first, ~0u) << "position " << I << " twice";
      Cells[I] = {X, Y};
    }
  for (size_t I = 1; I < Cells.size(); ++I) {
    const uint32_t DX = Cells[I].first > Cells[I - 1].first ? Cells[I].first - Cells[I - 1].first
                                                            : Cells[I - 1].first - Cells[I].first;
    const uint32_t DY = Cells[I].second > Cells[I - 1].second
                            ? Cells[I].second - Cells[I - 1].second
                            : Cells[I - 1].second - Cells[I].second;
    ASSERT_EQ(DX + DY, 1u) << "position " << I;
  }
  EXPECT_EQ(HilbertIndex(0, 0), 0u);
  EXPECT_EQ(HilbertIndex(65535, 0), 0xFFFFFFFFu);
  // Everywhere else as the digit-by-digit walk gives it.
  std::mt19937 Rng(8);
  for (int K = 0; K < 100000; ++K) {
    const uint32_t X = Rng() & 0xFFFFu, Y = Rng() & 0xFFFFu;
    ASSERT_EQ(HilbertIndex(X, Y), HilbertByDigits(X, Y)) << X << " " << Y;
  }
}

TEST(PackedRTree, QueriesFindWhatAScanFinds) {
  std::mt19937 Rng(7);
  // A square, a long thin strip (a comb's extent), a tall one, far from the
  // origin, one point repeated, and boxes of very different lengths.
  struct TExtent {
    double X0, Y0, W, H, MaxSide;
  };
  for (const TExtent& E : {TExtent{0, 0, 100, 100, 3}, TExtent{0, 0, 4000, 1, 2},
                           TExtent{500000, 6000000, 0.5, 3000, 1}, TExtent{7, 7, 0, 0, 0},
                           TExtent{-50, -50, 100, 100, 200}}) {
    for (int N : {1, 7, 8, 9, 65, 1000}) {
      std::uniform_real_distribution<double> X(E.X0, E.X0 + E.W), Y(E.Y0, E.Y0 + E.H),
          S(0, E.MaxSide);
      std::vector<TDRect> Boxes;
      for (int I = 0; I < N; ++I) {
        const double X1 = X(Rng), Y1 = Y(Rng);
        Boxes.push_back({X1, Y1, X1 + S(Rng), Y1 + S(Rng)});
      }
      // Index every other box only: items are the ids given.
      std::vector<int32_t> Ids;
      for (int I = 0; I < N; I += 2) Ids.push_back(I);
      geo::index::TPackedRTree Tree;
      Tree.Build(Boxes, Ids);
      // Every two indexed boxes that meet, once each.
      std::vector<std::pair<int32_t, int32_t>> Pairs, Expected;
      Tree.SelfJoin([&](int32_t A, int32_t B) { Pairs.push_back(std::minmax(A, B)); });
      for (size_t A = 0; A < Ids.size(); ++A)
        for (size_t B = A + 1; B < Ids.size(); ++B)
          if (Scan(Boxes, {Ids[B]}, Boxes[Ids[A]]).size() == 1)
            Expected.emplace_back(Ids[A], Ids[B]);
      std::sort(Pairs.begin(), Pairs.end());
      ASSERT_EQ(Pairs, Expected) << N << " boxes";
      for (int K = 0; K < 50; ++K) {
        const double X1 = X(Rng), Y1 = Y(Rng);
        const TDRect Q = K == 0 ? TDRect{E.X0 - 1e9, E.Y0 - 1e9, E.X0 + 1e9, E.Y0 + 1e9}
                                : TDRect{X1, Y1, X1 + S(Rng), Y1 + S(Rng)};
        std::vector<int32_t> Found;
        Tree.Query(Q, [&](int32_t I) { Found.push_back(I); });
        std::sort(Found.begin(), Found.end());
        ASSERT_EQ(Found, Scan(Boxes, Ids, Q)) << N << " boxes, query " << K;
      }
    }
  }
  geo::index::TPackedRTree Empty;
  Empty.Build({}, {});
  Empty.Query({-1, -1, 1, 1}, [](int32_t) { FAIL(); });
  Empty.SelfJoin([](int32_t, int32_t) { FAIL(); });
}

}  // namespace
