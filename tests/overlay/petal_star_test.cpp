// The benchmarks' stars with arcs are compared with peers that refuse, or
// read differently, polygons that cross themselves: at every size, and with
// the largest bulges, no edge may cross another even when linearised finely.
#include <gtest/gtest.h>

#include <numbers>
#include <random>
#include <string>

#include "oracle.h"
#include "shapes.h"

TEST(PetalStar, IsValidAtEverySize) {
  for (int N : {8, 12, 400, 10000})
    for (unsigned Seed : {1u, 2u, 3u}) {
      std::mt19937 Rng(Seed);
      const geo::TContour C = test_shapes::PetalStar(Rng, {500000, 6000000}, 1000, N, 1);
      EXPECT_EQ(oracle::GeosInvalidReason(C, std::numbers::pi / 64), "")
          << N << " vertices, seed " << Seed;
    }
}
