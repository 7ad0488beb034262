// One geometry of the input, as a command contour, with where it came from.
#pragma once

#include <string>

#include "addonlib/geometry/contour.h"

namespace geomio {

struct TInputGeometry {
  std::string Label;  // "line 3", "feature 2": how messages and output name it
  int Line = 0;       // input line where it starts
  geo::TContour Contour;
};

}  // namespace geomio
