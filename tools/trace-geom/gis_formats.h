// What trace-geom needs of GDAL and PROJ, behind one interface: GIS files
// read and written, coordinate systems read, named and compared. It lives in
// a module of its own, libtrace-geom-gis.so, that the tool loads on first use,
// so that a job on WKT or GeoJSON text starts without GDAL, PROJ and the
// hundred libraries they bring.
#pragma once

#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/gdal/gis_writer.h"
#include "geomio/input_geometry.h"

namespace geomio {

// The functions of geomio/gdal of the same names; errors are raised as they
// raise them.
class IGisFormats {
 public:
  virtual bool IsGisFile(const std::string& Path) = 0;
  virtual TInputSet ReadGisLayer(const std::string& Path, const std::string& Layer,
                                 const TProgressFn& Progress) = 0;
  virtual std::string CrsFromDefinition(const std::string& Definition) = 0;
  virtual std::string CrsName(const std::string& Crs) = 0;
  virtual bool CrsIsGeographic(const std::string& Crs) = 0;
  virtual bool FitsDegrees(const std::vector<TInputGeometry>& Geometries) = 0;
  virtual bool SameCrs(const std::string& A, const std::string& B) = 0;
  virtual std::string CrsUrn(const std::string& Crs) = 0;
  virtual std::string Wgs84Crs() = 0;
  // The contours in WGS 84 longitude and latitude, as TToWgs84 gives them.
  virtual std::vector<geo::TContour> ToWgs84(const std::string& Crs,
                                             const std::vector<const geo::TContour*>& Contours,
                                             double Tolerance) = 0;
  virtual std::string DriverForPath(const std::string& Path) = 0;
  virtual bool DriverKeepsArcs(const std::string& Driver) = 0;
  virtual std::vector<std::string> WriteGisLayer(const TGisOutput& Output,
                                                 const std::vector<TGisFeature>& Features,
                                                 const TProgressFn& Progress) = 0;

 protected:
  ~IGisFormats() = default;  // the module owns its one instance
};

// Raised by one whenever the interface changes, so that a stale module is refused
// rather than called through the wrong table.
inline constexpr int GisFormatsVersion = 1;

// The module's one export, looked up by this name: the instance, or null
// when Version is not the module's own.
using TGisFormatsFactory = IGisFormats* (*)(int Version);
inline constexpr const char* GisFormatsFactoryName = "TraceGeomGisFormats";

// Loads the module at Path. Raises core::Exception naming the module and the
// loader's reason when it cannot be loaded.
IGisFormats& LoadGisFormats(const std::string& Path);

// The module, loaded on the first call: from the folder of the running
// executable, else from where the build put it (for tests that run the tool
// in process).
IGisFormats& GisFormats();

}  // namespace geomio
