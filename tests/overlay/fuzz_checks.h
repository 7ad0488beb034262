// The checks of a fuzzed overlay case: the four operations both ways round
// and the many-contour union, their areas against GEOS (arcs linearised) and
// the identities, and membership at random points clear of every boundary.
#pragma once

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace overlay_fuzz {

using geo::TContour;

// What failed in a case, for its report.
struct TRun {
  std::ostringstream Log;
  bool Failed = false;
  void Fail(const std::string& What) {
    if (!Failed) Log << "\n";
    Failed = true;
    Log << "  " << What << "\n";
  }
};

void CheckCase(TRun& Run, std::mt19937& Rng, const TContour& A, const TContour& B);
void CheckUnion(TRun& Run, std::mt19937& Rng, const std::vector<TContour>& In);

}  // namespace overlay_fuzz
