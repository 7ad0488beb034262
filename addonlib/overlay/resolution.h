// What the Boolean operations can resolve. The engine takes points closer
// than its tolerance for one: 2^-49 of the coordinates' magnitude (8 to 16
// spacings of doubles), below half the point tolerance up to coordinates of
// about 2.8e8. Beyond that it would join (or mangle) sides, corners and gaps
// that the point tolerance keeps apart, and answer without them; such
// inputs are refused instead, with a message naming the limit.
#pragma once

#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/overlay/overlay.h"

namespace geoalg {

// Raises core::Exception where, at coordinates whose tolerance (Tol) doubled
// exceeds the point tolerance, an edge of an input is no longer than twice
// that tolerance, or an end of an edge lies within it of another edge
// without lying on it (more than two spacings of doubles off, or half the
// point tolerance where that is less).
void CheckResolution(const std::vector<const geo::TContour*>& Inputs, const TOverlayTolerance& Tol);

}  // namespace geoalg
