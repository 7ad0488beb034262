// Reading one WKT geometry into a command contour.
//
// Rings become closed parts, line strings open parts, multi-geometries and
// collections several parts; a CIRCULARSTRING's (start, mid, end) triples
// become bulge arcs. Z and M ordinates are read and dropped. POINT and
// MULTIPOINT are refused: a point is no contour.
#pragma once

#include <string_view>

#include "addonlib/geometry/contour.h"

namespace geomio {

// Appends the parts of the geometry in Text to Contour. Raises EInputError,
// naming the column, for anything that is not a valid geometry. DroppedZM,
// when given, tells whether Z or M values were dropped.
void ReadWkt(std::string_view Text, geo::TContour& Contour, bool* DroppedZM = nullptr);

}  // namespace geomio
