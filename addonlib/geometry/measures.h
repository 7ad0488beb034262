// Measures of contours and edges: bounding rectangles and signed areas.
#pragma once

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"

namespace geo {

// Bounding rectangle of one edge, arc bulges included (extreme points of the
// circle that lie in the arc's span, borders included).
void ArcBounds(const TEdge& E, TDRect& R);
// Bounding rectangle of all points and arcs of the contour; False, R
// untouched, for a contour without a To command.
bool GetBounds(const TContour& Contour, TDRect& R);
// Signed area between the edge and the x-axis, with the circular segment of
// an arc: summed over a closed ring, clockwise rings are positive.
double EdgeArea(const TEdge& E);
// Signed area of the closed parts (clockwise positive, counter-clockwise
// negative); open parts add nothing. Each part is summed relative to its own
// first point, so coordinates far from the origin lose no precision.
double Area(const TContour& Contour);

}  // namespace geo
