#include "addonlib/geometry/snap.h"

#include "core/exception.h"

namespace geo {

bool SnapToNearest(const TDPoint (&Candidates)[4], TDPoint& P, double Tol) {
  int Best = 0;
  double BestDist = Distance(Candidates[0], P);
  for (int I = 1; I < 4; ++I) {
    const double D = Distance(Candidates[I], P);
    if (D < BestDist) {
      BestDist = D;
      Best = I;
    }
  }
  if (!SamePointTol(Candidates[Best], P, Tol)) return false;
  P = Candidates[Best];
  return true;
}

void CheckResult3(const TDPoint& A, const TDPoint& B, const TDPoint& C, const TDPoint& D,
                  int32_t Count, TDPoint& R1, TDPoint& R2, const TTolerance& Tol) {
  const TDPoint Candidates[4] = {A, B, C, D};
  TDPoint S1 = R1, S2 = R2;
  if (Count >= 1) SnapToNearest(Candidates, S1, Tol.Work);
  if (Count >= 2) {
    SnapToNearest(Candidates, S2, Tol.Work);
    if (SamePoint(S1, S2)) throw core::Exception("CheckResult3: Точки склеелись");
  }
  R1 = S1;
  R2 = S2;
}

}  // namespace geo
