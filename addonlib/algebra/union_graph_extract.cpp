// Writing the union graph's chains as the parts of the result contour.
#include "addonlib/algebra/union_graph_internal.h"
#include "addonlib/geometry/primitives.h"

namespace geoalg {

using geo::TGConnectBrief;

void TGUnionGraph::Extract(TContour& Result) const {
  for (int32_t C = 0; C < FLongs.Count(); ++C) {
    const TGConnectLong& L = *FLongs.Ptr(C);
    if (L.V1 != L.V2 && geo::Distance(FPoints.Get(L.V1), FPoints.Get(L.V2)) >= FSplitTolerance)
      continue;
    int32_t Current = L.V1;
    Result.AddMoveTo(FPoints.Get(Current));
    const int32_t N = L.List().Count();
    for (int32_t I = 0; I < N; ++I) {
      const TGConnectBrief B = FEdges.Get(L.List().Items(I));
      double Convexity = B.Convexity;
      int32_t Far;
      if (B.V1 == Current) {
        Far = B.V2;
      } else if (B.V2 == Current) {
        Far = B.V1;
        Convexity = -Convexity;
      } else {
        Fail("Bad Connect long");
      }
      const bool Last = I == N - 1;
      if (B.Kind == geo::TConnectKind::Arc) {
        if (Last)
          Result.AddCloseArc(Convexity);
        else
          Result.AddArcTo(FPoints.Get(Far), Convexity);
      } else if (Last) {
        Result.AddClose();
      } else {
        Result.AddLineTo(FPoints.Get(Far));
      }
      Current = Far;
    }
  }
}
}  // namespace geoalg
