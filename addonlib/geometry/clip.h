// Clipping of contours, arcs included, by an axis-parallel rectangle, one
// half-plane at a time. Arcs cut by a clip line stay arcs of the same circle
// with recomputed convexities; a closed part that leaves the kept side is
// closed along the clip line; open parts are cut into separate pieces.
#pragma once

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/primitives.h"

namespace geo {

// The part of Source inside Clip. Bounds is the bounding rectangle of Source
// (GetBounds); only the sides of Clip beyond which Bounds strictly extends
// cut, in the order left, bottom, right, top, so a contour inside the
// rectangle comes back exactly as it was.
TContour ClipContourByRect(const TContour& Source, const TDRect& Clip, const TDRect& Bounds);

// The part of Source strictly on one side of the line x = Coord (IsX) or
// y = Coord: the side of greater coordinates when KeepGreater, else of
// smaller ones.
TContour ClipHalfPlane(const TContour& Source, bool IsX, bool KeepGreater, double Coord);

}  // namespace geo
