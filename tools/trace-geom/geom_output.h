// trace-geom's output: the results as WKT, SVG or GeoJSON on a stream, or
// as a GIS file through GDAL with the first input's attributes.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/contour_layout.h"
#include "geomio/input_geometry.h"
#include "tools/trace-geom/command_line.h"

namespace geomio {

class TProgressLine;

struct TResult {
  std::string Label;
  geo::TContour Contour;
  const TInputGeometry* Source;  // whose attributes the result keeps
  // Every result comes from the overlay engine, whose order and turn of the
  // parts tell their nesting: writing it places no point.
  TNesting Nesting = TNesting::AsWritten;
};

// Writes to Out, or to the file -o names; GDAL's notes go to Err.
void WriteOutput(const TOptions& O, const std::vector<TInputSet>& Sets,
                 const std::vector<TResult>& Results, std::ostream& Out, std::ostream& Err,
                 TProgressLine& Progress);

}  // namespace geomio
