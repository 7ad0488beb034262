// The kernel operations the tool runs.
#pragma once

#include <cstdint>

#include "addonlib/geometry/contour.h"
#include "addonlib/overlay/union_operation.h"

namespace geomio {

using geoalg::TUnionOperation;

// Buffer zone of Source, Width around it, into Dest.
void BufferZone(const geo::TContour& Source, double Width, geo::TContour& Dest);
// A op B into Result.
void Combine(const geo::TContour& A, const geo::TContour& B, TUnionOperation Op,
             geo::TContour& Result);

}  // namespace geomio
