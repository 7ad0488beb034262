// TEdge: one edge of a contour with the arc geometry cached by its command,
// and TEdgeList, a growable list of edges.
#pragma once

#include <cstdint>

#include "addonlib/geometry/segment.h"
#include "addonlib/geometry/value_array.h"

namespace geo {

// P1, P2 and Convexity form the TDSegment, so every segment operation
// applies. Center, Angle (signed sweep from P1 to P2) and Radius come from
// the command's arc record and mean something only when IsArc.
struct TEdge : TDSegment {
  TDPoint Center;
  double Angle;
  double Radius;
};

// PointOnSegment with the cached centre instead of a recomputed one: the
// same answer for an edge of a contour, without the trigonometry.
bool PointOnEdge(const TEdge& E, const TDPoint& P, double Tol,
                 const TTolerance& Context = TTolerance::Current());

struct TEdgeList : TValueArray<TEdge> {
  // The edge before I in cyclic order.
  const TEdge& Prev(int32_t I) const { return Get(I >= 1 ? I - 1 : Count - 1); }
};

}  // namespace geo
