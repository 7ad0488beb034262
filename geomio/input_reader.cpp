#include "geomio/input_reader.h"

#include <string>

#include "geomio/geojson_reader.h"
#include "geomio/input_error.h"
#include "geomio/json_value.h"
#include "geomio/wkt_reader.h"

namespace geomio {

namespace {

bool IsSpace(char C) {
  return C == ' ' || C == '\t' || C == '\r' || C == '\n';
}

std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsSpace(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsSpace(S.back())) S.remove_suffix(1);
  return S;
}

std::string_view WithoutBom(std::string_view Text) {
  if (Text.substr(0, 3) == "\xEF\xBB\xBF") Text.remove_prefix(3);
  return Text;
}

}  // namespace

bool IsGeoJsonText(std::string_view Text) {
  const std::string_view Body = Trim(WithoutBom(Text));
  return !Body.empty() && Body.front() == '{';
}

std::vector<TInputGeometry> ReadInput(std::string_view Text, std::string* CrsName) {
  Text = WithoutBom(Text);
  std::vector<TInputGeometry> Result;
  if (IsGeoJsonText(Text)) {
    // Lines are counted from the top of the input, leading blank lines included.
    for (const TJsonValue& V : ParseJsonSequence(Text)) {
      ReadGeoJson(V, Result);
      const TJsonValue* Crs = V.IsObject() ? V.Find("crs") : nullptr;
      const TJsonValue* Props = Crs && Crs->IsObject() ? Crs->Find("properties") : nullptr;
      const TJsonValue* Name = Props && Props->IsObject() ? Props->Find("name") : nullptr;
      if (CrsName && Name && Name->Kind == TJsonValue::jString) *CrsName = Name->String;
    }
    return Result;
  }
  int Line = 0;
  while (!Text.empty()) {
    ++Line;
    const size_t End = Text.find('\n');
    const std::string_view Raw = Text.substr(0, End);
    Text.remove_prefix(End == std::string_view::npos ? Text.size() : End + 1);
    const std::string_view L = Trim(Raw);
    if (L.empty() || L.front() == '#') continue;
    TInputGeometry In;
    In.Label = "line " + std::to_string(Line);
    In.Line = Line;
    try {
      ReadWkt(Raw, In.Contour, &In.DroppedZM);
    } catch (const EInputError& E) {
      throw E.WithLine(Line);
    }
    Result.push_back(std::move(In));
  }
  return Result;
}

}  // namespace geomio
