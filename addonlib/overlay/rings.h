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
bool Covered(const std::array<int32_t, 2>& W, TOverlayOp Op, TFillRule Rule0, TFillRule Rule1);

}  // namespace geoalg::overlay
