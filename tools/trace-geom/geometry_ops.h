// The kernel operations the tool runs.
#pragma once

#include <cstdint>

#include "addonlib/geometry/contour.h"

namespace geomio {

// The operation codes of the union graph.
enum TCombineOp : int32_t {
  opUnion = 0,
  opIntersection = 1,
  opDifference = 2,
  opSymDifference = 3
};

// Buffer zone of Source, Width around it, into Dest.
void BufferZone(const geo::TContour& Source, double Width, geo::TContour& Dest);
// A op B into Result.
void Combine(const geo::TContour& A, const geo::TContour& B, TCombineOp Op, geo::TContour& Result);

}  // namespace geomio
