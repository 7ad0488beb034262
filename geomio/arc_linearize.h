// Arcs as chains of chords, for output formats that have no arcs.
#pragma once

#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"

namespace geomio {

// Number of equal chords that keep an arc of the given radius and sweep
// within Tolerance of its chords (at least 1). Raises EInputError when the
// tolerance would need more than a million chords for one arc.
int ChordCount(double Radius, double Sweep, double Tolerance);

// The points of a chain of edges: the first edge's start, then for each edge
// its chord points and its exact end. Straight edges add just their end.
std::vector<geo::TDPoint> LinearizeEdges(const std::vector<geo::TEdge>& Edges, double Tolerance);

// The contour with every arc replaced by chords within Tolerance of it; parts
// keep their order and direction, closed parts stay closed.
geo::TContour LinearizedContour(const geo::TContour& Contour, double Tolerance);

}  // namespace geomio
