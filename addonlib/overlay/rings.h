// Selection and rings: the edges whose two sides differ under the operation
// are kept with the result on their left, walked into simple closed rings,
// joined back where the noding cut one line or one circle at a vertex that
// nothing else uses, and written as a command contour with every hole after
// the outer part that holds it.
#pragma once

#include "addonlib/geometry/contour.h"
#include "addonlib/overlay/labelling.h"

namespace geoalg::overlay {

geo::TContour BuildResult(const TLabelledGraph& G, const std::vector<TPiece>& Pieces, TOverlayOp Op,
                          TFillRule Rule0, TFillRule Rule1, const TOverlayTolerance& Tol);

// Whether a point with these windings is in the result.
inline bool Covered(const std::array<int32_t, 2>& W, TOverlayOp Op, TFillRule Rule0,
                    TFillRule Rule1) {
  auto Fills = [](int32_t N, TFillRule Rule) {
    switch (Rule) {
      case TFillRule::EvenOdd:
        return (N & 1) != 0;
      case TFillRule::NonZero:
        return N != 0;
      default:
        return N > 0;
    }
  };
  const bool A = Fills(W[0], Rule0), B = Fills(W[1], Rule1);
  switch (Op) {
    case TOverlayOp::Union:
      return A || B;
    case TOverlayOp::Intersection:
      return A && B;
    case TOverlayOp::Difference:
      return A && !B;
    default:
      return A != B;
  }
}

}  // namespace geoalg::overlay
