// The packed R-tree's queries and its join with itself against a scan of
// every box, on extents of every shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "addonlib/overlay/packed_rtree.h"

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
      geoalg::overlay::TPackedRTree Tree;
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
  geoalg::overlay::TPackedRTree Empty;
  Empty.Build({}, {});
  Empty.Query({-1, -1, 1, 1}, [](int32_t) { FAIL(); });
  Empty.SelfJoin([](int32_t, int32_t) { FAIL(); });
}

}  // namespace
