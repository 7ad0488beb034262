// The union graph's one-call entries: the stages in their order, the
// combination of two contours and the fold of many.
#include <algorithm>
#include <utility>

#include "addonlib/algebra/union_graph.h"
#include "addonlib/algebra/union_graph_internal.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/rect.h"

namespace geoalg {

namespace {

bool HasSmallBounds(const TContour& C) {
  TDRect R;
  if (!geo::GetBounds(C, R)) return true;
  return std::min(geo::RectWidth(R), geo::RectHeight(R)) < 1e-8;
}

}  // namespace

void TGUnionGraph::BuildLongs() {
  CutCrossings();
  BuildChains();
  MergeSimpleVertices();
}

void TGUnionGraph::DoOperation(TUnionOperation Op) {
  SetOperation(Op);
  DropByPriority();
  MergeSimpleVertices();
  MergeByPriority();
  ArrangeLongs();
}

// ---- TGUnionGraphBigReference ----

TGUnionGraphBigReference::TGUnionGraphBigReference(TUnionGraphOwner* AOwner) : Owner(AOwner) {}

void TGUnionGraphBigReference::Add(const TContour& Contour) {
  if (SkipSmall && HasSmallBounds(Contour)) return;
  if (IsEmpty) {
    Result.Assign(&Contour);
    IsEmpty = false;
    return;
  }
  TContour Combined;
  CombineContoursReference(Result, Contour, Operation, SplitTolerance, Combined, Owner);
  if (SkipSmall && HasSmallBounds(Combined)) return;
  Result = std::move(Combined);
}

void TGUnionGraphBigReference::Clear() {
  Result.Clear();
  IsEmpty = true;
}

// ---- The two-contour combination ----

void CombineContoursReference(const TContour& Contour0, const TContour& Contour1,
                              TUnionOperation Op, double SplitTolerance, TContour& Result,
                              TUnionGraphOwner* Owner) {
  TGUnionGraph Graph(Owner);
  Graph.Init(Contour0, Contour1, SplitTolerance);
  Graph.BuildLongs();
  Graph.DoOperation(Op);
  TContour Out;
  Graph.Extract(Out);
  Result = std::move(Out);
}

}  // namespace geoalg
