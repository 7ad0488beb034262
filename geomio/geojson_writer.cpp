#include "geomio/geojson_writer.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>

#include "geomio/arc_linearize.h"
#include "geomio/contour_layout.h"

namespace geomio {

namespace {

// Members keep the order they are added in, as GeoJSON readers expect "type" first.
using TJson = nlohmann::ordered_json;

// Whole numbers without a fraction ("500000", not "500000.0"), as the WKT
// writer has them; nlohmann writes the rest in their shortest exact form.
TJson Number(double Value) {
  if (std::trunc(Value) == Value && std::fabs(Value) < 9e18) return static_cast<int64_t>(Value);
  return Value;
}

// Bytes that are not UTF-8 (an attribute in another encoding) become U+FFFD
// rather than invalid JSON.
std::string Text(const TJson& J) {
  return J.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

TJson Positions(const TLayoutPart& Part, double Tolerance) {
  TJson A = TJson::array();
  for (const geo::TDPoint& P : LinearizeEdges(Part.Edges, Tolerance))
    A.push_back(TJson::array({Number(P.X), Number(P.Y)}));
  return A;
}

TJson Rings(const TContourLayout& L, const std::vector<size_t>& Parts, double Tolerance) {
  TJson A = TJson::array();
  for (const size_t k : Parts) A.push_back(Positions(L.Parts[k], Tolerance));
  return A;
}

TJson Polygons(const TContourLayout& L, double Tolerance) {
  if (L.Polygons.size() == 1)
    return {{"type", "Polygon"}, {"coordinates", Rings(L, L.Polygons[0], Tolerance)}};
  TJson A = TJson::array();
  for (const std::vector<size_t>& P : L.Polygons) A.push_back(Rings(L, P, Tolerance));
  return {{"type", "MultiPolygon"}, {"coordinates", std::move(A)}};
}

TJson Lines(const TContourLayout& L, double Tolerance) {
  if (L.Lines.size() == 1)
    return {{"type", "LineString"}, {"coordinates", Positions(L.Parts[L.Lines[0]], Tolerance)}};
  return {{"type", "MultiLineString"}, {"coordinates", Rings(L, L.Lines, Tolerance)}};
}

}  // namespace

std::string GeoJsonGeometry(const geo::TContour& Contour, double Tolerance, TNesting Nesting) {
  TContourLayout L = LayOutContour(Contour, Nesting);
  OrientRings(L);
  const bool Areas = !L.Polygons.empty();
  const bool HasLines = !L.Lines.empty();
  if (Areas && !HasLines) return Text(Polygons(L, Tolerance));
  if (HasLines && !Areas) return Text(Lines(L, Tolerance));
  TJson Parts = TJson::array();
  if (Areas) {
    Parts.push_back(Polygons(L, Tolerance));
    Parts.push_back(Lines(L, Tolerance));
  }
  return Text({{"type", "GeometryCollection"}, {"geometries", std::move(Parts)}});
}

std::string JsonString(const std::string& S) {
  return Text(S);
}

std::string JsonOfValue(const TFieldValue& Value) {
  if (const auto* I = std::get_if<int64_t>(&Value)) return Text(*I);
  if (const auto* D = std::get_if<double>(&Value))
    return std::isfinite(*D) ? Text(Number(*D)) : "null";
  if (const auto* S = std::get_if<std::string>(&Value)) return JsonString(*S);
  return "null";
}

std::string GeoJsonFeature(const std::string& Geometry,
                           const std::vector<std::pair<std::string, std::string>>& Properties) {
  std::string S = R"({"type":"Feature","properties":{)";
  for (size_t k = 0; k < Properties.size(); ++k) {
    if (k) S += ',';
    S += JsonString(Properties[k].first) + ':' + Properties[k].second;
  }
  return S + R"(},"geometry":)" + Geometry + '}';
}

}  // namespace geomio
