// Zones of dense, rounded sources in the engine alone (no fallback), and
// zones stopped while they are built.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <numbers>
#include <random>

#include "addonlib/geometry/measures.h"
#include "addonlib/overlay/overlay.h"
#include "oracle.h"
#include "shapes.h"
#include "trace/engine/buffer_zone.h"

namespace {

using namespace test_shapes;

// A circle of N vertices (or an open arc of it) at O, every coordinate
// rounded to Unit, optionally run clockwise.
TContour RoundedCircle(TDPoint O, double R, int N, double Unit, bool Closed, bool Clockwise) {
  TContour C;
  for (int I = 0; I < N; ++I) {
    const double A = (Clockwise ? -2 : 2) * std::numbers::pi * I / (Closed ? N : 1.5 * N);
    const geo::TComplexCommand Cmd = (I ? geo::MakeLineTo : geo::MakeMoveTo)(
        {std::round((O.X + R * std::cos(A)) / Unit) * Unit,
         std::round((O.Y + R * std::sin(A)) / Unit) * Unit});
    C.AddCommand(Cmd);
  }
  if (Closed) C.AddClose();
  return C;
}

TContour EngineZone(const TContour& Source, double W) {
  TContour Z;
  trace::BuildBufferZoneByOverlay(Source, Z, W);
  return Z;
}

// The engine's area against the reference's, within what its joins within
// its split tolerance S may move it; where that is off by more (dense walks),
// GEOS's area at 1024 and 4096 segments a quarter, extrapolated, to 5e-9.
void ExpectReferenceArea(const TContour& Source, double W, const TContour& Z) {
  TContour Ref;
  trace::BuildBufferZoneReference(Source, Ref, W);
  const double A = oracle::EnclosedArea(Z), S = std::min(1e-4, W * 1e-3);
  if (std::fabs(A - oracle::EnclosedArea(Ref)) <= 1e-9 * A + Ref.CommandCount() * S * S) return;
  geo::TDRect B;
  ASSERT_TRUE(geo::GetBounds(Source, B));
  TContour AtOrigin;  // GEOS's own rounding far out moves its area
  for (int32_t I = 0; I < Source.CommandCount(); ++I) {
    geo::TComplexCommand Cmd = Source.GetCommand(I);
    Cmd.Point = {Cmd.Point.X - B.X1, Cmd.Point.Y - B.Y1};
    AtOrigin.AddCommand(Cmd);
  }
  const double G1 = oracle::GeosPiecewiseBufferArea(AtOrigin, W, 1024);
  const double G4 = oracle::GeosPiecewiseBufferArea(AtOrigin, W, 4096);
  EXPECT_NEAR(A, G4 + (G4 - G1) / 15, 5e-9 * A) << "reference " << oracle::EnclosedArea(Ref);
}

// Every outline vertex at the width from the source.
void ExpectVerticesAtWidth(const TContour& Source, double W, const TContour& Z) {
  const std::vector<oracle::Edge> Edges = oracle::Edges(Source);
  for (int32_t I = 0; I < Z.CommandCount(); ++I) {
    const auto Cmd = Z.GetCommand(I);
    if (!geo::IsToCommand(Cmd)) continue;
    double D = INFINITY;
    for (const auto& E : Edges) D = std::fmin(D, oracle::EdgeDistance(E, Cmd.Point));
    ASSERT_NEAR(D, W, 1e-9 * W + 1e-14 * 6e6) << I;
  }
}

// Circles sampled every 1-5 cm (closed either way round, or open), stars of
// thin spikes (with holes when odd), walks of 3 cm steps; last, a cut from a
// 100 000-vertex circle rounded to 0.1 mm whose inward turn's join ran back
// along both offsets, and the windings disagreed.
TEST(OverlayZoneDense, RoundedCirclesLinesAndStarsNearAndFar) {
  std::mt19937 Rng(5);
  for (int Round = 0; Round <= 16; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    double W = Uniform(Rng, 1, 6);
    const int N = 200 + static_cast<int>(Rng() % 400), Kind = Round / 4;
    TContour Source;
    if (Kind < 2)
      Source = RoundedCircle(O, N * Uniform(Rng, 0.01, 0.05) / (2 * std::numbers::pi), N,
                             Round % 4 < 2 ? 1e-3 : 1e-4, Kind == 0 || Round % 2, Kind == 1);
    else if (Kind == 2)
      Source = Round % 2 ? StarWithHoles(Rng, O, 20 * W, 400, 2) : Star(Rng, O, 20 * W, 400);
    else if (Kind == 3)
      Source = Walk(Rng, O, 0.03, N, 0.3);
    else
      for (const TDPoint P : {TDPoint{501009.1218, 5999700.139}, TDPoint{501009.1406, 5999700.139},
                              TDPoint{501009.3667, 5999700.146}, TDPoint{501009.3855, 5999700.147}})
        Source.AddCommand((Source.CommandCount() ? geo::MakeLineTo : geo::MakeMoveTo)(P));
    if (Kind == 4) W = 5;
    const TContour Z = EngineZone(Source, W);
    ExpectVerticesAtWidth(Source, W, Z);
    ExpectReferenceArea(Source, W, Z);
  }
}

// A closed part that never touches itself gives its outward side alone: the
// same zone as both sides of the path united with the interior, whichever
// way it runs. A part through one vertex twice takes the long way.
TEST(OverlayZoneDense, OneSidedClosedPartsMatchBothSidesWithTheInterior) {
  std::mt19937 Rng(11);
  for (int Round = 0; Round < 8; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const TContour Shape = Round < 4 ? Star(Rng, O, 30, 60 + 20 * Round, Round % 2 ? 0.3 : 0)
                                     : RoundedCircle(O, 40, 4000, 1e-3, true, Round % 2);
    const TDPoint P = Shape.GetCommand(0).Point;
    TContour Ring, Open;  // the part, and the same path left open
    for (int32_t I = 0; I < Shape.CommandCount(); ++I) {
      const geo::TComplexCommand Cmd = Shape.GetCommand(I);
      for (TContour* C : {&Ring, &Open}) {
        if (!geo::IsCloseKind(Cmd.Kind)) {
          C->AddCommand(Cmd);
          continue;
        }
        C->AddArcTo(P, Cmd.Kind == geo::ccCloseArc ? Cmd.Convexity : 0);
        if (Round == 3)  // on through the first vertex into a triangle
          for (const TDPoint Q : {TDPoint{P.X + 20, P.Y + 5}, TDPoint{P.X + 20, P.Y - 5}, P})
            C->AddLineTo(Q);
      }
    }
    Ring.AddClose();
    const double W = 3;
    const TContour Z = EngineZone(Ring, W);
    const TContour Long =
        geoalg::OverlayContours(EngineZone(Open, W), Ring, geoalg::TOverlayOp::Union);
    const double A = oracle::EnclosedArea(Z);
    EXPECT_NEAR(A, oracle::EnclosedArea(Long), 1e-9 * A);
  }
}

// The union of the zones of runs of 16 edges against the one pass, on
// zigzags, walks that retrace themselves or turn by arcs, stars with holes
// and bulging sides, and rounded circles, near the origin and far from it.
TEST(OverlayZoneDense, RunsUnitedPairwiseMatchTheOnePass) {
  std::mt19937 Rng(17);
  for (int Round = 0; Round < 40; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const double W = Uniform(Rng, 0.5, 6);
    const int N = 20 + static_cast<int>(Rng() % 200);
    TContour Source;
    switch (Round % 5) {
      case 0:
        Source = ZigZag(Rng, O, W, N);
        break;
      case 1:
        Source = Walk(Rng, O, W, N, std::numbers::pi, Round % 3 ? 0 : 0.6, Round % 4 == 1);
        break;
      case 2:
        Source = StarWithHoles(Rng, O, 10 * W, N, Round % 3, Round % 4 ? 0.2 : 0);
        break;
      default:
        Source =
            RoundedCircle(O, N * 0.03 / (2 * std::numbers::pi), N, 1e-3, Round % 5 == 3, Round % 2);
    }
    TContour One, Runs;
    trace::BuildBufferZoneOnePass(Source, One, W);
    ASSERT_NO_THROW(trace::BuildBufferZoneByRuns(Source, Runs, W));
    ExpectVerticesAtWidth(Source, W, Runs);
    const double A = oracle::EnclosedArea(One);
    EXPECT_NEAR(oracle::EnclosedArea(Runs), A, 1e-9 * A);
  }
}

// Stopped a moment into a 100 000-vertex zone, either way of building it,
// the build answers within 0.2 s and leaves the destination as it was.
TEST(OverlayZoneDense, CancelAnswersWithinAFifthOfASecond) {
  const TContour Source = RoundedCircle({500000, 6000000}, 300, 100000, 1e-3, true, false);
  // The work done between two questions is what the user waits for; this
  // thread's processor time counts it whatever else loads the machine.
  const auto Seconds = [] {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) * 1e-9;
  };
  for (int Way = 0; Way < 2; ++Way) {
    SCOPED_TRACE(Way ? "reference" : "engine");
    TContour Dest;
    Dest.AddMoveTo({1, 2});
    const double Start = Seconds();
    const trace::TZoneCancel Cancel = [&] { return Seconds() - Start >= 0.05; };
    if (Way == 0)
      EXPECT_THROW(trace::BuildBufferZone(Source, Dest, 5, Cancel), trace::EZoneCancelled);
    else
      EXPECT_THROW(trace::BuildBufferZoneReference(Source, Dest, 5, Cancel), trace::EZoneCancelled);
    const double Late = Seconds() - Start - 0.05;
    EXPECT_LT(Late, 0.2);
    EXPECT_EQ(Dest.CommandCount(), 1);
  }
}

}  // namespace
