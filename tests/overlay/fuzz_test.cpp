// Fuzzing of the overlay engine against GEOS on the topology that real data
// is full of: rings touching at vertices, shared edges, holes touching their
// shells, arcs tangent to lines and to each other, far coordinates, tiny and
// huge magnitudes, empty operands. Every case runs the four operations both
// ways round and the many-contour union.
//
// A few cases a family by default; TRACE_OVERLAY_FUZZ=N runs N a family
// (thousands in an optimised build), TRACE_OVERLAY_FUZZ_SEED moves the seeds,
// TRACE_OVERLAY_FUZZ_FAMILY runs one family. A failure prints both inputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_families.h"

namespace {

using overlay_fuzz::Families;
using overlay_fuzz::RunCase;

int EnvInt(const char* Name, int Default) {
  const char* V = std::getenv(Name);
  return V && *V ? std::atoi(V) : Default;
}

TEST(OverlayFuzz, AgainstGeosOnTouchingRingsArcsAndExtremeMagnitudes) {
  const int Single = EnvInt("TRACE_OVERLAY_FUZZ_ONE", -1);  // one seed, to replay a failure
  const int Count = Single >= 0 ? 1 : EnvInt("TRACE_OVERLAY_FUZZ", 3);
  const uint32_t Base = static_cast<uint32_t>(EnvInt("TRACE_OVERLAY_FUZZ_SEED", 0));
  const char* Only = std::getenv("TRACE_OVERLAY_FUZZ_FAMILY");
  int Printed = 0;
  for (const char* Family : Families) {
    if (Only && *Only && std::string(Only) != Family) continue;
    int Failed = 0;
    for (int K = 0; K < Count; ++K) {
      std::string Report;
      const uint32_t Seed =
          Single >= 0 ? static_cast<uint32_t>(Single) : Base + static_cast<uint32_t>(K) * 7919u + 1;
      if (RunCase(Family, Seed, Report)) continue;
      ++Failed;
      if (Printed++ < 20) ADD_FAILURE() << Report;
    }
    std::printf("%-8s %d cases, %d failed\n", Family, Count, Failed);
    EXPECT_EQ(Failed, 0) << Family;
  }
}

}  // namespace
