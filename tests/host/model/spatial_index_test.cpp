// The host's rectangle lookup against a plain scan, through every way the
// index changes: rectangles added (kept aside until the next build), moved,
// removed, and builds in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "host/model/spatial_index.h"

namespace {

using host::THostSpatialIndex;

const double X0 = 500000, Y0 = 6000000;

bool Meets(const geo::TDRect& A, const geo::TDRect& B) {
  return A.X1 <= B.X2 && B.X1 <= A.X2 && A.Y1 <= B.Y2 && B.Y1 <= A.Y2;
}

TEST(HostSpatialIndex, LookupsMatchAScanThroughInsertsMovesAndRemovals) {
  std::mt19937 Rng(23);
  std::uniform_real_distribution<double> U(0, 4000), Size(0, 120), Unit(0, 1);
  std::vector<std::optional<geo::TDRect>> Plain;  // by slot, as the index should hold
  THostSpatialIndex Index;
  const auto Random = [&] {
    const double X = X0 + U(Rng), Y = Y0 + U(Rng);
    return geo::TDRect{X, Y, X + Size(Rng), Y + Size(Rng)};
  };
  std::vector<std::int32_t> Got, Visited;
  for (int Round = 0; Round < 60; ++Round) {
    // Bursts of every size: a few changes stay aside, many force a build.
    const int Changes = Round % 7 == 3 ? 3000 : static_cast<int>(Unit(Rng) * 40);
    for (int I = 0; I < Changes; ++I) {
      const double What = Unit(Rng);
      if (What < 0.6 || Plain.empty()) {
        // A new slot now and then beyond the end, leaving unused ones.
        const auto Slot = static_cast<std::int32_t>(Plain.size() + (Unit(Rng) < 0.1 ? 3 : 0));
        Plain.resize(static_cast<std::size_t>(Slot) + 1);
        Plain[static_cast<std::size_t>(Slot)] = Random();
        Index.Insert(Slot, *Plain.back());
      } else {
        const auto Slot = static_cast<std::int32_t>(Unit(Rng) * static_cast<double>(Plain.size()));
        auto& Have = Plain[static_cast<std::size_t>(Slot)];
        if (What < 0.8) {
          Have = Random();  // moved, or back after a removal
          Index.Insert(Slot, *Have);
        } else {
          Have.reset();
          Index.Remove(Slot);
        }
      }
    }
    ASSERT_EQ(Index.Count(), std::count_if(Plain.begin(), Plain.end(),
                                           [](const auto& R) { return R.has_value(); }));
    for (int Q = 0; Q < 20; ++Q) {
      // Small views, and now and then the whole map or a line along a border.
      const double X = X0 - 100 + U(Rng) * 1.05, Y = Y0 - 100 + U(Rng) * 1.05;
      geo::TDRect R = Q % 10 == 0   ? geo::TDRect{X0 - 200, Y0 - 200, X0 + 4200, Y0 + 4200}
                      : Q % 10 == 1 ? geo::TDRect{X, Y0 - 200, X, Y0 + 4200}
                                    : geo::TDRect{X, Y, X + Size(Rng) * 3, Y + Size(Rng) * 2};
      if (Q % 10 == 2 && !Plain.empty() && Plain.back())
        R = {Plain.back()->X2, Plain.back()->Y2, Plain.back()->X2 + 1, Plain.back()->Y2 + 1};
      std::vector<std::int32_t> Expected;
      for (std::size_t S = 0; S < Plain.size(); ++S)
        if (Plain[S] && Meets(*Plain[S], R)) Expected.push_back(static_cast<std::int32_t>(S));
      Index.Query(R, Got);
      ASSERT_EQ(Got, Expected) << "round " << Round << ", query " << Q;
      Visited.clear();
      Index.Visit(R, [&](std::int32_t Slot) { Visited.push_back(Slot); });
      std::sort(Visited.begin(), Visited.end());
      ASSERT_EQ(Visited, Expected) << "round " << Round << ", query " << Q;
    }
  }
  Index.Clear();
  EXPECT_EQ(Index.Count(), 0);
  Index.Query({X0 - 1e6, Y0 - 1e6, X0 + 1e6, Y0 + 1e6}, Got);
  EXPECT_TRUE(Got.empty());
}

}  // namespace
