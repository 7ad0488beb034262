#include "geomio/gdal/crs.h"

#include <ogr_spatialref.h>

#include <vector>

#include "addonlib/geometry/measures.h"
#include "geomio/arc_linearize.h"
#include "geomio/gdal/gdal_support.h"
#include "geomio/input_error.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {

// Longitude before latitude, easting before northing, whatever the
// authority's axis order: the order files hold coordinates in.
void Traditional(OGRSpatialReference& S) {
  S.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
}

bool Load(const std::string& Wkt, OGRSpatialReference& S) {
  Traditional(S);
  return !Wkt.empty() && S.importFromWkt(Wkt.c_str()) == OGRERR_NONE;
}

std::string WktOf(const OGRSpatialReference& S) {
  char* Text = nullptr;
  const char* const Options[] = {"FORMAT=WKT2_2019", nullptr};
  std::string Wkt;
  if (S.exportToWkt(&Text, Options) == OGRERR_NONE && Text) Wkt = Text;
  CPLFree(Text);
  return Wkt;
}

std::string EpsgCode(const OGRSpatialReference& S) {
  const char* Authority = S.GetAuthorityName(nullptr);
  const char* Code = S.GetAuthorityCode(nullptr);
  if (Authority && Code && std::string(Authority) == "EPSG") return Code;
  return "";
}

}  // namespace

std::string CrsFromDefinition(const std::string& Definition) {
  gdal::TGdalMessages Messages;
  OGRSpatialReference S;
  if (S.SetFromUserInput(Definition.c_str(),
                         OGRSpatialReference::SET_FROM_USER_INPUT_LIMITATIONS_get()) != OGRERR_NONE)
    throw EInputError("unknown coordinate system '" + Definition + "'");
  return WktOf(S);
}

std::string CrsName(const std::string& Crs) {
  if (Crs.empty()) return "unknown";
  gdal::TGdalMessages Messages;
  OGRSpatialReference S;
  if (!Load(Crs, S)) return "unknown";
  const char* Name = S.GetName();
  std::string Text = Name ? Name : "unnamed";
  const std::string Code = EpsgCode(S);
  if (!Code.empty()) Text += " (EPSG:" + Code + ")";
  return Text;
}

bool CrsIsGeographic(const std::string& Crs) {
  gdal::TGdalMessages Messages;
  OGRSpatialReference S;
  return Load(Crs, S) && S.IsGeographic();
}

bool FitsDegrees(const std::vector<TInputGeometry>& Geometries) {
  for (const TInputGeometry& G : Geometries) {
    geo::TDRect R;
    if (geo::GetBounds(G.Contour, R) && (R.X1 < -360 || R.X2 > 360 || R.Y1 < -90 || R.Y2 > 90))
      return false;
  }
  return true;
}

bool SameCrs(const std::string& A, const std::string& B) {
  if (A.empty() || B.empty()) return A.empty() && B.empty();
  gdal::TGdalMessages Messages;
  OGRSpatialReference X, Y;
  if (!Load(A, X) || !Load(B, Y)) return A == B;
  return X.IsSame(&Y);
}

std::string CrsUrn(const std::string& Crs) {
  gdal::TGdalMessages Messages;
  OGRSpatialReference S;
  if (!Load(Crs, S)) return "";
  const std::string Code = EpsgCode(S);
  return Code.empty() ? "" : "urn:ogc:def:crs:EPSG::" + Code;
}

std::string Wgs84Crs() {
  gdal::TGdalMessages Messages;
  OGRSpatialReference S;
  S.importFromEPSG(4326);
  return WktOf(S);
}

struct TToWgs84::TImpl {
  OGRSpatialReference From, To;
  std::unique_ptr<OGRCoordinateTransformation> Transform;
};

TToWgs84::TToWgs84(const std::string& Crs) : Impl(std::make_unique<TImpl>()) {
  gdal::TGdalMessages Messages;
  if (!Load(Crs, Impl->From))
    throw EInputError("WGS 84 output needs the input's coordinate system, and it is unknown");
  Traditional(Impl->To);
  Impl->To.importFromEPSG(4326);
  Impl->Transform.reset(OGRCreateCoordinateTransformation(&Impl->From, &Impl->To));
  if (!Impl->Transform)
    throw EInputError("no transformation from " + CrsName(Crs) +
                      " to WGS 84: " + Messages.LastError("PROJ found none"));
}

TToWgs84::~TToWgs84() = default;

geo::TContour TToWgs84::Apply(const geo::TContour& Contour, double Tolerance) const {
  gdal::TGdalMessages Messages;
  const geo::TContour Straight = LinearizedContour(Contour, Tolerance);
  const int32_t N = Straight.CommandCount();
  std::vector<double> X, Y;
  for (int32_t i = 0; i < N; ++i) {
    const geo::TComplexCommand C = Straight.GetCommand(i);
    if (!geo::IsToCommand(C)) continue;
    X.push_back(C.Point.X);
    Y.push_back(C.Point.Y);
  }
  std::vector<int> Ok(X.size(), 0);
  const std::vector<double> X0 = X, Y0 = Y;
  Impl->Transform->Transform(X.size(), X.data(), Y.data(), nullptr, nullptr, Ok.data());
  geo::TContour Out;
  size_t k = 0;
  for (int32_t i = 0; i < N; ++i) {
    geo::TComplexCommand C = Straight.GetCommand(i);
    if (geo::IsToCommand(C)) {
      if (!Ok[k])
        throw EInputError("the point " + PointText({X0[k], Y0[k]}) + " has no place in WGS 84");
      C.Point = {X[k], Y[k]};
      ++k;
    }
    Out.AddCommand(C);
  }
  return Out;
}

}  // namespace geomio
