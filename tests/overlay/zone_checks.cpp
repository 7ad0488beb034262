#include "zone_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/measures.h"
#include "oracle.h"
#include "shapes.h"
#include "trace/engine/buffer_zone.h"

namespace overlay_zone {

using test_shapes::Uniform;

TContour EngineZone(const TContour& Source, double W) {
  TContour Z;
  trace::BuildBufferZone(Source, Z, W);
  return Z;
}

TContour ReferenceZone(const TContour& Source, double W) {
  TContour Z;
  trace::BuildBufferZoneReference(Source, Z, W);
  return Z;
}

TContour Moved(const TContour& C, double DX, double DY) {
  TContour M;
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    geo::TComplexCommand Cmd = C.GetCommand(I);
    Cmd.Point = {Cmd.Point.X + DX, Cmd.Point.Y + DY};
    M.AddCommand(Cmd);
  }
  return M;
}

bool HasArcs(const TContour& C) {
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    if ((Cmd.Kind == geo::ccArcTo || Cmd.Kind == geo::ccCloseArc) && Cmd.Convexity != 0)
      return true;
  }
  return false;
}

void CheckZone(std::mt19937& Rng, const TContour& Source, double W, const TContour& Z) {
  const std::vector<oracle::Edge> SourceEdges = oracle::Edges(Source);
  auto DistToSource = [&](const TDPoint& P) {
    double D = INFINITY;
    for (const auto& E : SourceEdges) D = std::fmin(D, oracle::EdgeDistance(E, P));
    return D;
  };
  geo::TDRect B;
  ASSERT_TRUE(geo::GetBounds(Z, B));
  const double Mag = std::max({std::fabs(B.X1), std::fabs(B.X2), std::fabs(B.Y1), std::fabs(B.Y2)});
  const double VertexTol = 1e-9 * W + 1e-14 * Mag;
  for (int32_t I = 0; I < Z.CommandCount(); ++I) {
    const auto Cmd = Z.GetCommand(I);
    if (geo::IsToCommand(Cmd)) {
      ASSERT_NEAR(DistToSource(Cmd.Point), W, VertexTol) << I;
    }
  }
  // The kernel's own area skips edges shorter than its point tolerance.
  EXPECT_NEAR(geo::Area(Z), oracle::EnclosedArea(Z), 1e-6 * oracle::EnclosedArea(Z));
  const oracle::Membership Inside(Z);
  // The source's interior by the nesting of its closed parts: a point is
  // inside where the deepest part holding it is an outer part (even depth),
  // so a hole's inside is not and an island's is again.
  std::vector<oracle::Membership> Closed;
  std::vector<int> Depth;
  {
    geo::TContourList Parts;
    geo::SplitIntoParts(Source, Parts);
    std::vector<TDPoint> Samples;
    for (const auto& P : Parts)
      if (geo::LastIsClose(*P)) {
        Closed.emplace_back(*P);
        const auto A = P->GetCommand(0).Point, B = P->GetCommand(1).Point;
        Samples.push_back({(A.X + B.X) / 2, (A.Y + B.Y) / 2});
      }
    for (size_t I = 0; I < Closed.size(); ++I) {
      Depth.push_back(0);
      for (size_t J = 0; J < Closed.size(); ++J) Depth[I] += J != I && Closed[J].Inside(Samples[I]);
    }
  }
  auto InInterior = [&](const TDPoint& P) {
    int Deepest = -1;
    for (size_t I = 0; I < Closed.size(); ++I)
      if (Closed[I].Inside(P)) Deepest = std::max(Deepest, Depth[I]);
    return Deepest >= 0 && Deepest % 2 == 0;
  };
  int Checked = 0;
  for (int K = 0; K < 300; ++K) {
    const TDPoint P{Uniform(Rng, B.X1, B.X2), Uniform(Rng, B.Y1, B.Y2)};
    const double D = DistToSource(P);
    if (std::fabs(D - W) < 1e-4 * W) continue;
    const bool Expected = D < W || InInterior(P);
    ++Checked;
    ASSERT_EQ(Inside.Inside(P), Expected) << P.X << " " << P.Y << " d " << D;
  }
  EXPECT_GT(Checked, 100);
}

}  // namespace overlay_zone
