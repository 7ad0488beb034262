// Noding: every piece cut at every crossing and touching with any other,
// found in one pass over a packed R-tree of the pieces; points closer than
// the tolerance become one vertex.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "addonlib/overlay/pieces.h"

namespace geoalg::overlay {

// A cut piece between two vertices. Its geometry is its piece's line or
// circle; W[label] is the winding it adds to its left side.
struct TNodedEdge {
  int32_t V1, V2;
  int32_t Piece;
  int32_t W[2];
};

struct TNodedGraph {
  std::vector<TDPoint> Vertices;
  std::vector<TNodedEdge> Edges;
};

// Points: the store the pieces' IA and IB index (split points are added to
// it). The pieces are left as they are. Poll, when given, is called every
// few thousand pairs of pieces met; it may throw to stop the work.
TNodedGraph NodePieces(const std::vector<TPiece>& Pieces, std::vector<TDPoint>& Points,
                       const TOverlayTolerance& Tol, const std::function<void()>& Poll = {});

}  // namespace geoalg::overlay
