// Attributes of features read from GIS files, carried through to results.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace geomio {

enum class TFieldKind { Integer, Integer64, Real, String, Date, Time, DateTime };

struct TFieldDef {
  std::string Name;
  TFieldKind Kind = TFieldKind::String;
  int Width = 0;  // 0: not stated
  int Precision = 0;
};

// Null, a whole number, a real, or text (dates and times as their text).
using TFieldValue = std::variant<std::monostate, int64_t, double, std::string>;

}  // namespace geomio
