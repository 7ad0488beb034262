// Writing command contours as GeoJSON: arcs become chords that stay within a
// tolerance of them; closed parts are grouped into Polygons by nesting.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/contour_layout.h"
#include "geomio/feature_fields.h"

namespace geomio {

// The geometry object of one contour, outer rings counter-clockwise and holes
// clockwise: Polygon, MultiPolygon, LineString,
// MultiLineString, or a GeometryCollection when areas and lines mix (an
// empty one for a contour without edges).
std::string GeoJsonGeometry(const geo::TContour& Contour, double Tolerance,
                            TNesting Nesting = TNesting::Find);

// A JSON string literal, quotes included.
std::string JsonString(const std::string& Text);

// An attribute value as JSON: null, a number or a string.
std::string JsonOfValue(const TFieldValue& Value);

// One Feature: Geometry (JSON text) with properties given as member names
// and JSON texts.
std::string GeoJsonFeature(const std::string& Geometry,
                           const std::vector<std::pair<std::string, std::string>>& Properties);

}  // namespace geomio
