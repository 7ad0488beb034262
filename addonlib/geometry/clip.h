// Clipping of contours, arcs included, by an axis-parallel rectangle, one
// half-plane at a time. Arcs cut by a clip line stay arcs of the same circle
// with recomputed convexities; a closed part that leaves the kept side is
// closed along the clip line; open parts are cut into separate pieces.
#pragma once

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/primitives.h"

namespace geo {

// The clipper's two scratch contours, shared by the whole program: created
// on first use and freed at exit. ClipContour holds the contour to clip on
// entry and the result on exit; ClipScratch holds the input of the current
// half-plane pass. Single-threaded, like the rest of the kernel.
TContour& ClipContour();
TContour& ClipScratch();

// Cuts ClipContour down to the part inside Clip. Bounds is the bounding
// rectangle of ClipContour (GetBounds); only the sides of Clip beyond which
// Bounds strictly extends cut, in the order left, bottom, right, top, so a
// contour inside the rectangle is left exactly as it was.
void ClipContourByRect(const TDRect& Clip, const TDRect& Bounds);

// Fills ClipContour with the part of ClipScratch strictly on one side of the
// line x = Coord (IsX) or y = Coord: the side of greater coordinates when
// KeepGreater, else of smaller ones.
void ClipHalfPlane(bool IsX, bool KeepGreater, double Coord);

}  // namespace geo
