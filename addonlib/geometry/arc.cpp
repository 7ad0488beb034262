#include "addonlib/geometry/arc.h"

#include <utility>

#include "addonlib/geometry/coord_sys.h"
#include "core/exception.h"

namespace geo {

bool GetCenter2(const TDPoint& P1, const TDPoint& P2, double& Sweep, double Convexity,
                TDPoint& Center) {
  const long double C = Convexity;
  if (std::fabs(C) <= LineConvexityLimit || SamePoint(P1, P2)) return false;
  TCoordSys F;
  F.InitPoints(P1, P2);
  const long double HalfChord = static_cast<long double>(F.ToLocal(P2).X) / 2;
  long double H;
  if (std::fabs(C) > SmallConvexityLimit) {
    H = (1 - C * C) * HalfChord / (2 * C);
  } else {
    // Nearly straight: the tangent form keeps the far centre accurate.
    long double A = 2 * std::atan(-C);
    if (A > 0)
      A -= HalfPi;
    else
      A += HalfPi;
    H = std::tan(A) * HalfChord;
  }
  const TDPoint Cen = F.ToWorld(TDPoint{static_cast<double>(HalfChord), static_cast<double>(H)});
  TCoordSys G;
  G.InitPoints(Cen, P1);
  long double S = AngleOf(TDPoint{0, 0}, G.ToLocal(P2));
  if (C > 0) S -= TwoPi;
  if (S > 0)
    S -= TwoPi;
  else
    S += TwoPi;
  Sweep = static_cast<double>(S);
  Center = Cen;
  return true;
}

bool CircleBy3Points(const TDPoint& A, const TDPoint& M, const TDPoint& B, double& Sweep,
                     TDPoint& Center) {
  TCoordSys F;
  F.InitPoints(TDPoint{static_cast<double>((static_cast<long double>(A.X) + M.X) / 2),
                       static_cast<double>((static_cast<long double>(A.Y) + M.Y) / 2)},
               M);
  const TDPoint LA = F.ToLocal(A);
  const TDPoint LM = F.ToLocal(M);
  const TDPoint LB = F.ToLocal(B);
  if (LB.Y == 0) return false;
  const long double Mx = LM.X, Bx = LB.X, By = LB.Y;
  const TDPoint LC{0, static_cast<double>((Bx * Bx + By * By - Mx * Mx) / (2 * By))};
  const long double AA = AngleOf(LC, LA);
  const long double AM = AngleOf(LC, LM);
  long double AB = AngleOf(LC, LB);
  if (AA > AB) AB += TwoPi;
  long double S;
  if ((AA < AM && AM < AB) || (AA < AM + TwoPi && AM + TwoPi < AB))
    S = AB - AA;
  else
    S = AB - TwoPi - AA;
  Sweep = static_cast<double>(S);
  Center = F.ToWorld(LC);
  return true;
}

double ConvexityFromCenter(const TDPoint& A, const TDPoint& Center, const TDPoint& B,
                           bool Negative) {
  TCoordSys F;
  F.InitPoints(A, B);
  const TDPoint LC = F.ToLocal(Center);
  long double T;
  if (LC.Y == 0) {
    T = Negative ? -HalfPi : HalfPi;
  } else {
    T = std::atan(static_cast<long double>(LC.X) / LC.Y);
    if (Negative == (LC.Y > 0)) {
      if (T > 0)
        T -= Pi;
      else
        T += Pi;
    }
  }
  T /= 2;
  const long double Cos = std::cos(T);
  if (Cos == 0) return 0;
  return static_cast<double>(std::sin(T) / Cos);
}

bool ConvexityBy3Points(const TDPoint& A, const TDPoint& M, const TDPoint& B, double& Convexity) {
  if (SamePoint(A, M) || SamePoint(M, B) || SamePoint(A, B)) {
    Convexity = 0;
    return true;
  }
  double Sweep;
  TDPoint Center;
  if (!CircleBy3Points(A, M, B, Sweep, Center)) return false;
  Convexity = ConvexityFromCenter(A, Center, B, Sweep < 0);
  return true;
}

void ArcMidPoint(const TDPoint& Start, const TDPoint& Center, const TDPoint& End, bool Other,
                 TDPoint& Mid) {
  TCoordSys F;
  F.InitPoints(Center, Start);
  const TDPoint E = F.ToLocal(End);
  long double T = static_cast<long double>(AngleOf(TDPoint{0, 0}, E)) / 2;
  if (Other) T += Pi;
  const long double R = (static_cast<long double>(VecLength(E)) + Distance(Center, Start)) / 2;
  Mid = F.ToWorld(
      TDPoint{static_cast<double>(R * std::cos(T)), static_cast<double>(R * std::sin(T))});
}

bool AngleInSweep(double Angle, double Start, double Sweep) {
  const long double A = Angle;
  const long double S = Start;
  const long double E = S + Sweep;
  const long double Lo = Sweep > 0 ? S : E;
  const long double Hi = Sweep > 0 ? E : S;
  for (const long double V : {A, A + TwoPi, A - TwoPi})
    if (V >= Lo && V <= Hi) return true;
  return false;
}

bool ArcContainsAngle(const TDPoint& Center, const TDPoint& P1, const TDPoint& P, double Sweep,
                      const TTolerance& Tol) {
  if (Sweep == 0) throw core::Exception("arc: delta = 0");
  const long double S = static_cast<long double>(Tol.Work) / Distance(Center, P1);
  long double A0 = AngleOf(Center, P1);
  long double A1 = A0 + Sweep;
  long double AP = AngleOf(Center, P);
  if (Sweep < 0) std::swap(A0, A1);
  if (A0 < 0) {
    A0 += TwoPi;
    A1 += TwoPi;
  }
  if (A1 < TwoPi) return A0 - S <= AP && AP <= A1 + S;
  if (A0 - S <= AP) return true;
  AP += TwoPi;
  return AP <= A1 + S;
}

}  // namespace geo
