// Writing a command contour as one line of WKT. Straight results are
// POLYGON, MULTIPOLYGON, LINESTRING or MULTILINESTRING; arcs are written as
// CIRCULARSTRING pieces through the arc's middle (CURVEPOLYGON, MULTISURFACE,
// COMPOUNDCURVE, MULTICURVE), so that reading the text back gives the same
// arcs. Coordinates are written to full precision.
#pragma once

#include <string>

#include "addonlib/geometry/contour.h"
#include "geomio/contour_layout.h"

namespace geomio {

// "GEOMETRYCOLLECTION EMPTY" for a contour without edges.
std::string WktOfContour(const geo::TContour& Contour, TNesting Nesting = TNesting::Find);
// The same for a contour already laid out (and perhaps its rings turned).
std::string WktOfLayout(const TContourLayout& Layout);

}  // namespace geomio
