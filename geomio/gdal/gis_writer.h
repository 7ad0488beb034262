// Writing command contours with attributes into a new vector file through
// GDAL/OGR: GeoPackage, GeoJSON, FlatGeobuf, DXF, Shapefile, GML, CSV and
// any other format GDAL creates. Arcs stay arcs where the format holds
// curves; elsewhere they become chords within the tolerance.
#pragma once

#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/feature_fields.h"
#include "geomio/gdal/gis_reader.h"

namespace geomio {

struct TGisOutput {
  std::string Path;
  std::string Driver;  // GDAL's driver name; empty: by the file's extension
  std::string Layer;   // empty: the file's name without its extension
  std::string Crs;     // WKT; empty when unknown
  std::vector<TFieldDef> Fields;
  double Tolerance = 1e-3;  // largest distance of a chord from its arc
  bool Overwrite = false;   // replace an existing file rather than refuse
  bool Rfc7946 = false;     // GeoJSON only: written as RFC 7946 asks (WGS 84 coordinates given)
};

struct TGisFeature {
  const geo::TContour* Contour;
  const std::vector<TFieldValue>* Values;  // one per field of the output
  // A line feature (a road drawn as a ring): its closed parts go out as
  // closed lines, not as polygons.
  bool Lines = false;
};

// The GDAL driver for a file name's extension (".gpkg" GPKG, ".geojson"
// GeoJSON, ".fgb" FlatGeobuf, ".dxf" DXF, ".shp" ESRI Shapefile, ...), or
// empty when the extension names none.
std::string DriverForPath(const std::string& Path);

// Whether the driver writes curves as curves.
bool DriverKeepsArcs(const std::string& Driver);

// Writes the features, outer rings counter-clockwise and holes clockwise, as
// one layer of a new file. Returns notes for the user about what the format
// could not hold (arcs, attributes, the coordinate system) and GDAL's
// warnings. Raises EInputError for an unknown driver or an existing file,
// core::Exception when GDAL fails to write.
std::vector<std::string> WriteGisLayer(const TGisOutput& Output,
                                       const std::vector<TGisFeature>& Features,
                                       const TProgressFn& Progress = {});

}  // namespace geomio
