// Reading the tool's input: GeoJSON when the text begins with '{', else WKT,
// one geometry a line (blank lines and lines starting with '#' skipped).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geomio/input_geometry.h"

namespace geomio {

// Whether ReadInput takes Text as GeoJSON: its first character after blanks
// (and a byte order mark) is "{".
bool IsGeoJsonText(std::string_view Text);

// Raises EInputError carrying the input line of the fault. CrsName, when
// given, receives the coordinate system a GeoJSON "crs" member names
// ("urn:ogc:def:crs:EPSG::25832"), else nothing.
std::vector<TInputGeometry> ReadInput(std::string_view Text, std::string* CrsName = nullptr);

}  // namespace geomio
