// TDPointList: an owned list of points with an even-odd polygon test, and the
// horizontal crossing helper behind it.
#pragma once

#include <cstdint>

#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/rec_list.h"

namespace geo {

// Swaps A and B when A.Y > B.Y.
void SortByY(TDPoint& A, TDPoint& B);
// Where the segment A-B meets the horizontal line through P: False when P is
// the same point as B, when A-B is exactly horizontal, or when P.Y lies
// outside [min Y, max Y] (ends included).
bool HorizontalCrossing(TDPoint A, TDPoint B, const TDPoint& P, double& X);

class TDPointList {
 public:
  TDPointList() : Points(sizeof(TDPoint)) {}

  TRecList Points;
  bool Closed = false;

  void Clear() { Points.Clear(); }
  int32_t Add(const TDPoint& P) { return Points.Add(&P); }
  void Get(int32_t I, TDPoint& P) const { P = *static_cast<const TDPoint*>(Points.Get(I)); }
  int32_t Count() const { return Points.Count(); }
  // Even-odd test against the polygon of the points; False unless Closed and
  // at least 3 points. Edges are half-open in Y (lower end included, upper
  // end excluded), so a ray through a vertex counts once where the boundary
  // passes and never where it only touches.
  bool Contains(const TDPoint& P) const;
};

}  // namespace geo
