#include "addonlib/geometry/intersect.h"

#include <cmath>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/coord_sys.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/snap.h"
#include "core/exception.h"

namespace geo {

namespace {

// Up to four points recorded by the end-point logic before the count check.
struct TResults {
  TDPoint P[4];
  int32_t N = 0;
  void Add(const TDPoint& Q) { P[N++] = Q; }
};

// Hands the first Count points out to the caller.
int32_t HandOut(const TDPoint& S1, const TDPoint& S2, int32_t Count, TDPoint& R1, TDPoint& R2) {
  if (Count >= 1) R1 = S1;
  if (Count >= 2) R2 = S2;
  return Count;
}

int32_t HandOut(const TResults& Res, TDPoint& R1, TDPoint& R2) {
  if (Res.N > 2) throw core::Exception("numRes > 2");
  return HandOut(Res.P[0], Res.P[1], Res.N, R1, R2);
}

bool OnSegment(const TDPoint& Q, const TDPoint& S1, const TDPoint& S2, const TTolerance& Tol) {
  double Dist;
  return ProjectOnSegment(Q, S1, S2, Dist) && Dist <= Tol.Work;
}

// The first end of A that is the same point as an end of B, tried in the
// order A1-B1, A1-B2, A2-B1, A2-B2, with the other end of each edge.
bool FindSharedEnd(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1, const TDPoint& B2,
                   const TDPoint*& Shared, const TDPoint*& OA, const TDPoint*& OB) {
  for (const TDPoint* SA : {&A1, &A2})
    for (const TDPoint* SB : {&B1, &B2})
      if (SamePoint(*SA, *SB)) {
        Shared = SA;
        OA = SA == &A1 ? &A2 : &A1;
        OB = SB == &B1 ? &B2 : &B1;
        return true;
      }
  return false;
}

// Circle of one arc, as the arc-arc core needs it.
struct TArcCircle {
  TDPoint Start;
  TDPoint Center;
  double Sweep;
  long double Radius;
  const TTolerance* Tol;
  bool Contains(const TDPoint& Q) const { return ArcContainsAngle(Center, Start, Q, Sweep, *Tol); }
};

TArcCircle ArcCircle(const TDPoint& P1, const TDPoint& P2, double Convexity, const char* Failure,
                     const TTolerance& Tol) {
  TArcCircle A{P1, {0, 0}, 0, 0, &Tol};
  if (!GetCenter2(P1, P2, A.Sweep, Convexity, A.Center)) throw core::Exception(Failure);
  A.Radius = Distance(A.Center, P1);
  return A;
}

// Both arcs on one circle: shared ends first, then ends lying on the other arc.
void SameCircleEnds(const TArcCircle& A, const TDPoint& A2, const TArcCircle& B, const TDPoint& B2,
                    TResults& Res) {
  const TDPoint& A1 = A.Start;
  const TDPoint& B1 = B.Start;
  const TDPoint *Shared, *OA, *OB;
  if (!FindSharedEnd(A1, A2, B1, B2, Shared, OA, OB)) {
    if (A.Contains(B1)) Res.Add(B1);
    if (A.Contains(B2)) Res.Add(B2);
    if (B.Contains(A1)) Res.Add(A1);
    if (B.Contains(A2)) Res.Add(A2);
    return;
  }
  Res.Add(*Shared);
  if (SamePoint(*OA, *OB)) {
    Res.Add(*OA);
    return;
  }
  if (A.Contains(*OB)) Res.Add(*OB);
  if (B.Contains(*OA)) Res.Add(*OA);
}

bool IsLineConnect(const TGConnectFull& E) {
  return E.Kind == TConnectKind::Line || std::fabs(E.Convexity) < ConnectTolerance;
}

}  // namespace

void CheckConnectEnds(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1, const TDPoint& B2,
                      const TTolerance& Tol) {
  const double Work = Tol.Work;
  auto Apart = [Work](const TDPoint& P, const TDPoint& Q) {
    return Distance(P, Q) > Work || SamePoint(P, Q);
  };
  if (!(Distance(A1, A2) > Work && Distance(B1, B2) > Work && Apart(A1, B1) && Apart(A1, B2) &&
        Apart(A2, B1) && Apart(A2, B2)))
    throw core::Exception("Точки расположены близко");
}

bool ProjectOnSegment(const TDPoint& Q, const TDPoint& S1, const TDPoint& S2, double& Dist) {
  const long double DX = static_cast<long double>(S2.X) - S1.X;
  const long double DY = static_cast<long double>(S2.Y) - S1.Y;
  const long double Len = std::sqrt(DX * DX + DY * DY);
  if (Len == 0) throw core::Exception("Вырожденная прямая");
  const long double UX = DX / Len, UY = DY / Len;
  const long double QX = static_cast<long double>(Q.X) - S1.X;
  const long double QY = static_cast<long double>(Q.Y) - S1.Y;
  const long double T = UX * QX + UY * QY;
  if (T <= 0 || T >= Len) return false;
  const long double EX = QX - UX * T, EY = QY - UY * T;
  Dist = static_cast<double>(std::sqrt(EX * EX + EY * EY));
  return true;
}

bool IntersectSegmentsProper(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1,
                             const TDPoint& B2, TDPoint& R, const TTolerance& Tol) {
  const long double DAX = static_cast<long double>(A2.X) - A1.X;
  const long double DAY = static_cast<long double>(A2.Y) - A1.Y;
  const long double DBX = static_cast<long double>(B1.X) - B2.X;
  const long double DBY = static_cast<long double>(B1.Y) - B2.Y;
  const long double Den = DBY * DAX - DBX * DAY;
  if (Den == 0) return false;
  const long double WX = static_cast<long double>(B1.X) - A1.X;
  const long double WY = static_cast<long double>(B1.Y) - A1.Y;
  const long double T = (WX * DBY - WY * DBX) / Den;
  const long double S = (WY * DAX - WX * DAY) / Den;
  const long double TA = Tol.Work / std::sqrt(DAX * DAX + DAY * DAY);
  const long double TB = Tol.Work / std::sqrt(DBX * DBX + DBY * DBY);
  if (T < -TA || T > 1 + TA || S < -TB || S > 1 + TB) return false;
  if (T <= TA || T >= 1 - TA || S <= TB || S >= 1 - TB) throw core::Exception("Допуск большой");
  R = TDPoint{static_cast<double>(A1.X + T * DAX), static_cast<double>(A1.Y + T * DAY)};
  return true;
}

int32_t IntersectLinesAll(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1,
                          const TDPoint& B2, TDPoint& R1, TDPoint& R2, const TTolerance& Tol) {
  CheckConnectEnds(A1, A2, B1, B2, Tol);
  TResults Res;
  const TDPoint *Shared, *OA, *OB;
  if (FindSharedEnd(A1, A2, B1, B2, Shared, OA, OB)) {
    Res.Add(*Shared);
    if (SamePoint(*OA, *OB)) {
      Res.Add(*OA);
    } else {
      if (OnSegment(*OA, *Shared, *OB, Tol)) Res.Add(*OA);
      if (OnSegment(*OB, *Shared, *OA, Tol)) Res.Add(*OB);
    }
  } else {
    if (OnSegment(A1, B1, B2, Tol)) Res.Add(A1);
    if (OnSegment(A2, B1, B2, Tol)) Res.Add(A2);
    if (OnSegment(B1, A1, A2, Tol)) Res.Add(B1);
    if (OnSegment(B2, A1, A2, Tol)) Res.Add(B2);
  }
  if (Res.N > 0) return HandOut(Res, R1, R2);
  TDPoint X;
  if (!IntersectSegmentsProper(A1, A2, B1, B2, X, Tol)) return 0;
  R1 = X;
  return 1;
}

int32_t IntersectLineWithArcMy(const TDPoint& L1, const TDPoint& L2, const TDPoint& B1,
                               const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                               const TTolerance& Tol) {
  // In the line's own frame the line is the x axis from 0 to Len.
  TCoordSys F;
  F.InitPoints(L1, L2);
  const TDPoint LB1 = F.ToLocal(B1);
  const TDPoint LB2 = F.ToLocal(B2);
  double Sweep;
  TDPoint C;
  if (!GetCenter2(LB1, LB2, Sweep, ConvexityB, C))
    throw core::Exception("IntersectLineWithArcMy: GetCenter2 failed");
  const long double R = Distance(C, LB1);
  const long double CY = std::fabs(static_cast<long double>(C.Y));
  const long double Work = Tol.Work;
  TResults Res;
  auto Take = [&](long double X) {
    const TDPoint Q{static_cast<double>(X), 0};
    if (-Work <= X && X <= F.Len + Work && ArcContainsAngle(C, LB1, Q, Sweep, Tol)) {
      Res.Add(F.ToWorld(Q));
      return true;
    }
    return false;
  };
  const long double D2 = (R - CY) * (R + CY);
  // A circle within the tolerance of the line touches it at one point. The
  // two crossings that the rounding may give instead lie up to sqrt(2 R Tol)
  // apart, much more than the tolerance; so when the touching point is off
  // the arc or the segment (an end of either lies between the crossings),
  // the crossings themselves are taken: the one on both is a real crossing,
  // and dropping it would leave the outlines uncut there.
  if (std::fabs(R - CY) < Work && Take(C.X)) return HandOut(Res, R1, R2);
  if (D2 >= 0) {
    const long double S = std::sqrt(D2);
    Take(C.X - S);
    Take(C.X + S);
  }
  return HandOut(Res, R1, R2);
}

int32_t IntersectLineWithArcAll(const TDPoint& L1, const TDPoint& L2, const TDPoint& B1,
                                const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                                const TTolerance& Tol) {
  CheckConnectEnds(L1, L2, B1, B2, Tol);
  TDPoint S1{0, 0}, S2{0, 0};
  const int32_t N = IntersectLineWithArcMy(L1, L2, B1, B2, ConvexityB, S1, S2, Tol);
  CheckResult3(L1, L2, B1, B2, N, S1, S2, Tol);
  return HandOut(S1, S2, N, R1, R2);
}

int32_t IntersectArcsMy(const TDPoint& A1, const TDPoint& A2, double ConvexityA, const TDPoint& B1,
                        const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                        const TTolerance& Tol) {
  static const char* const Failure = "IntersectArcsMy: GetCenter2 failed";
  const TArcCircle A = ArcCircle(A1, A2, ConvexityA, Failure, Tol);
  const TArcCircle B = ArcCircle(B1, B2, ConvexityB, Failure, Tol);
  const long double Work = Tol.Work;
  const long double RA = A.Radius, RB = B.Radius;
  const long double DX = static_cast<long double>(B.Center.X) - A.Center.X;
  const long double DY = static_cast<long double>(B.Center.Y) - A.Center.Y;
  const long double D = std::sqrt(DX * DX + DY * DY);
  TResults Res;
  auto OnBoth = [&](const TDPoint& Q) {
    if (A.Contains(Q) && B.Contains(Q)) Res.Add(Q);
  };
  // Circles that nowhere lie farther apart than two points that are the same
  // point are one circle. The centres and radii come from rounded end points
  // and convexities; far from the origin, or for pieces of split arcs, that
  // noise outgrows the work tolerance, and two arcs of one circle would be
  // read as tangent or crossing circles meeting at a direction chosen by the
  // rounding. The arcs would then be cut at points of no meaning and never
  // become the same edges.
  if (D + std::fabs(RA - RB) < PointTolerance) {
    SameCircleEnds(A, A2, B, B2, Res);
    return HandOut(Res, R1, R2);
  }
  if (std::fabs(D - (RA + RB)) < Work || std::fabs(D - std::fabs(RA - RB)) < Work) {
    if (D >= Work) {
      // Tangent circles: the touching point on the line of the centres.
      const TDPoint& From = RA < RB ? B.Center : A.Center;
      const long double K = (RA < RB ? -RB : RA) / D;
      OnBoth(TDPoint{static_cast<double>(From.X + K * DX), static_cast<double>(From.Y + K * DY)});
    } else {
      SameCircleEnds(A, A2, B, B2, Res);
    }
    return HandOut(Res, R1, R2);
  }
  // Concentric circles (possible only with a zero tolerance) never cross.
  if (RA + RB < D || RA + D < RB || RB + D < RA || D == 0) return 0;
  const long double Along = (D * D + RA * RA - RB * RB) / (2 * D);
  const long double H2 = RA * RA - Along * Along;
  if (H2 < 0) return 0;
  const long double H = std::sqrt(H2);
  const long double UX = DX / D, UY = DY / D;
  const long double MX = A.Center.X + Along * UX, MY = A.Center.Y + Along * UY;
  OnBoth(TDPoint{static_cast<double>(MX + H * UY), static_cast<double>(MY - H * UX)});
  OnBoth(TDPoint{static_cast<double>(MX - H * UY), static_cast<double>(MY + H * UX)});
  return HandOut(Res, R1, R2);
}

int32_t IntersectArcsAll(const TDPoint& A1, const TDPoint& A2, double ConvexityA, const TDPoint& B1,
                         const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                         const TTolerance& Tol) {
  CheckConnectEnds(A1, A2, B1, B2, Tol);
  TDPoint S1{0, 0}, S2{0, 0};
  const int32_t N = IntersectArcsMy(A1, A2, ConvexityA, B1, B2, ConvexityB, S1, S2, Tol);
  CheckResult3(A1, A2, B1, B2, N, S1, S2, Tol);
  return HandOut(S1, S2, N, R1, R2);
}

TDPoint PickOtherPoint(const TDPoint& First1, const TDPoint& First2, const TDPoint& Other1,
                       const TDPoint& Other2, const TDPoint& R1, const TDPoint& R2) {
  const TDPoint& Ref = SamePoint(First2, Other1) || SamePoint(First2, Other2) ? First2 : First1;
  return SamePoint(R1, Ref) ? R2 : R1;
}

bool IntersectConnectFull(const TGConnectFull& E, const TGConnectFull& F, TDPoint& P,
                          const TTolerance& Tol) {
  const bool LineE = IsLineConnect(E), LineF = IsLineConnect(F);
  // The line always goes first in the mixed case.
  const TGConnectFull& First = LineE || !LineF ? E : F;
  const TGConnectFull& Other = LineE || !LineF ? F : E;
  TDPoint R1{0, 0}, R2{0, 0};
  int32_t N;
  if (LineE && LineF)
    N = IntersectLinesAll(E.P1, E.P2, F.P1, F.P2, R1, R2, Tol);
  else if (!LineE && !LineF)
    N = IntersectArcsAll(E.P1, E.P2, E.Convexity, F.P1, F.P2, F.Convexity, R1, R2, Tol);
  else
    N = IntersectLineWithArcAll(First.P1, First.P2, Other.P1, Other.P2, Other.Convexity, R1, R2,
                                Tol);
  if (N == 0) return false;
  P = N == 1 ? R1 : PickOtherPoint(First.P1, First.P2, Other.P1, Other.P2, R1, R2);
  return true;
}

bool SplitConnectFull(const TGConnectFull& E, const TDPoint& X, double T, TGConnectFull& E1,
                      TGConnectFull& E2) {
  if (SamePointTol(X, E.P1, T) || SamePointTol(X, E.P2, T)) return false;
  TGConnectFull Parts[2] = {E, E};
  Parts[0].P2 = X;
  Parts[1].P1 = X;
  Parts[0].Convexity = Parts[1].Convexity = 0;
  if (E.Kind != TConnectKind::Line) {
    if (std::fabs(E.Convexity) < ConnectTolerance) {
      Parts[0].Kind = Parts[1].Kind = TConnectKind::Line;
    } else {
      double Sweep;
      TDPoint Center;
      if (!GetCenter2(E.P1, E.P2, Sweep, E.Convexity, Center))
        throw core::Exception("SplitConnectFull: GetCenter2 failed");
      for (TGConnectFull& Part : Parts) {
        TDPoint Mid;
        ArcMidPoint(Part.P1, Center, Part.P2, Sweep < 0, Mid);
        // Three points in a row: the piece is too flat to be an arc.
        if (!ConvexityBy3Points(Part.P1, Mid, Part.P2, Part.Convexity)) {
          Part.Kind = TConnectKind::Line;
          Part.Convexity = 0;
        }
      }
    }
  }
  E1 = Parts[0];
  E2 = Parts[1];
  return true;
}

double GetLengthConnectFull(const TGConnectFull& E) {
  if (E.Kind == TConnectKind::Line || E.Convexity == 0) return Distance(E.P1, E.P2);
  double Sweep;
  TDPoint Center;
  if (!GetCenter2(E.P1, E.P2, Sweep, E.Convexity, Center))
    throw core::Exception("GetLengthConnectFull: GetCenter2 failed");
  return static_cast<double>(static_cast<long double>(Distance(Center, E.P2)) *
                             std::fabs(static_cast<long double>(Sweep)));
}

TDRect GetBoundsConnectFull(const TGConnectFull& E) {
  TEdge Edge{};
  Edge.P1 = E.P1;
  Edge.P2 = E.P2;
  // An arc without a centre (flatter than a line or closed on itself) is
  // bounded by its ends, like a line.
  if (E.Kind != TConnectKind::Line && E.Convexity != 0 &&
      GetCenter2(E.P1, E.P2, Edge.Angle, E.Convexity, Edge.Center)) {
    Edge.Convexity = E.Convexity;
    Edge.Radius = Distance(Edge.Center, E.P1);
  }
  TDRect R;
  ArcBounds(Edge, R);
  return R;
}

TGConnectBrief ReverseConnectBrief(const TGConnectBrief& B) {
  TGConnectBrief R = B;
  R.V1 = B.V2;
  R.V2 = B.V1;
  if (B.Kind != TConnectKind::Line) R.Convexity = -B.Convexity;
  return R;
}

}  // namespace geo
