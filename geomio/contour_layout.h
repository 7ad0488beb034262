// TContourLayout: a contour taken apart for writing and measuring: its
// parts with their edges, the closed parts grouped into polygons (an outer
// ring and the holes directly inside it, by nesting depth) and the open ones.
#pragma once

#include <cstddef>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"

namespace geomio {

struct TLayoutPart {
  geo::TContour Contour;          // this part alone
  std::vector<geo::TEdge> Edges;  // its edges with distinct ends, in order
  bool Closed = false;
  bool HasArcs = false;
  int Depth = 0;  // how many other closed parts enclose it (closed parts only)
};

struct TContourLayout {
  std::vector<TLayoutPart> Parts;
  // Indices into Parts: an outer ring (even depth) first, then its holes.
  std::vector<std::vector<size_t>> Polygons;
  std::vector<size_t> Lines;  // open parts
};

// How the closed parts' nesting is known.
enum class TNesting {
  Find,       // from the parts' places: any contour
  AsWritten,  // from their order and turn, as the overlay engine writes its
              // results (a buffer zone, a Boolean operation): every outer
              // part runs clockwise and is followed by the holes directly
              // inside it, which run counter-clockwise; an island in a hole
              // is an outer part again. No point is placed: a result with
              // ten thousand holes costs no more than its edges.
};

// Parts without any edge of non-zero length are left out.
TContourLayout LayOutContour(const geo::TContour& Contour, TNesting Nesting = TNesting::Find);

// Signed area of a closed part, clockwise positive as the kernel counts it,
// from all its edges: those shorter than the point tolerance count too.
double PartArea(const TLayoutPart& Part);

// Turns the closed parts so that outer rings run counter-clockwise and holes
// clockwise, as GeoJSON and most GIS formats expect; open parts keep their
// direction.
void OrientRings(TContourLayout& Layout);

}  // namespace geomio
