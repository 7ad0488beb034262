// An SVG picture of input and result contours: arcs drawn as SVG arcs, north
// up (the y axis flipped), the view box fitted to the data with a margin.
#pragma once

#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace geomio {

struct TSvgItem {
  const geo::TContour* Contour;
  std::string Title;  // shown as the item's tooltip
};

// Inputs are drawn grey below the results, which are drawn blue; both with
// even-odd filling, so holes stay open.
std::string SvgPicture(const std::vector<TSvgItem>& Inputs, const std::vector<TSvgItem>& Results);

}  // namespace geomio
