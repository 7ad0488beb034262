// Reading one layer of any vector file GDAL/OGR reads (GeoPackage,
// Shapefile, GeoJSON, FlatGeobuf, DXF, GML, CSV with WKT, ...) into command
// contours, with each feature's attributes and the layer's coordinate system.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "geomio/input_geometry.h"

namespace geomio {

// Called after each feature read: features done, and the total when known
// cheaply (else 0).
using TProgressFn = std::function<void(size_t Done, size_t Total)>;

// Whether GDAL recognises Path (a file or a folder) as vector data.
bool IsGisFile(const std::string& Path);

// The names of the file's layers, in the file's order.
std::vector<std::string> GisLayerNames(const std::string& Path);

// Reads the layer named Layer, or the file's only layer when Layer is empty.
// Geometries pass through the WKT reader, so a curve's (start, middle, end)
// triples become arcs exactly as from WKT text; a feature without geometry
// gets an empty contour. Raises EInputError naming the file, layer and
// feature for what is no contour (points), and for a missing or ambiguous
// layer.
TInputSet ReadGisLayer(const std::string& Path, const std::string& Layer,
                       const TProgressFn& Progress = {});

}  // namespace geomio
