// EInputError: input that cannot be read as geometry. The tool reports it
// with the input line and exits with status 2, apart from geometric failures.
#pragma once

#include <string>
#include <string_view>

#include "core/exception.h"

namespace geomio {

class EInputError : public core::Exception {
 public:
  // Line 0: not yet known; the reader that knows it fills it in (WithLine).
  explicit EInputError(const std::string& AText, int ALine = 0)
      : core::Exception(AText), Text(AText), Line(ALine) {}

  EInputError WithLine(int ALine) const { return EInputError(Text, Line ? Line : ALine); }

  std::string Text;
  int Line;
};

// The text an error message shows of what the reader found: 'abc'. Built by
// appending, which GCC 12's -Wrestrict does not misread in Release builds.
inline std::string QuotedInput(std::string_view Found) {
  std::string Quoted = "'";
  Quoted += Found;
  Quoted += '\'';
  return Quoted;
}

}  // namespace geomio
