// Layers in and out of GIS files through GDAL: every vector format GDAL
// reads (GeoPackage, Shapefile, GeoJSON, FlatGeobuf, DXF, ...) imported into
// a layer, arcs of curved geometries kept; a layer exported to GeoPackage,
// GeoJSON, FlatGeobuf, DXF and the rest. The project's coordinate system
// comes from the first file imported and goes with every export.
#pragma once

#include <string>
#include <vector>

#include "host/map_model.h"

namespace host {

// Adds one object per feature of the file's layer (GisLayer, or the file's
// only layer) to the layer, each a single shape in the style. All or
// nothing, as ImportGeometry. A file in a geographic coordinate system
// (degrees) is refused, since the map and every width on it are metres; a
// file in another system than the project's is refused, naming both; a
// project without one takes the file's. Returns the new IDs.
std::vector<TKxID> ImportGisLayer(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  const std::string& Path, const std::string& GisLayer = "");

// Writes the layer's objects that have geometry as a new file in the format
// of its extension (or GDAL's driver Driver), in the project's coordinate
// system, each feature with the object's id and layer. Arcs become chords
// within Tolerance metres where the format has no arcs. An existing file is
// refused unless Overwrite. Returns notes on what the format could not hold.
std::vector<std::string> ExportGisLayer(const THostProject& Project, const TKxID& LayerID,
                                        const std::string& Path, double Tolerance,
                                        const std::string& Driver = "", bool Overwrite = false);

// Whether a file name is for ImportGisLayer/ExportGisLayer rather than the
// WKT and GeoJSON text of ImportGeometry and the Export functions.
bool IsGisFileName(const std::string& Path);

}  // namespace host
