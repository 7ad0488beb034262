// Reading the tool's input: GeoJSON when the text begins with '{', else WKT,
// one geometry a line (blank lines and lines starting with '#' skipped).
#pragma once

#include <string_view>
#include <vector>

#include "geomio/input_geometry.h"

namespace geomio {

// Raises EInputError carrying the input line of the fault.
std::vector<TInputGeometry> ReadInput(std::string_view Text);

}  // namespace geomio
