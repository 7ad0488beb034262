// Combinations on two threads at once: each carries its own tolerances, so
// the results are those of one combination after the other.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/tolerance.h"
#include "shapes.h"

namespace {

using namespace test_shapes;

struct Case {
  Shape A, B;
};

// Every command of one contour bit for bit, or the exception's text.
struct Outcome {
  std::vector<geo::TComplexCommand> Commands;
  std::string Error;
};

Outcome Combined(const Case& C, int Op) {
  Outcome R;
  try {
    TContour Out;
    geoalg::CombineContoursReference(C.A.C, C.B.C, static_cast<geoalg::TUnionOperation>(Op), 1e-4,
                                     Out);
    for (int32_t I = 0; I < Out.CommandCount(); ++I) R.Commands.push_back(Out.GetCommand(I));
  } catch (const core::Exception& E) {
    R.Error = E.Message();
  }
  return R;
}

bool Same(const Outcome& X, const Outcome& Y) {
  if (X.Error != Y.Error || X.Commands.size() != Y.Commands.size()) return false;
  for (size_t I = 0; I < X.Commands.size(); ++I) {
    const geo::TComplexCommand &P = X.Commands[I], &Q = Y.Commands[I];
    if (P.Kind != Q.Kind || P.Convexity != Q.Convexity) return false;
    if (geo::IsToCommand(P) && (P.Point.X != Q.Point.X || P.Point.Y != Q.Point.Y)) return false;
  }
  return true;
}

TEST(UnionGraphThreads, TwoThreadsGiveTheResultsOfOneAfterTheOther) {
  std::mt19937 Rng(31);
  std::vector<Case> Cases;
  for (int K = 0; K < 24; ++K) {
    const TDPoint O = K % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    Cases.push_back(
        {RandomShape(Rng, K, O, K % 3 == 1), RandomShape(Rng, K / 2 + 1, O, K % 4 == 1)});
  }
  const size_t N = Cases.size() * 4;
  std::vector<Outcome> Want(N);
  for (size_t I = 0; I < N; ++I) Want[I] = Combined(Cases[I / 4], static_cast<int>(I % 4));

  // Both threads run every combination, in opposite orders, while each holds
  // a different default working tolerance: a combination that read the
  // thread's default instead of its own tolerances would come out different.
  std::vector<Outcome> Got[2] = {std::vector<Outcome>(N), std::vector<Outcome>(N)};
  auto Worker = [&](int T) {
    const geo::TWorkToleranceScope Default(T == 0 ? 0.5 : 1e-12);
    for (size_t K = 0; K < N; ++K) {
      const size_t I = T == 0 ? K : N - 1 - K;
      Got[T][I] = Combined(Cases[I / 4], static_cast<int>(I % 4));
    }
  };
  std::thread First(Worker, 0), Second(Worker, 1);
  First.join();
  Second.join();
  int Errors = 0;
  for (size_t I = 0; I < N; ++I) {
    Errors += !Want[I].Error.empty();
    for (int T = 0; T < 2; ++T)
      EXPECT_TRUE(Same(Got[T][I], Want[I]))
          << "case " << I / 4 << " op " << I % 4 << " thread " << T;
  }
  // The cases are combinations that succeed, so the comparison compares outlines.
  EXPECT_EQ(Errors, 0);
  EXPECT_EQ(geo::TTolerance::Current().Work, 0.0);
}

}  // namespace
