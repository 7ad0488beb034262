#include "geomio/geojson_writer.h"

#include <cmath>
#include <cstdio>

#include "geomio/arc_linearize.h"
#include "geomio/contour_layout.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {

void AppendPositions(std::string& S, const TLayoutPart& Part, double Tolerance) {
  S += '[';
  bool First = true;
  for (const geo::TDPoint& P : LinearizeEdges(Part.Edges, Tolerance)) {
    if (!First) S += ',';
    First = false;
    S += '[';
    AppendNumber(S, P.X);
    S += ',';
    AppendNumber(S, P.Y);
    S += ']';
  }
  S += ']';
}

void AppendRings(std::string& S, const TContourLayout& L, const std::vector<size_t>& Rings,
                 double Tolerance) {
  S += '[';
  for (size_t k = 0; k < Rings.size(); ++k) {
    if (k) S += ',';
    AppendPositions(S, L.Parts[Rings[k]], Tolerance);
  }
  S += ']';
}

void AppendPolygons(std::string& S, const TContourLayout& L, double Tolerance) {
  if (L.Polygons.size() == 1) {
    S += R"({"type":"Polygon","coordinates":)";
    AppendRings(S, L, L.Polygons[0], Tolerance);
  } else {
    S += R"({"type":"MultiPolygon","coordinates":[)";
    for (size_t k = 0; k < L.Polygons.size(); ++k) {
      if (k) S += ',';
      AppendRings(S, L, L.Polygons[k], Tolerance);
    }
    S += ']';
  }
  S += '}';
}

void AppendLines(std::string& S, const TContourLayout& L, double Tolerance) {
  if (L.Lines.size() == 1) {
    S += R"({"type":"LineString","coordinates":)";
    AppendPositions(S, L.Parts[L.Lines[0]], Tolerance);
  } else {
    S += R"({"type":"MultiLineString","coordinates":[)";
    for (size_t k = 0; k < L.Lines.size(); ++k) {
      if (k) S += ',';
      AppendPositions(S, L.Parts[L.Lines[k]], Tolerance);
    }
    S += ']';
  }
  S += '}';
}

}  // namespace

std::string GeoJsonGeometry(const geo::TContour& Contour, double Tolerance) {
  TContourLayout L = LayOutContour(Contour);
  OrientRings(L);
  std::string S;
  const bool Areas = !L.Polygons.empty();
  const bool Lines = !L.Lines.empty();
  if (Areas && !Lines) {
    AppendPolygons(S, L, Tolerance);
  } else if (Lines && !Areas) {
    AppendLines(S, L, Tolerance);
  } else {
    S += R"({"type":"GeometryCollection","geometries":[)";
    if (Areas) {
      AppendPolygons(S, L, Tolerance);
      S += ',';
      AppendLines(S, L, Tolerance);
    }
    S += "]}";
  }
  return S;
}

std::string JsonString(const std::string& Text) {
  std::string S = "\"";
  for (const char C : Text) {
    if (C == '"' || C == '\\') {
      S += '\\';
      S += C;
    } else if (static_cast<unsigned char>(C) < 0x20) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\u%04x", static_cast<unsigned>(C));
      S += Buf;
    } else {
      S += C;
    }
  }
  return S + '"';
}

std::string JsonOfValue(const TFieldValue& Value) {
  if (const auto* I = std::get_if<int64_t>(&Value)) return std::to_string(*I);
  if (const auto* D = std::get_if<double>(&Value))
    return std::isfinite(*D) ? NumberText(*D) : "null";
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
