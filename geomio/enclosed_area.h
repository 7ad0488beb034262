// The area a contour encloses, its parts nested even-odd: outer boundaries
// count, holes subtract, islands in holes count again. Computed from the
// exact arcs; open parts enclose nothing.
#pragma once

#include "addonlib/geometry/contour.h"
#include "geomio/contour_layout.h"

namespace geomio {

double EnclosedArea(const geo::TContour& Contour, TNesting Nesting = TNesting::Find);

}  // namespace geomio
