// Helpers shared by the geometry tests.
#pragma once

#include <string>

#include "addonlib/geometry/primitives.h"
#include "compat/exception.h"

namespace geo::test {

// The message of the compat::Exception that Fn raises, or "<no exception>".
template <class F>
std::string MessageOf(F&& Fn) {
  try {
    Fn();
  } catch (const compat::Exception& E) {
    return E.Message();
  }
  return "<no exception>";
}

// Restores WorkTolerance whatever a test does to it.
struct WorkToleranceGuard {
  double Saved = WorkTolerance;
  ~WorkToleranceGuard() { WorkTolerance = Saved; }
};

}  // namespace geo::test
