// Layers in and out of files: WKT text through our own reader (its errors
// name the line and column), every vector format GDAL reads (GeoPackage,
// Shapefile, GeoJSON, FlatGeobuf, DXF, ...) through GDAL, arcs of curved
// geometries kept and attributes carried; a layer out as WKT or through
// GDAL as GeoPackage, GeoJSON, FlatGeobuf, DXF and the rest. The project's
// coordinate system comes from the first file that names one and goes with
// every export. Its own library, so that only the application and its tests
// load GDAL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/model/map_model.h"

namespace host {

// The file, by its extension: WKT text (.wkt, .txt) through ImportGeometry,
// anything else through ImportGisLayer. Returns the new IDs. Notes, when
// given, gets what the map could not hold (Z and M values), once per file.
std::vector<TKxID> ImportLayerFile(THostProject& Project, const TKxID& LayerID,
                                   const TKxID& StyleID, const std::string& Path,
                                   const std::string& GisLayer = "",
                                   std::vector<std::string>* Notes = nullptr);

// Adds one object per geometry of Text (WKT, or GeoJSON when it begins with
// "{") to the layer, each a single shape in the style. All or nothing: any
// error (syntax, a geometry that the style refuses, the coordinate system)
// raises EHostError naming the input line, and nothing is added. WKT names
// no coordinate system and is taken as in the project's; GeoJSON is in WGS
// 84 unless it names another (RFC 7946), and is refused as ImportGisLayer
// refuses degrees. Source names the text in messages.
std::vector<TKxID> ImportGeometry(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  std::string_view Text, const std::string& Source = "GeoJSON",
                                  std::vector<std::string>* Notes = nullptr);

// Adds one object per feature of the file's layer (GisLayer, or the file's
// only layer) to the layer, each a single shape in the style, with the
// feature's attributes. All or nothing, as ImportGeometry. A file in a
// geographic coordinate system (degrees) is refused, since the map and
// every width on it are metres; a file in another system than the
// project's is refused, naming both; a project without one takes the
// file's. Returns the new IDs.
std::vector<TKxID> ImportGisLayer(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  const std::string& Path, const std::string& GisLayer = "",
                                  std::vector<std::string>* Notes = nullptr);

// The layers of a GIS file, for choosing one; empty for WKT text.
std::vector<std::string> FileLayerNames(const std::string& Path);

// Writes the layer's objects that have geometry as a new file in the format
// of its extension (or GDAL's driver Driver), in the project's coordinate
// system. Each feature has the object's id and layer, then the layer's
// fields (a field named "id" or "layer", as a file exported before brings
// back, takes that column's place). Arcs become chords within Tolerance
// metres where the format has no arcs. An existing file is refused unless
// Overwrite. Returns notes on what the format could not hold.
std::vector<std::string> ExportGisLayer(const THostProject& Project, const TKxID& LayerID,
                                        const std::string& Path, double Tolerance,
                                        const std::string& Driver = "", bool Overwrite = false);

// The layer into Path by its extension, replacing the file: WKT text, arcs
// kept, for .wkt and .txt; else ExportGisLayer. Returns the notes for the
// user (arcs as chords within Tolerance, what the format cannot hold).
std::vector<std::string> ExportLayerFile(const THostProject& Project, const TKxID& LayerID,
                                         const std::string& Path, double Tolerance);

// Whether a file name is for GDAL rather than for the WKT text reader.
bool IsGisFileName(const std::string& Path);

}  // namespace host
