// Buffer zones through the overlay engine. Each part of the source, walked
// there and back, gives one closed curve: every edge offset by the width to
// its right (a line stays a line, an arc becomes an arc of the same centre),
// joined at every vertex by an arc of the width around it that turns as the
// part turns there (a half circle at either end). Around every point within
// the width of the part this curve winds once for every stretch of the part
// that comes that close, and nowhere else, so the zone is where it winds
// above 0, united with the interiors of the source's closed parts.
#pragma once

#include "addonlib/geometry/contour.h"

namespace trace {

// Replaces Dest by the zone of Source for Width (positive). Dest must not be
// Source. On failure Dest is left as it was.
void BuildBufferZoneOverlay(const geo::TContour& Source, geo::TContour& Dest, double Width);

}  // namespace trace
