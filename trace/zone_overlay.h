// Buffer zones through the overlay engine: every piece of the zone (a disc
// at every vertex, a rectangle along every straight segment, an annular
// sector along every arc, as the sector-by-sector zone builds them) goes
// into one overlay, united at winding above 0 together with the interiors of
// the source's closed parts.
#pragma once

#include "addonlib/geometry/contour.h"

namespace trace {

// Replaces Dest by the zone of Source for Width (positive). Dest must not be
// Source. On failure Dest is left as it was.
void BuildBufferZoneOverlay(const geo::TContour& Source, geo::TContour& Dest, double Width);

}  // namespace trace
