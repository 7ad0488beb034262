// The zones of many sources at once, built on every core. Each zone is the
// one BuildBufferZone gives its source, and the zones come back in the
// sources' order, so that what is done with them is the same as one by one.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace trace {

// Asked on the caller's thread alone, every few hundredths of a second while
// the zones are built, with the number of sources done so far: false stops
// the build.
using TZoneBatchAsk = std::function<bool(std::size_t Done)>;

// Zones receives the zone of every source (width 0: the source itself) in
// the sources' order. False when Ask stopped the build, with Zones left as
// it was. Where a zone fails the others are stopped and the error of the
// first failed source in order is raised, with Zones left as it was and
// that source's index in *Failed when given. Threads 0 takes one per core;
// with one, every zone is built on the caller's thread (Ask is then also
// asked inside each zone).
bool BuildBufferZones(const std::vector<const geo::TContour*>& Sources, double Width,
                      std::vector<geo::TContour>& Zones, const TZoneBatchAsk& Ask,
                      unsigned Threads = 0, std::size_t* Failed = nullptr);

}  // namespace trace
