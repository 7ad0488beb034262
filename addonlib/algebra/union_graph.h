// Boolean operations on command contours through a planar graph: the
// one-call entries. CombineContoursReference combines two contours;
// TGUnionGraphBigReference folds any number of contours into one running
// result. The product combines through the overlay engine
// (addonlib/overlay/overlay.h); this written algorithm stays to check it
// against. The graph itself and its stages are in union_graph_internal.h.
#pragma once

#include <string>

#include "addonlib/geometry/contour.h"
#include "addonlib/overlay/union_operation.h"

namespace geoalg {

using geo::TContour;

// Receives the graph's warnings; the graph only ever says "Ребро обходится дважды".
class TUnionGraphOwner {
 public:
  virtual void UnionGraphWarning(const std::string& Text) = 0;

 protected:
  ~TUnionGraphOwner() = default;
};

// Result receives Contour0 <Op> Contour1: the outline of the result, one
// closed part per outline, arcs kept as arcs. SplitTolerance is the distance
// below which a crossing counts as an edge's end and an open outline as
// closed. Raises the graph's errors (an input less than 1e-8 wide or high,
// "Bad Operation", an inconsistency); Result is then left as it was.
void CombineContoursReference(const TContour& Contour0, const TContour& Contour1,
                              TUnionOperation Op, double SplitTolerance, TContour& Result,
                              TUnionGraphOwner* Owner = nullptr);

// Folds any number of contours into one running result by one operation.
class TGUnionGraphBigReference {
 public:
  explicit TGUnionGraphBigReference(TUnionGraphOwner* AOwner = nullptr);

  TUnionGraphOwner* Owner;
  // Contours, and results, less than 1e-8 wide or high are ignored.
  bool SkipSmall = false;
  double SplitTolerance = 0;
  TUnionOperation Operation = TUnionOperation::Union;
  bool IsEmpty = true;
  TContour Result;

  // The first contour becomes the result; each further one is combined with
  // it. The result is replaced only once a combination has finished.
  void Add(const TContour& Contour);
  void Clear();
};

}  // namespace geoalg
