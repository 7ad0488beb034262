#include "trace/engine/buffer_zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/tolerance.h"
#include "oracle.h"

namespace {

using geo::TContour;
using geo::TDPoint;
using std::numbers::pi;

int PartCount(const TContour& C) {
  int N = 0;
  for (int32_t I = 0; I < C.CommandCount(); ++I)
    if (C.GetCommand(I).Kind == geo::ccMoveTo) ++N;
  return N;
}

TContour Zone(const TContour& Source, double W) {
  TContour Z;
  trace::BuildBufferZone(Source, Z, W);
  return Z;
}

TEST(BufferZone, SegmentPolygonAndEmptySource) {
  for (TDPoint O : {TDPoint{0, 0}, TDPoint{500000, 6000000}}) {
    TContour Seg;
    Seg.AddMoveTo({O.X, O.Y});
    Seg.AddLineTo({O.X + 30, O.Y + 40});  // length 50
    const TContour Stadium = Zone(Seg, 2);
    EXPECT_EQ(PartCount(Stadium), 1);
    EXPECT_NEAR(oracle::EnclosedArea(Stadium), 2 * 2 * 50 + pi * 4, 1e-7);

    // A convex polygon: its interior plus a band, no hole.
    TContour Square;
    Square.AddMoveTo({O.X, O.Y});
    Square.AddLineTo({O.X + 10, O.Y});
    Square.AddLineTo({O.X + 10, O.Y + 10});
    Square.AddLineTo({O.X, O.Y + 10});
    Square.AddClose();
    const TContour Z = Zone(Square, 1);
    EXPECT_EQ(PartCount(Z), 1);
    EXPECT_NEAR(oracle::EnclosedArea(Z), 100 + 40 + pi, 1e-7);
    EXPECT_TRUE(oracle::Membership(Z).Inside({O.X + 5, O.Y + 5}));
  }
  TContour Empty, Dest;
  Dest.AddMoveTo({1, 1});
  trace::BuildBufferZone(Empty, Dest, 5);
  EXPECT_EQ(Dest.CommandCount(), 0);
  TContour Dot;
  Dot.AddMoveTo({3, 3});  // a part without segments contributes nothing
  EXPECT_EQ(Zone(Dot, 5).CommandCount(), 0);
}

// Zones narrower than the point tolerance: the two sides of a cap are then
// one point to the contour, but the cap stays round (as chords within a
// millionth of the width). Far out such widths are refused.
TEST(BufferZone, ZonesNarrowerThanThePointToleranceKeepTheirArea) {
  TContour Seg;
  Seg.AddMoveTo({0, 0});
  Seg.AddLineTo({1, 0});
  for (double W : {1e-6, 3e-7}) {
    const TContour Thin = Zone(Seg, W);
    EXPECT_EQ(PartCount(Thin), 1);
    EXPECT_NEAR(oracle::OrientedArea(Thin), 2 * W + pi * W * W, 1e-5 * W * W) << W;
  }
  TContour Far;
  Far.AddMoveTo({500000, 6000000});
  Far.AddLineTo({500001, 6000000});
  EXPECT_THROW(Zone(Far, 3e-7), core::Exception);
}

TEST(BufferZone, ArcPiecesAroundTheCentre) {
  // Half circles of radius 2 around the origin with widths equal to, above
  // and below the radius: sector, chord-closed piece, annular sector.
  TContour Arc;
  Arc.AddMoveTo({2, 0});
  Arc.AddArcTo({-2, 0}, 1);
  geo::TContourEdgeIter It;
  ASSERT_TRUE(It.Start(Arc));
  for (double W : {2.0, 3.0, 1.0}) {
    trace::TTBufferZoneEnum E(Arc, W);
    const auto Piece = E.MakeSegmentPiece(It.Edge);
    EXPECT_EQ(Piece->GetCommand(Piece->CommandCount() - 1).Kind,
              W > 2 || W == 2 ? geo::ccClose : geo::ccCloseArc);
    const TContour Z = Zone(Arc, W);
    EXPECT_EQ(oracle::Membership(Z).Inside({0, 0.01}), W >= 2) << W;
    // A half annulus between radii 2 - W and 2 + W (a half disc when W is 2)
    // and the two half discs below the ends, disjoint while W <= 2.
    if (W <= 2) {
      const double Inner = 2 - W;
      EXPECT_NEAR(oracle::EnclosedArea(Z),
                  pi * ((2 + W) * (2 + W) - Inner * Inner) / 2 + pi * W * W, 1e-7)
          << W;
    }
  }
}

// Random walks of segment length about the width, some steps arcs.
TContour RandomWalk(std::mt19937& Rng, TDPoint O, double W, int N, bool Closed) {
  std::uniform_real_distribution<double> Turn(-1.2, 1.2), Len(0.6 * W, 1.4 * W), Bulge(-0.6, 0.6);
  TContour C;
  TDPoint P = O;
  double Dir = 0;
  C.AddMoveTo(P);
  for (int I = 0; I < N; ++I) {
    Dir += Turn(Rng);
    P = {P.X + Len(Rng) * std::cos(Dir), P.Y + Len(Rng) * std::sin(Dir)};
    if (Rng() % 3 == 0)
      C.AddArcTo(P, Bulge(Rng));
    else
      C.AddLineTo(P);
  }
  if (Closed) C.AddClose();
  return C;
}

TContour RandomStar(std::mt19937& Rng, TDPoint O, double R, int N) {
  std::uniform_real_distribution<double> Rad(0.6 * R, R), Bulge(-0.15, 0.15);
  TContour C;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * pi * I / N, Q = Rad(Rng);
    const TDPoint P{O.X + Q * std::cos(A), O.Y + Q * std::sin(A)};
    if (I == 0)
      C.AddMoveTo(P);
    else if (I % 2)
      C.AddArcTo(P, Bulge(Rng));
    else
      C.AddLineTo(P);
  }
  C.AddCloseArc(Bulge(Rng));
  return C;
}

