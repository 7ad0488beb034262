#include "geomio/geojson_reader.h"

#include <algorithm>
#include <string>

#include "geomio/input_error.h"
#include "geomio/part_builder.h"

namespace geomio {

namespace {

constexpr int MaxDepth = 64;

[[noreturn]] void Fail(const TJsonValue& At, const std::string& What) {
  throw EInputError(What, At.Line);
}

const TJsonValue& Member(const TJsonValue& Object, const char* Key, TJsonValue::TKind Kind) {
  const TJsonValue* V = Object.Find(Key);
  if (!V) Fail(Object, std::string("missing \"") + Key + "\"");
  if (V->Kind != Kind)
    Fail(*V, std::string("\"") + Key + "\" is " + JsonKindName(V->Kind) + ", expected " +
                 JsonKindName(Kind));
  return *V;
}

std::string TypeOf(const TJsonValue& Object) {
  if (!Object.IsObject())
    Fail(Object, std::string("expected an object, found ") + JsonKindName(Object.Kind));
  return Member(Object, "type", TJsonValue::jString).String;
}

geo::TDPoint Position(const TJsonValue& V) {
  if (!V.IsArray() || V.Items.size() < 2 || V.Items.size() > 4)
    Fail(V, "a position must be an array of 2 to 4 numbers");
  for (const TJsonValue& C : V.Items)
    if (C.Kind != TJsonValue::jNumber) Fail(C, "a position must be an array of 2 to 4 numbers");
  return geo::TDPoint{V.Items[0].Number, V.Items[1].Number};
}

const std::vector<TJsonValue>& ArrayOf(const TJsonValue& V, const char* What) {
  if (!V.IsArray()) Fail(V, std::string(What) + " must be an array");
  return V.Items;
}

void Path(const TJsonValue& Coords, bool Ring, geo::TContour& Contour) {
  TPartBuilder B;
  // An empty line or ring (an empty part of a multi-geometry) adds nothing.
  if (ArrayOf(Coords, "a line's coordinates").empty()) return;
  for (const TJsonValue& P : Coords.Items) {
    const geo::TDPoint Point = Position(P);
    if (B.Started()) {
      B.LineTo(Point);
    } else {
      B.StartOrJoin(Point);
    }
  }
  try {
    if (Ring) {
      B.EndRing(Contour);
    } else {
      B.EndOpen(Contour);
    }
  } catch (const EInputError& E) {
    Fail(Coords, E.Text);
  }
}

void Polygon(const TJsonValue& Coords, geo::TContour& Contour) {
  for (const TJsonValue& R : ArrayOf(Coords, "a polygon's coordinates")) Path(R, true, Contour);
}

void Geometry(const TJsonValue& G, geo::TContour& Contour, int Depth) {
  if (Depth > MaxDepth) Fail(G, "geometry collections nested too deeply");
  const std::string Type = TypeOf(G);
  if (Type == "GeometryCollection") {
    for (const TJsonValue& Sub : ArrayOf(Member(G, "geometries", TJsonValue::jArray), "geometries"))
      Geometry(Sub, Contour, Depth + 1);
    return;
  }
  if (Type == "Point" || Type == "MultiPoint")
    Fail(G, Type + " is not a contour (use lines or areas)");
  const TJsonValue& Coords = Member(G, "coordinates", TJsonValue::jArray);
  if (Type == "LineString") {
    Path(Coords, false, Contour);
  } else if (Type == "MultiLineString") {
    for (const TJsonValue& L : Coords.Items) Path(L, false, Contour);
  } else if (Type == "Polygon") {
    Polygon(Coords, Contour);
  } else if (Type == "MultiPolygon") {
    for (const TJsonValue& P : Coords.Items) Polygon(P, Contour);
  } else {
    Fail(G, "unknown geometry type \"" + Type + "\"");
  }
}

// Whether any position below V has a third or fourth number.
bool HasZ(const TJsonValue& V) {
  if (V.IsObject()) {
    const TJsonValue* C = V.Find("coordinates");
    const TJsonValue* G = V.Find("geometries");
    return (C && HasZ(*C)) || (G && HasZ(*G));
  }
  if (!V.IsArray()) return false;
  if (!V.Items.empty() && V.Items[0].Kind == TJsonValue::jNumber) return V.Items.size() > 2;
  return std::any_of(V.Items.begin(), V.Items.end(), [](const TJsonValue& I) { return HasZ(I); });
}

void Feature(const TJsonValue& F, const std::string& Label, std::vector<TInputGeometry>& Out) {
  const TJsonValue* G = F.Find("geometry");
  if (!G || G->Kind == TJsonValue::jNull) Fail(F, Label + " has no geometry");
  TInputGeometry In;
  In.Label = Label;
  In.Line = F.Line;
  try {
    Geometry(*G, In.Contour, 0);
    In.DroppedZM = HasZ(*G);
  } catch (const EInputError& E) {
    // A lone feature is named by its line already.
    const bool Numbered = Label.rfind("feature", 0) == 0;
    throw EInputError(Numbered ? Label + ": " + E.Text : E.Text, E.Line);
  }
  Out.push_back(std::move(In));
}

}  // namespace

namespace {

void ReadRoot(const TJsonValue& Root, std::vector<TInputGeometry>& Out) {
  const std::string Type = TypeOf(Root);
  if (Type == "FeatureCollection") {
    int Number = 0;
    for (const TJsonValue& F : ArrayOf(Member(Root, "features", TJsonValue::jArray), "features")) {
      ++Number;
      if (TypeOf(F) != "Feature") Fail(F, "a FeatureCollection holds only Features");
      Feature(F, "feature " + std::to_string(Number), Out);
    }
  } else if (Type == "Feature") {
    Feature(Root, "line " + std::to_string(Root.Line), Out);
  } else {
    TInputGeometry In;
    In.Label = "line " + std::to_string(Root.Line);
    In.Line = Root.Line;
    Geometry(Root, In.Contour, 0);
    In.DroppedZM = HasZ(Root);
    Out.push_back(std::move(In));
  }
}

}  // namespace

void ReadGeoJson(const TJsonValue& Root, std::vector<TInputGeometry>& Out) {
  try {
    ReadRoot(Root, Out);
  } catch (const EInputError& E) {
    throw EInputError("GeoJSON: " + E.Text, E.Line);
  }
}

}  // namespace geomio
