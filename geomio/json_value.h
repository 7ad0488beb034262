// JSON for GeoJSON input, parsed by nlohmann: the values keep the line they
// start on, so errors about a geometry can name its place in the file, which
// nlohmann's own values cannot.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace geomio {

struct TJsonValue {
  enum TKind { jNull, jBool, jNumber, jString, jArray, jObject };

  TKind Kind = jNull;
  bool Bool = false;
  double Number = 0;
  std::string String;
  std::vector<TJsonValue> Items;                            // jArray
  std::vector<std::pair<std::string, TJsonValue>> Members;  // jObject, in file order
  int Line = 0;                                             // 1-based

  // The member's value, or null when absent (the last one wins on duplicates).
  const TJsonValue* Find(std::string_view Key) const;
  bool IsArray() const { return Kind == jArray; }
  bool IsObject() const { return Kind == jObject; }
};

// Name of a kind for messages: "an array", "a number", ...
const char* JsonKindName(TJsonValue::TKind Kind);

// Reads a sequence of JSON values separated by white space (one document, or
// one per line). Raises EInputError with the line of the fault (and its
// column in the text). Nesting is limited so that hostile input cannot exhaust
// the stack.
std::vector<TJsonValue> ParseJsonSequence(std::string_view Text);

}  // namespace geomio