TEST(BufferZone, RandomSourcesAgainstGeosAndDistances) {
  std::mt19937 Rng(31337);
  for (int Round = 0; Round < 16; ++Round) {
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const double W = 5;
    const TContour Source = Round % 4 == 3 ? RandomStar(Rng, O, 30, 9 + Round)
                                           : RandomWalk(Rng, O, W, 8 + Round, Round % 4 == 2);
    SCOPED_TRACE("round " + std::to_string(Round));
    const TContour Z = Zone(Source, W);
    const double Area = oracle::EnclosedArea(Z);
    const double Geos = oracle::GeosPiecewiseBufferArea(Source, W, 256);
    EXPECT_NEAR(Area, Geos, 1e-4 * Geos);

    // Every outline vertex lies at the width from the source.
    const std::vector<oracle::Edge> SourceEdges = oracle::Edges(Source);
    auto DistToSource = [&](const TDPoint& P) {
      double D = INFINITY;
      for (const auto& E : SourceEdges) D = std::fmin(D, oracle::EdgeDistance(E, P));
      return D;
    };
    for (int32_t I = 0; I < Z.CommandCount(); ++I) {
      const auto Cmd = Z.GetCommand(I);
      if (geo::IsToCommand(Cmd)) {
        ASSERT_NEAR(DistToSource(Cmd.Point), W, 1e-6) << I;
      }
    }
    // Random points: inside exactly when nearer than the width or inside a closed part.
    const oracle::Membership Inside(Z);
    const bool SourceClosed = geo::LastIsClose(Source);
    const oracle::Membership SourceArea(Source);
    geo::TDRect B;
    ASSERT_TRUE(geo::GetBounds(Z, B));
    std::uniform_real_distribution<double> UX(B.X1, B.X2), UY(B.Y1, B.Y2);
    for (int K = 0; K < 400; ++K) {
      const TDPoint P{UX(Rng), UY(Rng)};
      const double D = DistToSource(P);
      if (std::fabs(D - W) < 1e-3) continue;
      const bool Expected = D < W || (SourceClosed && SourceArea.Inside(P));
      ASSERT_EQ(Inside.Inside(P), Expected) << P.X << " " << P.Y;
    }
  }
}

