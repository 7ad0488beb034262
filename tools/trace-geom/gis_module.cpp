// libtrace-geom-gis.so: the GDAL side of trace-geom, built as a module of its
// own and exporting only the factory.
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/gdal/gis_writer.h"
#include "tools/trace-geom/gis_formats.h"

namespace geomio {

namespace {

class TGisFormats final : public IGisFormats {
 public:
  bool IsGisFile(const std::string& Path) override { return geomio::IsGisFile(Path); }
  TInputSet ReadGisLayer(const std::string& Path, const std::string& Layer,
                         const TProgressFn& Progress) override {
    return geomio::ReadGisLayer(Path, Layer, Progress);
  }
  std::string CrsFromDefinition(const std::string& Definition) override {
    return geomio::CrsFromDefinition(Definition);
  }
  std::string CrsName(const std::string& Crs) override { return geomio::CrsName(Crs); }
  bool CrsIsGeographic(const std::string& Crs) override { return geomio::CrsIsGeographic(Crs); }
  bool FitsDegrees(const std::vector<TInputGeometry>& Geometries) override {
    return geomio::FitsDegrees(Geometries);
  }
  bool SameCrs(const std::string& A, const std::string& B) override {
    return geomio::SameCrs(A, B);
  }
  std::string CrsUrn(const std::string& Crs) override { return geomio::CrsUrn(Crs); }
  std::string Wgs84Crs() override { return geomio::Wgs84Crs(); }
  std::vector<geo::TContour> ToWgs84(const std::string& Crs,
                                     const std::vector<const geo::TContour*>& Contours,
                                     double Tolerance) override {
    const TToWgs84 Transform(Crs);
    std::vector<geo::TContour> Out;
    Out.reserve(Contours.size());
    for (const geo::TContour* C : Contours) Out.push_back(Transform.Apply(*C, Tolerance));
    return Out;
  }
  std::string DriverForPath(const std::string& Path) override {
    return geomio::DriverForPath(Path);
  }
  bool DriverKeepsArcs(const std::string& Driver) override {
    return geomio::DriverKeepsArcs(Driver);
  }
  std::vector<std::string> WriteGisLayer(const TGisOutput& Output,
                                         const std::vector<TGisFeature>& Features,
                                         const TProgressFn& Progress) override {
    return geomio::WriteGisLayer(Output, Features, Progress);
  }
};

}  // namespace

}  // namespace geomio

extern "C" __attribute__((visibility("default"))) geomio::IGisFormats* TraceGeomGisFormats(
    int Version) {
  static geomio::TGisFormats Formats;
  return Version == geomio::GisFormatsVersion ? &Formats : nullptr;
}
