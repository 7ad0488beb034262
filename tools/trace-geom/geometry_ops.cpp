#include "tools/trace-geom/geometry_ops.h"

#include "addonlib/algebra/union_graph.h"
#include "trace/buffer_zone.h"

namespace geomio {

namespace {
// Distance below which the union graph takes a crossing for an edge's end.
constexpr double SplitTolerance = 1e-4;
}  // namespace

void BufferZone(const geo::TContour& Source, double Width, geo::TContour& Dest) {
  trace::BuildBufferZone(Source, Dest, Width);
}

void Combine(const geo::TContour& A, const geo::TContour& B, TUnionOperation Op,
             geo::TContour& Result) {
  geoalg::CombineContours(A, B, Op, SplitTolerance, Result);
}

}  // namespace geomio
