#include "addonlib/overlay/ray_bands.h"

#include <algorithm>
#include <cmath>

namespace geoalg::overlay {

TRayBands::TRayBands(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
                     const std::vector<int32_t>& EdgeIds)
    : FG(G), FPieces(Pieces) {
  double Y1 = INFINITY, Y2 = -INFINITY;
  for (int32_t E : EdgeIds)
    for (int32_t V : {G.Edges[E].V1, G.Edges[E].V2}) {
      Y1 = std::min(Y1, G.Vertices[V].Y);
      Y2 = std::max(Y2, G.Vertices[V].Y);
    }
  const size_t Count = std::clamp<size_t>(EdgeIds.size() / 4, 1, 1 << 16);
  FY1 = Y1;
  FHeight = Y2 > Y1 ? (Y2 - Y1) / static_cast<double>(Count) : 1;
  FStart.assign(Count + 1, 0);
  auto Each = [&](auto&& Fn) {
    for (int32_t E : EdgeIds) {
      const double A = G.Vertices[G.Edges[E].V1].Y, B = G.Vertices[G.Edges[E].V2].Y;
      const size_t Lo = Band(std::min(A, B)), Hi = Band(std::max(A, B));
      for (size_t K = Lo; K <= Hi; ++K) Fn(K, E);
    }
  };
  Each([&](size_t K, int32_t) { ++FStart[K + 1]; });
  for (size_t K = 0; K < Count; ++K) FStart[K + 1] += FStart[K];
  FItems.resize(FStart[Count]);
  std::vector<int32_t> Fill(FStart.begin(), FStart.end() - 1);
  Each([&](size_t K, int32_t E) { FItems[Fill[K]++] = E; });
}

size_t TRayBands::Band(double Y) const {
  const double K = std::floor((Y - FY1) / FHeight);
  if (!(K > 0)) return 0;
  return std::min(FStart.size() - 2, static_cast<size_t>(K));
}

bool TRayBands::Crossing(int32_t E, const TDPoint& P, double& X) const {
  using LD = long double;
  const TNodedEdge& Ed = FG.Edges[E];
  const TDPoint& A = FG.Vertices[Ed.V1];
  const TDPoint& B = FG.Vertices[Ed.V2];
  const TDPoint& Lo = B.Y < A.Y ? B : A;
  const TDPoint& Hi = B.Y < A.Y ? A : B;
  if (!(Lo.Y <= P.Y && P.Y < Hi.Y)) return false;
  if (std::min(A.X, B.X) >= P.X) return false;
  const TPiece& S = FPieces[Ed.Piece];
  if (!S.IsArc()) {
    X = static_cast<double>(A.X + (static_cast<LD>(P.Y) - A.Y) * (static_cast<LD>(B.X) - A.X) /
                                      (static_cast<LD>(B.Y) - A.Y));
  } else {
    const LD DY = static_cast<LD>(P.Y) - S.C.Y;
    const LD H = std::sqrt(std::max<LD>(0, static_cast<LD>(S.R) * S.R - DY * DY));
    X = static_cast<double>((A.X + B.X) / 2 > S.C.X ? S.C.X + H : S.C.X - H);
  }
  // Rounding must not put the crossing beyond the edge's own ends.
  X = std::clamp(X, std::min(A.X, B.X), std::max(A.X, B.X));
  return X < P.X;
}

std::array<int32_t, 2> TRayBands::WindingAt(const TDPoint& P) const {
  std::array<int32_t, 2> W{0, 0};
  const size_t K = Band(P.Y);
  for (int32_t I = FStart[K]; I < FStart[K + 1]; ++I) {
    double X;
    if (!Crossing(FItems[I], P, X)) continue;
    const TNodedEdge& E = FG.Edges[FItems[I]];
    const bool Down = FG.Vertices[E.V2].Y < FG.Vertices[E.V1].Y;
    for (int L = 0; L < 2; ++L) W[L] += Down ? E.W[L] : -E.W[L];
  }
  return W;
}

int32_t TRayBands::NearestLeft(const TDPoint& P) const {
  int32_t Best = -1;
  double BestX = -INFINITY;
  const size_t K = Band(P.Y);
  for (int32_t I = FStart[K]; I < FStart[K + 1]; ++I) {
    double X;
    if (Crossing(FItems[I], P, X) && X > BestX) {
      BestX = X;
      Best = FItems[I];
    }
  }
  return Best;
}

}  // namespace geoalg::overlay
