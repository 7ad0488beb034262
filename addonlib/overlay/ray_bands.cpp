#include "addonlib/overlay/ray_bands.h"

#include <algorithm>
#include <cmath>

namespace geoalg::overlay {

TRayBands::TRayBands(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
                     const std::vector<int32_t>& EdgeIds)
    : FG(G), FPieces(Pieces) {
  // A monotone piece's cut lies within the box of its two ends.
  FTree.Build(EdgeIds, [&](int32_t E) {
    const TDPoint& A = G.Vertices[G.Edges[E].V1];
    const TDPoint& B = G.Vertices[G.Edges[E].V2];
    return geo::TDRect{std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X),
                       std::max(A.Y, B.Y)};
  });
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

int32_t TRayBands::NearestLeft(const TDPoint& P, double* X) const {
  int32_t Best = -1;
  double BestX = -INFINITY;
  FTree.SearchLeft(P.X, P.Y, BestX, FHeap, [&](int32_t E) {
    double H;
    if (Crossing(E, P, H) && (H > BestX || Best < 0)) {
      BestX = H;
      Best = E;
    }
  });
  if (X) *X = BestX;
  return Best;
}

}  // namespace geoalg::overlay
