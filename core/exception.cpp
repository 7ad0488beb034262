#include "core/exception.h"

#include <cstring>

namespace core {

std::string AssertionMessage(const char* Text, const char* File, int Line) {
  const char* Name = File;
  for (const char* P = File; *P; ++P)
    if (*P == '/' || *P == '\\') Name = P + 1;
  return std::string(Text) + " (" + Name + ", line " + std::to_string(Line) + ")";
}

void RaiseAssertion(const char* Text, const char* File, int Line) {
  throw EAssertionFailed(AssertionMessage(Text, File, Line));
}

}  // namespace core
