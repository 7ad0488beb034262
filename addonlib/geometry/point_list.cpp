#include "addonlib/geometry/point_list.h"

#include <utility>

namespace geo {

void SortByY(TDPoint& A, TDPoint& B) {
  if (A.Y > B.Y) std::swap(A, B);
}

bool HorizontalCrossing(TDPoint A, TDPoint B, const TDPoint& P, double& X) {
  if (SamePoint(P, B) || A.Y == B.Y) return false;
  SortByY(A, B);
  if (!(A.Y <= P.Y && P.Y <= B.Y)) return false;
  X = static_cast<double>(A.X + (static_cast<long double>(P.Y) - A.Y) /
                                    (static_cast<long double>(B.Y) - A.Y) *
                                    (static_cast<long double>(B.X) - A.X));
  return true;
}

bool TDPointList::Contains(const TDPoint& P) const {
  const int32_t N = Count();
  if (!Closed || N < 3) return false;
  const TDPoint* Pts = static_cast<const TDPoint*>(Points.List());
  bool Inside = false;
  for (int32_t I = 0, J = N - 1; I < N; J = I++) {
    const TDPoint& A = Pts[J];
    const TDPoint& B = Pts[I];
    // Half-open in Y: the lower end belongs to the edge, the upper does not.
    if ((A.Y <= P.Y) == (B.Y <= P.Y)) continue;
    const long double X = A.X + (static_cast<long double>(P.Y) - A.Y) /
                                    (static_cast<long double>(B.Y) - A.Y) *
                                    (static_cast<long double>(B.X) - A.X);
    if (X <= P.X) Inside = !Inside;
  }
  return Inside;
}

}  // namespace geo
