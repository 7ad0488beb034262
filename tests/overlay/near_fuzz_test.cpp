// Fuzzing of the overlay engine on edges that run within a hair of each
// other: a polygon and its copies shifted, turned or with their vertices
// moved by 1e-13 to 1e-10 (or by a tenth to thirty times the tolerance, far
// from the origin too), and neighbours sharing a side given twice that far
// apart, as the parts of real data are. Pairs are checked as every fuzzed pair (GEOS,
// identities, membership), groups by their many-contour union as well.
//
// A few cases by default; TRACE_FUZZ_NEAR=N runs N, TRACE_FUZZ_NEAR_SEED
// moves the seeds, TRACE_FUZZ_NEAR_ONE=S replays one seed.
//
// Of 10 000 cases 2 fail, both GEOS's faults on copies a hair apart, as an
// exact rational union (inclusion and exclusion of the convex rings) shows:
// 16265627 (GEOS's union of all 2.6e-7 short; ours within 2e-10) and
// 20787376 (GEOS finds two copies of a triangle disjoint). Results are read
// by their rings' orientation: the nesting misreads rings a hair apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "shapes.h"

namespace {

using geo::TContour;
using geo::TDPoint;
using test_shapes::Uniform;
using TRing = std::vector<TDPoint>;

int EnvInt(const char* Name, int Default) {
  const char* V = std::getenv(Name);
  return V && *V ? std::atoi(V) : Default;
}

int Pick(std::mt19937& Rng, int A, int B) {
  return std::uniform_int_distribution<>(A, B)(Rng);
}

TContour ContourOf(const TRing& R) {
  TContour C;
  C.AddMoveTo(R[0]);
  for (size_t K = 1; K < R.size(); ++K) C.AddLineTo(R[K]);
  C.AddClose();
  return C;
}

// A ring derived from R: moved, turned, its vertices jittered, or the
// neighbour across one of its sides, whose two ends are given again Gap
// apart. Gap is 1e-13 to 1e-10, or a tenth to thirty times the tolerance.
TRing Near(std::mt19937& Rng, const TRing& R, const TDPoint& O, double Size) {
  // The engine's tolerance at the ring's magnitude.
  const double Tol = 0x1p-49 * (std::max(std::fabs(O.X), std::fabs(O.Y)) + Size);
  const double Gap = Pick(Rng, 0, 1) ? std::pow(10.0, Uniform(Rng, -13, -10))
                                     : Tol * std::pow(10.0, Uniform(Rng, -1, 1.5));
  const double Dir = Uniform(Rng, 0, 2 * std::numbers::pi);
  auto Jitter = [&](const TDPoint& P) {
    return TDPoint{P.X + Gap * Uniform(Rng, -1, 1), P.Y + Gap * Uniform(Rng, -1, 1)};
  };
  TRing Out = R;
  switch (Pick(Rng, 0, 3)) {
    case 0:  // moved
      for (TDPoint& P : Out) P = {P.X + Gap * std::cos(Dir), P.Y + Gap * std::sin(Dir)};
      break;
    case 1: {  // turned about a vertex or the middle
      const TDPoint C = Pick(Rng, 0, 1) ? R[Pick(Rng, 0, static_cast<int>(R.size()) - 1)] : O;
      const double T = Gap / Size * (Pick(Rng, 0, 1) ? 1 : -1);
      for (TDPoint& P : Out) {
        const double X = P.X - C.X, Y = P.Y - C.Y;
        P = {C.X + X * std::cos(T) - Y * std::sin(T), C.Y + X * std::sin(T) + Y * std::cos(T)};
      }
      break;
    }
    case 2:  // some vertices kept, the others moved
      for (TDPoint& P : Out)
        if (Pick(Rng, 0, 1)) P = Jitter(P);
      break;
    default: {  // the neighbour across side I, mirrored
      const size_t I = static_cast<size_t>(Pick(Rng, 0, static_cast<int>(R.size()) - 1));
      const TDPoint A = R[I], B = R[(I + 1) % R.size()];
      const double DX = B.X - A.X, DY = B.Y - A.Y, L2 = DX * DX + DY * DY;
      for (TDPoint& P : Out) {
        const double T = ((P.X - A.X) * DX + (P.Y - A.Y) * DY) / L2;
        P = {2 * (A.X + T * DX) - P.X, 2 * (A.Y + T * DY) - P.Y};
      }
      Out[I] = Jitter(A);
      Out[(I + 1) % R.size()] = Jitter(B);
      break;
    }
  }
  if (Pick(Rng, 0, 1)) std::reverse(Out.begin(), Out.end());
  return Out;
}

// Makes and checks one case; true if it passed, else Report says why.
bool RunNearCase(uint32_t Seed, std::string& Report) {
  std::mt19937 Rng(Seed);
  TDPoint O{0, 0};
  double Size = std::pow(10.0, Uniform(Rng, -2, 4));
  if (Pick(Rng, 0, 1)) {
    O = {500000 + Uniform(Rng, -1000, 1000), 6000000 + Uniform(Rng, -1000, 1000)};
    Size = std::pow(10.0, Uniform(Rng, 0, 3));
  }
  // A quadrilateral or a small star, or a turned rectangle.
  TRing Base;
  const int N = Pick(Rng, 3, 6);
  const double Turn = Uniform(Rng, 0, 2 * std::numbers::pi);
  for (int K = 0; K < N; ++K) {
    const double A = Turn + 2 * std::numbers::pi * (K + Uniform(Rng, 0.1, 0.9)) / N;
    const double Rad = Size * (N == 4 && Pick(Rng, 0, 1) ? 1 : Uniform(Rng, 0.4, 1));
    Base.push_back({O.X + Rad * std::cos(A), O.Y + Rad * std::sin(A)});
  }
  std::vector<TRing> Rings{Base};
  for (int K = Pick(Rng, 0, 2) ? 1 : Pick(Rng, 2, 4); K > 0; --K)
    Rings.push_back(Near(Rng, Rings[Pick(Rng, 0, static_cast<int>(Rings.size()) - 1)], O, Size));
  std::vector<TContour> In;
  for (const TRing& R : Rings) In.push_back(ContourOf(R));
  overlay_fuzz::TRun Run;
  overlay_fuzz::CheckUnion(Run, Rng, In);
  for (size_t K = 1; K < In.size(); ++K) overlay_fuzz::CheckCase(Run, Rng, In[K - 1], In[K]);
  if (!Run.Failed) return true;
  char Head[64];
  std::snprintf(Head, sizeof Head, "near seed %u:", Seed);
  Report = Head + Run.Log.str();
  for (const TRing& R : Rings) {
    Report += "  ring:";
    for (const TDPoint& P : R) {
      char V[64];
      std::snprintf(V, sizeof V, " %.17g %.17g,", P.X, P.Y);
      Report += V;
    }
    Report += "\n";
  }
  return false;
}

TEST(OverlayFuzz, EdgesWithinAHairOfEachOther) {
  const int Single = EnvInt("TRACE_FUZZ_NEAR_ONE", -1);
  const int Count = Single >= 0 ? 1 : EnvInt("TRACE_FUZZ_NEAR", 20);
  const uint32_t Base = static_cast<uint32_t>(EnvInt("TRACE_FUZZ_NEAR_SEED", 0));
  int Failed = 0, Raised = 0;
  std::string Seeds;
  for (int K = 0; K < Count; ++K) {
    const uint32_t Seed = Single >= 0 ? static_cast<uint32_t>(Single) : Base + 7919u * K + 1;
    std::string Report;
    if (RunNearCase(Seed, Report)) continue;
    ++Failed;
    const bool Threw = Report.find("raised") != std::string::npos;
    Raised += Threw;
    if (Failed <= 200) {
      char S[24];
      std::snprintf(S, sizeof S, " %u%s", Seed, Threw ? "r" : "");
      Seeds += S;
    }
    if (Failed <= 10) ADD_FAILURE() << Report;
  }
  std::printf("near: %d cases, %d failed (%d raised)\n", Count, Failed, Raised);
  if (Failed) std::printf("failed seeds (r: raised):%s\n", Seeds.c_str());
  EXPECT_EQ(Failed, 0);
}

// A seed that once made the union raise: a third side crosses copies of a
// side a hair apart near where the copies end, and each crossing must be
// looked for on every copy, though they do not meet within tolerance.
TEST(OverlayFuzz, EdgesEndingNearACrossingOfTwoOthers) {
  std::string Report;
  EXPECT_TRUE(RunNearCase(3888230, Report)) << Report;
}

}  // namespace
