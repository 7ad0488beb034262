// Operations on axis-parallel rectangles (TDRect, primitives.h). Every test
// treats a rectangle as closed: touching counts.
#pragma once

#include "addonlib/geometry/primitives.h"

namespace geo {

inline TDRect MakeDRect(double X1, double Y1, double X2, double Y2) {
  return TDRect{X1, Y1, X2, Y2};
}
// Swaps X1/X2 when X1 > X2 and Y1/Y2 when Y1 > Y2.
void NormalizeRect(TDRect& R);
// The normalised rectangle spanned by two points.
TDRect RectFromPoints(const TDPoint& P1, const TDPoint& P2);
inline void ClearRect(TDRect& R) {
  R = TDRect{0, 0, 0, 0};
}
inline double RectWidth(const TDRect& R) {
  return R.X2 - R.X1;
}
inline double RectHeight(const TDRect& R) {
  return R.Y2 - R.Y1;
}
TDPoint RectCenter(const TDRect& R);
// X1 -= DX, X2 += DX, Y1 -= DY, Y2 += DY.
void InflateRect(TDRect& R, double DX, double DY);
// R becomes the bounding box of R and Other (both normalised).
void ExtendRect(TDRect& R, const TDRect& Other);
void ExtendRectByPoint(TDRect& R, const TDPoint& P);
// All four fields exactly equal.
bool RectsEqual(const TDRect& A, const TDRect& B);
// Closed overlap: false only when A lies wholly left, right, below or above B.
bool RectsIntersect(const TDRect& A, const TDRect& B);
// Both corners of Inner inside Outer, borders included.
bool RectInRect(const TDRect& Outer, const TDRect& Inner);
bool PointInRect(const TDRect& R, const TDPoint& P);

}  // namespace geo
