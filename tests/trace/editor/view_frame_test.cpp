// What of a part is handed to the host: the same fill and outline in view,
// checked at random points against the part as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "trace/editor/view_frame.h"

namespace {

using trace::TDrawVertex;

bool Inside(const std::vector<TDrawVertex>& P, double X, double Y) {
  bool In = false;
  for (std::size_t I = 0, J = P.size() - 1; I < P.size(); J = I++)
    if ((P[I].Y > Y) != (P[J].Y > Y) &&
        X < P[J].X + (Y - P[J].Y) * (P[I].X - P[J].X) / (P[I].Y - P[J].Y))
      In = !In;
  return In;
}

double Distance(const std::vector<TDrawVertex>& P, double X, double Y) {
  double Best = INFINITY;
  for (std::size_t I = 0, J = P.size() - 1; I < P.size(); J = I++) {
    const double DX = P[I].X - P[J].X, DY = P[I].Y - P[J].Y;
    const double L2 = DX * DX + DY * DY;
    const double T =
        L2 > 0 ? std::clamp(((X - P[J].X) * DX + (Y - P[J].Y) * DY) / L2, 0.0, 1.0) : 0;
    Best = std::min(Best, std::hypot(P[J].X + T * DX - X, P[J].Y + T * DY - Y));
  }
  return Best;
}

TEST(VisibleVertices, SameFillAndOutlineInViewFromFarFewerVertices) {
  // 1 m a pixel, 800 × 600 pixels, y up on the map.
  trace::TViewFrame F{{0, 600}, {1, 0}, {0, -1}, 800, 600};
  std::mt19937 Rng(3);
  std::uniform_real_distribution<double> R(100, 1500), U(0, 1);
  for (int Round = 0; Round < 6; ++Round) {
    // A star about the view's centre reaching far beyond it, with runs of
    // vertices a few centimetres apart.
    std::vector<TDrawVertex> Part;
    for (int I = 0; I < 4000; ++I) {
      const double A = 2 * std::numbers::pi * I / 4000;
      const double Radius = I % 50 < 25 ? R(Rng) : 300 + 0.01 * (I % 50);
      Part.push_back({400 + Radius * std::cos(A), 300 + Radius * std::sin(A), 0});
    }
    const auto Shown = trace::VisibleVertices(Part, F, trace::CutMarginPixels);
    EXPECT_LT(Shown.size(), Part.size() * 3 / 4);
    for (int K = 0; K < 500; ++K) {
      const double X = 800 * U(Rng), Y = 600 * U(Rng);
      if (Distance(Part, X, Y) < 1) continue;
      EXPECT_EQ(Inside(Shown, X, Y), Inside(Part, X, Y)) << X << ' ' << Y;
      EXPECT_NEAR(Distance(Shown, X, Y), Distance(Part, X, Y), 0.5);
    }
  }
}

}  // namespace
