// Reading GeoJSON (a FeatureCollection, a Feature or a bare geometry) into
// command contours: polygon rings become closed parts, line strings open
// parts. Points are refused, as they are no contour.
#pragma once

#include <vector>

#include "geomio/input_geometry.h"
#include "geomio/json_value.h"

namespace geomio {

// Appends one input geometry per feature (or the one bare geometry) of Root.
// Raises EInputError with the line of the offending object.
void ReadGeoJson(const TJsonValue& Root, std::vector<TInputGeometry>& Out);

}  // namespace geomio
