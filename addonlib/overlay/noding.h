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
  // Per edge: an end vertex stands for points elsewhere than itself (points
  // within tolerance were joined there), so the edges there may run off
  // their pieces as drawn. Empty when no vertex does.
  std::vector<uint8_t> Moved;
};

// Points: the store the pieces' IA and IB index (split points are added to
// it). The pieces are left as they are. Poll, when given, is called every
// few thousand pairs of pieces met; it may throw to stop the work. Only,
// when given, limits the pairs tried to those with a flagged piece.
TNodedGraph NodePieces(const std::vector<TPiece>& Pieces, std::vector<TDPoint>& Points,
                       const TOverlayTolerance& Tol, const std::function<void()>& Poll = {},
                       const std::vector<uint8_t>* Only = nullptr);

}  // namespace geoalg::overlay
