#include "tools/trace-geom/geometry_ops.h"

#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/overlay/overlay.h"
#include "core/exception.h"
#include "geomio/number_text.h"
#include "trace/engine/buffer_zone.h"

namespace geomio {

void BufferZone(const geo::TContour& Source, double Width, geo::TContour& Dest) {
  // A part whose points all lie within the point tolerance of each other has
  // no edge to the kernel and would leave no zone: a silent hole in the
  // answer, where the true zone has the area of a disc at least.
  geo::TContourList Parts;
  geo::SplitIntoParts(Source, Parts);
  for (const auto& Part : Parts) {
    geo::TContourEdgeIter It;
    if (Part->CommandCount() >= 2 && !It.Start(*Part))
      throw core::Exception("Buffer zone: the part at " + PointText(Part->GetCommand(0).Point) +
                            " spans less than the point tolerance (1e-6): its points are one "
                            "point to the kernel, which builds no zone for it");
  }
  trace::BuildBufferZone(Source, Dest, Width);
}

void Combine(const geo::TContour& A, const geo::TContour& B, TUnionOperation Op,
             geo::TContour& Result) {
  // The engine's tolerance scales with the inputs' magnitude: a fixed one
  // would join the corners of a small square or lose a narrow zone far out.
  geoalg::CombineContours(A, B, Op, Result);
}

}  // namespace geomio
