// Helpers shared by the geometry tests.
#pragma once

#include <string>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/tolerance.h"
#include "core/exception.h"

namespace geo::test {

// The message of the core::Exception that Fn raises, or "<no exception>".
template <class F>
std::string MessageOf(F&& Fn) {
  try {
    Fn();
  } catch (const core::Exception& E) {
    return E.Message();
  }
  return "<no exception>";
}

// A closed part [0..2], an open part that starts where the pen rests after
// the close [3..3], and an open part with its own ccMoveTo [4..5].
inline void BuildThreeParts(TContour& C) {
  C.AddMoveTo({0, 0});
  C.AddLineTo({1, 0});
  C.AddClose();
  C.AddLineTo({2, 2});
  C.AddMoveTo({5, 5});
  C.AddLineTo({6, 5});
}

}  // namespace geo::test
