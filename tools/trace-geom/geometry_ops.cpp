#include "tools/trace-geom/geometry_ops.h"

#include "addonlib/overlay/overlay.h"
#include "trace/engine/buffer_zone.h"

namespace geomio {

void BufferZone(const geo::TContour& Source, double Width, geo::TContour& Dest) {
  trace::BuildBufferZone(Source, Dest, Width);
}

void Combine(const geo::TContour& A, const geo::TContour& B, TUnionOperation Op,
             geo::TContour& Result) {
  // The engine's tolerance scales with the inputs' magnitude: a fixed one
  // would join the corners of a small square or lose a narrow zone far out.
  geoalg::CombineContours(A, B, Op, Result);
}

}  // namespace geomio
