// The source's parts as the zone builder walks them: each edge with its unit
// tangents at either end, the area a closed path encloses, and whether a
// closed path is simple as the overlay engine sees it.
#pragma once

#include <vector>

#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/overlay/overlay.h"

namespace trace::zone {

using geo::TDPoint;

// One edge of a source part: its ends, convexity, and the unit tangents at
// either end (the chord turned back by half the sweep at the start, on by
// as much at the end).
struct TPathEdge {
  TDPoint A, B;
  double Convexity;
  double Length;  // of the chord
  double TA[2], TB[2];
};

TPathEdge PathEdge(const geo::TEdge& E);

// Twice the area the closed path encloses, counter-clockwise positive: its
// polygon and the circular segment of every arc.
long double PathArea2(const std::vector<TPathEdge>& Path);

// The same path run the other way.
void Reverse(std::vector<TPathEdge>& Path);

// Whether a closed path neither crosses nor touches itself, as the engine
// sees it: its pieces cut as the engine cuts them, met pairwise over a
// packed R-tree of their boxes widened by the tolerance. Only consecutive
// pieces may meet, at their common end alone. It must also enclose some area.
bool SimpleRing(const std::vector<TPathEdge>& Path, const geoalg::TOverlayTolerance& Tol);

// The parts of Source, and how its closed parts nest, read as the Boolean
// operations read a polygon. The closed parts are moved from Parts (left
// null there, so that the source's order stays) to Closed. Depth[i] counts
// the other parts that hold Closed[i] (odd: a hole, whose inside the
// contour does not cover). Holds[i] is set where some part nested at any
// depth lies within its bounds: such a part cannot stand for its inside by
// its outline alone.
void ClosedNesting(const geo::TContour& Source, geo::TContourList& Parts, geo::TContourList& Closed,
                   std::vector<int32_t>& Depth, std::vector<bool>& Holds);

}  // namespace trace::zone