TEST(BufferZone, LongWalkKeepsEveryOutline) {
  // A long walk crosses itself many times: pieces meet at nearly the same
  // points over and over, and no outline may be lost between them.
  std::mt19937 Rng(42);
  const double W = 10;
  const TContour Source = RandomWalk(Rng, {500000, 6000000}, W, 1500, false);
  const TContour Z = Zone(Source, W);
  const std::vector<oracle::Edge> Edges = oracle::Edges(Source);
  geo::TDRect B;
  ASSERT_TRUE(geo::GetBounds(Z, B));
  std::uniform_real_distribution<double> UX(B.X1, B.X2), UY(B.Y1, B.Y2);
  int Near = 0;
  for (int K = 0; K < 1000; ++K) {
    const TDPoint P{UX(Rng), UY(Rng)};
    double D = INFINITY;
    for (const auto& E : Edges) D = std::fmin(D, oracle::EdgeDistance(E, P));
    if (std::fabs(D - W) < 1e-3) continue;
    Near += D < W;
    ASSERT_EQ(geo::PointInContour(Z, P) != geo::TPointPlace::Outside, D < W) << P.X << " " << P.Y;
  }
  EXPECT_GT(Near, 100);
}

TEST(BufferZone, ZonesAFewCentimetresWide) {
  // Pieces of a 2 cm zone are a few centimetres across: a split tolerance
  // fixed at 0.1 mm, 0.5 % of the width, lost slivers in about one walk in
  // ten. Every walk's zone must be right.
  const double W = 0.02;
  int Wrong = 0;
  for (uint32_t Seed = 0; Seed < 100; ++Seed) {
    std::mt19937 Rng(Seed);
    const TContour Source = RandomWalk(Rng, {500000, 6000000}, W, 40, false);
    TContour Z;
    ASSERT_NO_THROW(trace::BuildBufferZone(Source, Z, W)) << Seed;
    const std::vector<oracle::Edge> Edges = oracle::Edges(Source);
    geo::TDRect B;
    ASSERT_TRUE(geo::GetBounds(Z, B));
    std::uniform_real_distribution<double> UX(B.X1, B.X2), UY(B.Y1, B.Y2);
    bool Bad = false;
    for (int K = 0; K < 300 && !Bad; ++K) {
      const TDPoint P{UX(Rng), UY(Rng)};
      double D = INFINITY;
      for (const auto& E : Edges) D = std::fmin(D, oracle::EdgeDistance(E, P));
      if (std::fabs(D - W) > 1e-6)
        Bad = (geo::PointInContour(Z, P) != geo::TPointPlace::Outside) != (D < W);
    }
    Wrong += Bad;
  }
  EXPECT_EQ(Wrong, 0);
}

}  // namespace

namespace {

// Zones on two threads at once, each thread holding a different default
// working tolerance: the zones are those built one after the other.
TEST(BufferZone, TwoThreadsGiveTheZonesOfOneAfterTheOther) {
  std::mt19937 Rng(8);
  std::vector<TContour> Sources;
  for (int K = 0; K < 8; ++K) {
    const TDPoint O = K % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    Sources.push_back(RandomWalk(Rng, O, 3, 15 + K, K % 3 == 0));
  }
  auto Commands = [](const TContour& C) {
    std::vector<geo::TComplexCommand> R;
    for (int32_t I = 0; I < C.CommandCount(); ++I) R.push_back(C.GetCommand(I));
    return R;
  };
  std::vector<std::vector<geo::TComplexCommand>> Want;
  for (const TContour& S : Sources) Want.push_back(Commands(Zone(S, 3)));
  std::vector<std::vector<geo::TComplexCommand>> Got[2];
  auto Worker = [&](int T) {
    const geo::TWorkToleranceScope Default(T == 0 ? 0.25 : 1e-12);
    Got[T].resize(Sources.size());
    for (size_t K = 0; K < Sources.size(); ++K) {
      const size_t I = T == 0 ? K : Sources.size() - 1 - K;
      Got[T][I] = Commands(Zone(Sources[I], 3));
    }
  };
  std::thread First(Worker, 0), Second(Worker, 1);
  First.join();
  Second.join();
  for (size_t I = 0; I < Sources.size(); ++I)
    for (int T = 0; T < 2; ++T) {
      ASSERT_EQ(Got[T][I].size(), Want[I].size()) << I << " " << T;
      ASSERT_GT(Want[I].size(), 0u);
      for (size_t J = 0; J < Want[I].size(); ++J) {
        const geo::TComplexCommand &P = Got[T][I][J], &Q = Want[I][J];
        ASSERT_EQ(P.Kind, Q.Kind);
        ASSERT_EQ(P.Convexity, Q.Convexity);
        if (geo::IsToCommand(P)) {
          ASSERT_EQ(P.Point.X, Q.Point.X);
          ASSERT_EQ(P.Point.Y, Q.Point.Y);
        }
      }
    }
}

}  // namespace
