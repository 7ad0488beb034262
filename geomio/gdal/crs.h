// Coordinate systems, carried as WKT text so that callers need no GDAL
// headers: reading a definition, naming, comparing, and taking contours to
// WGS 84 longitude and latitude.
#pragma once

#include <memory>
#include <string>

#include "addonlib/geometry/contour.h"
#include "geomio/input_geometry.h"

namespace geomio {

// The WKT of a system given as "EPSG:25832", WKT or PROJ text. Raises
// EInputError for anything else (files and the network are not consulted).
std::string CrsFromDefinition(const std::string& Definition);

// How messages and the status bar name a system: "ETRS89 / UTM zone 32N
// (EPSG:25832)"; "unknown" for an empty one.
std::string CrsName(const std::string& Crs);

// Whether coordinates in the system are angles (degrees), not lengths.
bool CrsIsGeographic(const std::string& Crs);

// Whether every coordinate could be a longitude and a latitude: false for
// metres in a file that names no system or a wrong one.
bool FitsDegrees(const std::vector<TInputGeometry>& Geometries);

// Whether two systems are the same; two empty ones are.
bool SameCrs(const std::string& A, const std::string& B);

// "urn:ogc:def:crs:EPSG::25832", as GeoJSON names a system; empty when the
// system has no EPSG code.
std::string CrsUrn(const std::string& Crs);

// The WKT of WGS 84.
std::string Wgs84Crs();

// Contours from one system to WGS 84 longitude and latitude. Arcs become
// chords within the tolerance in the source system first, since an arc does
// not stay an arc through a projection.
class TToWgs84 {
 public:
  explicit TToWgs84(const std::string& Crs);  // raises EInputError
  ~TToWgs84();
  TToWgs84(const TToWgs84&) = delete;
  TToWgs84& operator=(const TToWgs84&) = delete;

  geo::TContour Apply(const geo::TContour& Contour, double Tolerance) const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};

}  // namespace geomio
