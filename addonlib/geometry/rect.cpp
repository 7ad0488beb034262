#include "addonlib/geometry/rect.h"

#include <utility>

namespace geo {

void NormalizeRect(TDRect& R) {
  if (R.X1 > R.X2) std::swap(R.X1, R.X2);
  if (R.Y1 > R.Y2) std::swap(R.Y1, R.Y2);
}

TDRect RectFromPoints(const TDPoint& P1, const TDPoint& P2) {
  TDRect R{P1.X, P1.Y, P2.X, P2.Y};
  NormalizeRect(R);
  return R;
}

TDPoint RectCenter(const TDRect& R) {
  return TDPoint{static_cast<double>((static_cast<long double>(R.X1) + R.X2) / 2),
                 static_cast<double>((static_cast<long double>(R.Y1) + R.Y2) / 2)};
}

void InflateRect(TDRect& R, double DX, double DY) {
  R.X1 -= DX;
  R.X2 += DX;
  R.Y1 -= DY;
  R.Y2 += DY;
}

void ExtendRect(TDRect& R, const TDRect& Other) {
  if (Other.X1 < R.X1) R.X1 = Other.X1;
  if (Other.Y1 < R.Y1) R.Y1 = Other.Y1;
  if (Other.X2 > R.X2) R.X2 = Other.X2;
  if (Other.Y2 > R.Y2) R.Y2 = Other.Y2;
}

void ExtendRectByPoint(TDRect& R, const TDPoint& P) {
  if (P.X < R.X1) R.X1 = P.X;
  if (P.X > R.X2) R.X2 = P.X;
  if (P.Y < R.Y1) R.Y1 = P.Y;
  if (P.Y > R.Y2) R.Y2 = P.Y;
}

bool RectsEqual(const TDRect& A, const TDRect& B) {
  return A.X1 == B.X1 && A.Y1 == B.Y1 && A.X2 == B.X2 && A.Y2 == B.Y2;
}

bool RectsIntersect(const TDRect& A, const TDRect& B) {
  return !(A.X2 < B.X1 || A.X1 > B.X2 || A.Y2 < B.Y1 || A.Y1 > B.Y2);
}

bool PointInRect(const TDRect& R, const TDPoint& P) {
  return P.X >= R.X1 && P.X <= R.X2 && P.Y >= R.Y1 && P.Y <= R.Y2;
}

bool RectInRect(const TDRect& Outer, const TDRect& Inner) {
  return PointInRect(Outer, TDPoint{Inner.X1, Inner.Y1}) &&
         PointInRect(Outer, TDPoint{Inner.X2, Inner.Y2});
}

}  // namespace geo
