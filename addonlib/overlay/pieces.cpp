#include "addonlib/overlay/pieces.h"

#include <algorithm>
#include <cmath>

namespace geoalg::overlay {

namespace {

using LD = long double;

constexpr LD QuarterTurn = geo::HalfPi;

void PushPiece(std::vector<TPiece>& Pieces, int32_t IA, const TDPoint& A, int32_t IB,
               const TDPoint& B, const TDPoint& C, double R, bool Ccw, int8_t Label, int8_t W,
               const TOverlayTolerance& Tol) {
  TPiece S;
  S.IA = IA;
  S.IB = IB;
  S.A = A;
  S.B = B;
  S.C = C;
  S.R = R;
  S.Ccw = Ccw;
  S.Label = Label;
  S.W = W;
  S.Tol = Tol.At(S.Mag());
  Pieces.push_back(S);
}

// Point of the circle at the axis extreme K (0 east, 1 north, 2 west, 3 south).
TDPoint Extreme(const TDPoint& C, double R, int64_t K) {
  switch (((K % 4) + 4) % 4) {
    case 0:
      return {C.X + R, C.Y};
    case 1:
      return {C.X, C.Y + R};
    case 2:
      return {C.X - R, C.Y};
    default:
      return {C.X, C.Y - R};
  }
}

// P within T of the piece's box.
bool InBox(const TPiece& S, const TDPoint& P, double T) {
  const TDRect B = S.Box();
  return P.X >= B.X1 - T && P.X <= B.X2 + T && P.Y >= B.Y1 - T && P.Y <= B.Y2 + T;
}

// A crossing X found near the end of one piece is that end: the other piece
// is cut there, so that both share a point of the store, and the piece
// itself needs no cut. Cutting it at X too would leave a point beside its
// end whose tolerance (large where the two touch tangentially) joins every
// vertex around it into one.
void AddCrossing(const TPiece& S, int32_t I, const TPiece& U, int32_t J, const TDPoint& X,
                 double TX, const TOverlayTolerance& Tol, std::vector<TSplit>& Out) {
  auto Near = [&](const TDPoint& E) { return NearPoints(X, TX, E, PointTol(E, Tol)); };
  const bool NearSA = Near(S.A), NearSB = !NearSA && Near(S.B);
  const bool NearUA = Near(U.A), NearUB = !NearUA && Near(U.B);
  if ((NearSA || NearSB) && (NearUA || NearUB)) {
    // Ends meet: the vertex store joins them. Where the two ends lie just
    // over a tolerance apart (a corner and its copy moved by a hair), the
    // crossing between them is filed as a point of the store: within
    // tolerance of both, it joins them into one vertex, which the crossing
    // becomes. Left out, the pieces crossed there without a common vertex.
    const TDPoint& ES = NearSA ? S.A : S.B;
    const TDPoint& EU = NearUA ? U.A : U.B;
    const int32_t IS = NearSA ? S.IA : S.IB, IU = NearUA ? U.IA : U.IB;
    if (IS != IU && !NearPoints(ES, EU, Tol)) Out.push_back({I, X, TX});
    return;
  }
  if (NearUA || NearUB) {
    const TDPoint& E = NearUA ? U.A : U.B;
    Out.push_back({I, E, PointTol(E, Tol)});
  } else if (NearSA || NearSB) {
    const TDPoint& E = NearSA ? S.A : S.B;
    Out.push_back({J, E, PointTol(E, Tol)});
  } else {
    Out.push_back({I, X, TX, J});
    Out.push_back({J, X, TX, I});
  }
}

// Crossings are computed from the two curves in an order of their own, not
// of the pieces' indices or directions: a ring given twice, or one side
// shared by two inputs, is then cut at the very same points by whatever
// crosses it. (Computed the other way round, a shallow crossing landed two
// tolerances away, and the copies were cut apart.)
bool Before(const TDPoint& P, const TDPoint& Q) {
  return P.X < Q.X || (P.X == Q.X && P.Y < Q.Y);
}
const TDPoint& Low(const TPiece& S) {
  return Before(S.B, S.A) ? S.B : S.A;
}
const TDPoint& High(const TPiece& S) {
  return Before(S.B, S.A) ? S.A : S.B;
}
bool LineFirst(const TPiece& S, const TPiece& U) {
  return Before(Low(S), Low(U)) || (!Before(Low(U), Low(S)) && Before(High(S), High(U)));
}
bool CircleFirst(const TPiece& S, const TPiece& U) {
  return Before(S.C, U.C) || (!Before(U.C, S.C) && S.R < U.R);
}

int LineLine(const TPiece& P1, const TPiece& P2, TDPoint* X) {
  const bool First = LineFirst(P1, P2);
  const TPiece& S = First ? P1 : P2;
  const TPiece& U = First ? P2 : P1;
  const TDPoint &SA = Low(S), &SB = High(S), &UA = Low(U), &UB = High(U);
  const LD OX = SA.X, OY = SA.Y;
  const LD RX = SB.X - OX, RY = SB.Y - OY;
  const LD SX = static_cast<LD>(UB.X) - UA.X, SY = static_cast<LD>(UB.Y) - UA.Y;
  const LD QX = UA.X - OX, QY = UA.Y - OY;
  const LD Den = RX * SY - RY * SX;
  if (Den == 0) return 0;
  const LD T = (QX * SY - QY * SX) / Den;
  const LD V = (QX * RY - QY * RX) / Den;
  if (T < 0 || T > 1 || V < 0 || V > 1) return 0;
  X[0] = {static_cast<double>(OX + T * RX), static_cast<double>(OY + T * RY)};
  return 1;
}

// Where a line and a circle, or two circles, meet: computed in extended
// precision from the stored line and circles, which every later step reads,
// so the points are exact to their rounding whatever the angle. (Where two
// curves are tangent by construction, at a shared end, OtherMeeting answers
// instead.)
int LineArc(const TPiece& L, const TPiece& K, double Tol, TDPoint* X) {
  const TDPoint &LA = Low(L), &LB = High(L);
  const LD OX = LA.X, OY = LA.Y;
  const LD DX = LB.X - OX, DY = LB.Y - OY;
  const LD Len = std::sqrt(DX * DX + DY * DY);
  if (Len == 0) return 0;
  const LD UX = DX / Len, UY = DY / Len;
  const LD WX = K.C.X - OX, WY = K.C.Y - OY;
  const LD Along = WX * UX + WY * UY;
  const LD Across = UX * WY - UY * WX;  // signed distance of the centre from the line
  const LD R = K.R;
  if (std::fabs(Across) > R + Tol) return 0;
  const LD HH = R * R - Across * Across;
  const LD H = HH > 0 ? std::sqrt(HH) : 0;
  int N = 0;
  for (const LD T : {Along - H, Along + H}) {
    if (T < -Tol || T > Len + Tol || (N == 1 && H == 0)) continue;
    X[N++] = {static_cast<double>(OX + T * UX), static_cast<double>(OY + T * UY)};
  }
  return N;
}

int ArcArc(const TPiece& P1, const TPiece& P2, double Tol, TDPoint* X) {
  const bool First = CircleFirst(P1, P2);
  const TPiece& S = First ? P1 : P2;
  const TPiece& U = First ? P2 : P1;
  const LD OX = S.C.X, OY = S.C.Y;
  const LD DX = U.C.X - OX, DY = U.C.Y - OY;
  const LD D = std::sqrt(DX * DX + DY * DY);
  const LD R1 = S.R, R2 = U.R;
  if (D <= Tol) return 0;  // one circle, or concentric ones that never meet
  if (D > R1 + R2 + Tol || D < std::fabs(R1 - R2) - Tol) return 0;
  const LD A = (D * D + R1 * R1 - R2 * R2) / (2 * D);
  const LD HH = R1 * R1 - A * A;
  const LD H = HH > 0 ? std::sqrt(HH) : 0;
  const LD UX = DX / D, UY = DY / D;
  const LD MX = OX + A * UX, MY = OY + A * UY;
  X[0] = {static_cast<double>(MX - H * UY), static_cast<double>(MY + H * UX)};
  if (H == 0) return 1;
  X[1] = {static_cast<double>(MX + H * UY), static_cast<double>(MY - H * UX)};
  return 2;
}

// The second meeting of a line and a circle, or of two circles, that meet at
// E: E mirrored in the line through the centres, or in the perpendicular from
// the centre to the line. Unlike solving for both meetings, this stays exact
// where the two are tangent at E (a join arc and the offset edge it leaves):
// the mirror image falls on E instead of at a distance that grows as the
// square root of the rounding. False for one circle.
bool OtherMeeting(const TPiece& S, const TPiece& U, const TDPoint& E, TDPoint& X) {
  const bool SFirst = S.IsArc() && (!U.IsArc() || CircleFirst(S, U));
  const TPiece& K = SFirst ? S : U;  // an arc
  const TPiece& L = SFirst ? U : S;  // the line, or the other arc
  LD OX, OY, UX, UY;                 // a point of the mirror and its direction
  if (L.IsArc()) {
    const LD DX = static_cast<LD>(L.C.X) - K.C.X, DY = static_cast<LD>(L.C.Y) - K.C.Y;
    const LD D = std::sqrt(DX * DX + DY * DY);
    if (D <= std::max(K.Tol, L.Tol)) return false;
    OX = K.C.X;
    OY = K.C.Y;
    UX = DX / D;
    UY = DY / D;
  } else {
    const TDPoint &LA = Low(L), &LB = High(L);
    const LD DX = static_cast<LD>(LB.X) - LA.X, DY = static_cast<LD>(LB.Y) - LA.Y;
    const LD Len = std::sqrt(DX * DX + DY * DY);
    if (Len == 0) return false;
    const LD LX = DX / Len, LY = DY / Len;
    // The foot of the centre on the line; the mirror runs across the line.
    const LD T = (K.C.X - static_cast<LD>(LA.X)) * LX + (K.C.Y - static_cast<LD>(LA.Y)) * LY;
    OX = LA.X + T * LX;
    OY = LA.Y + T * LY;
    UX = -LY;
    UY = LX;
  }
  const LD PX = E.X - OX, PY = E.Y - OY;
  const LD Along = PX * UX + PY * UY;
  // Mirror: keep the component along the mirror, negate the one across it.
  X = {static_cast<double>(OX + 2 * Along * UX - PX),
       static_cast<double>(OY + 2 * Along * UY - PY)};
  return true;
}

// A line and an arc meeting at E where the line is tangent to the circle
// (a join arc and the offset edge it leaves): OtherMeeting would give E
// again. Told in double, without the extended-precision mirror: differences
// of doubles are exact to their own rounding, so the distance along the line
// from the centre's foot to E is off by a few units in the last place of the
// radius, and where twice it stays under half E's tolerance, the mirror image
// would too.
bool TangentAt(const TPiece& S, const TPiece& U, const TDPoint& E, const TOverlayTolerance& Tol) {
  if (S.IsArc() == U.IsArc()) return false;
  const TPiece& K = S.IsArc() ? S : U;
  const TPiece& L = S.IsArc() ? U : S;
  const double DX = L.B.X - L.A.X, DY = L.B.Y - L.A.Y;
  const double Len = std::sqrt(DX * DX + DY * DY);
  if (!(Len > 0)) return false;
  const double PX = E.X - K.C.X, PY = E.Y - K.C.Y;
  const double Along = std::fabs(PX * DX + PY * DY) / Len;
  const double Error = ProjectionRounding * (std::fabs(PX) + std::fabs(PY));
  return 2 * (Along + Error) <= PointTol(E, Tol) / 2;
}

// Every point of U lies on one side of the line of the straight piece L,
// further from it than four times the larger tolerance of the two: no end
// of either is then near the other (a point on L's line is as far from U),
// and the two cannot cross. A monotone arc lies within the box of its ends,
// so the box's corners stand for it. Told in double: differences of doubles
// are exact to their own rounding, and the margin covers the products'.
// Side of P against the line of the straight piece L: 1 left, -1 right,
// further than four times Tol; 0 nearer.
int SideOf(const TPiece& L, const TDPoint& P, double Tol) {
  const double DX = L.B.X - L.A.X, DY = L.B.Y - L.A.Y;
  const double Margin = 4 * Tol * (std::fabs(DX) + std::fabs(DY));
  const double PX = P.X - L.A.X, PY = P.Y - L.A.Y;
  const double A = DX * PY, B = DY * PX;
  const double Cross = A - B;
  const double Error = ProductRounding * (std::fabs(A) + std::fabs(B));
  return Cross > Margin + Error ? 1 : Cross < -(Margin + Error) ? -1 : 0;
}

bool OneSide(const TPiece& L, const TPiece& U) {
  const double T = std::max(L.Tol, U.Tol);
  const TDRect Box = U.Box();
  const TDPoint Corners[4] = {
      {Box.X1, Box.Y1}, {Box.X2, Box.Y2}, {Box.X1, Box.Y2}, {Box.X2, Box.Y1}};
  int Side = 0;
  // A line is its two ends, which are two opposite corners of its box.
  for (int K = 0; K < (U.IsArc() ? 4 : 2); ++K) {
    const int S = SideOf(L, U.IsArc() ? Corners[K] : (K ? U.B : U.A), T);
    if (S == 0 || (Side != 0 && S != Side)) return false;
    Side = S;
  }
  return true;
}

// P lies off the circle of the arc K by more than four times Tol.
bool OffCircle(const TPiece& K, const TDPoint& P, double Tol) {
  const double DX = P.X - K.C.X, DY = P.Y - K.C.Y;
  const double Error = ProductRounding * (std::fabs(DX) + std::fabs(DY) + K.R);
  return std::fabs(std::sqrt(DX * DX + DY * DY) - K.R) > 4 * Tol + Error;
}

// Chebyshev distance between two points above four times Tol.
bool Apart(const TDPoint& P, const TDPoint& Q, double Tol) {
  return std::max(std::fabs(P.X - Q.X), std::fabs(P.Y - Q.Y)) > 4 * Tol;
}

// Two pieces that follow each other (one end in common, by index) and meet
// nowhere else, told in double: no end of either lies near the other, and
// the two have no second meeting. Covers two lines whose other ends lie off
// each other's line; a line and an arc tangent to it at the common end (an
// offset edge and its join) whose other ends lie off each other's curve;
// and two arcs of one circle that run on from the common end in opposite
// turns (pieces of one arc), each other end well apart from it. Each test
// has a margin of four times the larger tolerance, like OneSide's.
bool OnlyFollow(const TPiece& S, const TPiece& U, const TOverlayTolerance& Tol) {
  const bool SA = S.IA == U.IA || S.IA == U.IB, SB = S.IB == U.IA || S.IB == U.IB;
  if (SA == SB) return false;
  const int32_t Shared = SA ? S.IA : S.IB;
  const bool UA = U.IA == Shared;
  const TDPoint& FarS = SA ? S.B : S.A;
  const TDPoint& FarU = UA ? U.B : U.A;
  const double T = std::max(S.Tol, U.Tol);
  if (!S.IsArc() && !U.IsArc()) return SideOf(S, FarU, T) != 0 && SideOf(U, FarS, T) != 0;
  if (S.IsArc() != U.IsArc()) {
    const TPiece& K = S.IsArc() ? S : U;
    const TPiece& L = S.IsArc() ? U : S;
    const TDPoint& FarK = S.IsArc() ? FarS : FarU;
    const TDPoint& FarL = S.IsArc() ? FarU : FarS;
    return SideOf(L, FarK, T) != 0 && OffCircle(K, FarL, T) && TangentAt(S, U, SA ? S.A : S.B, Tol);
  }
  if (S.C.X != U.C.X || S.C.Y != U.C.Y || S.R != U.R) return false;
  // Turning away from the common end: with A first, a piece leaves A in its
  // own turn and B in the other.
  const bool AwayS = SA == S.Ccw, AwayU = UA == U.Ccw;
  const TDPoint& E = SA ? S.A : S.B;
  return AwayS != AwayU && Apart(FarS, E, T) && Apart(FarU, E, T);
}
}  // namespace

void AddEdgePieces(const TDPoint& P1, int32_t I1, const TDPoint& P2, int32_t I2, double Convexity,
                   int8_t Label, int8_t W, const TOverlayTolerance& Tol,
                   std::vector<TDPoint>& Points, std::vector<TPiece>& Pieces) {
  if (std::fabs(Convexity) <= geo::LineConvexityLimit) {
    PushPiece(Pieces, I1, P1, I2, P2, {0, 0}, 0, false, Label, W, Tol);
    return;
  }
  const LD DX = static_cast<LD>(P2.X) - P1.X, DY = static_cast<LD>(P2.Y) - P1.Y;
  const LD D = std::sqrt(DX * DX + DY * DY);
  const double T = Tol.At(std::max(Magnitude(P1), Magnitude(P2)));
  const LD Cv = Convexity;
  // The sagitta of the arc is (D / 2) |c|: an arc that close to its chord is
  // the chord.
  if (D / 2 * std::fabs(Cv) <= T) {
    PushPiece(Pieces, I1, P1, I2, P2, {0, 0}, 0, false, Label, W, Tol);
    return;
  }
  const LD Off = D / 2 * (1 - Cv * Cv) / (2 * Cv);
  const LD CX = (static_cast<LD>(P1.X) + P2.X) / 2 - DY / D * Off;
  const LD CY = (static_cast<LD>(P1.Y) + P2.Y) / 2 + DX / D * Off;
  const TDPoint C{static_cast<double>(CX), static_cast<double>(CY)};
  const double R = static_cast<double>(D / 2 * (1 + Cv * Cv) / (2 * std::fabs(Cv)));
  const bool Ccw = Cv > 0;
  // Under a half turn with both ends strictly inside one quadrant of the
  // circle, the arc stays in it: no cut, and no arc tangent to find out.
  if (std::fabs(Cv) < 1) {
    const LD AX = P1.X - CX, AY = P1.Y - CY, BX = P2.X - CX, BY = P2.Y - CY;
    if (AX != 0 && AY != 0 && BX != 0 && BY != 0 && (AX > 0) == (BX > 0) && (AY > 0) == (BY > 0)) {
      PushPiece(Pieces, I1, P1, I2, P2, C, R, Ccw, Label, W, Tol);
      return;
    }
  }
  const LD Sweep = 4 * std::atan(Cv);
  const LD A0 = std::atan2(static_cast<LD>(P1.Y) - CY, static_cast<LD>(P1.X) - CX);
  const LD Eps = static_cast<LD>(T) / R;  // cuts closer than T to an end are not made
  int32_t From = I1;
  TDPoint FromP = P1;
  const int Step = Ccw ? 1 : -1;
  const LD End = A0 + Sweep - Step * Eps;
  for (int64_t K = Ccw ? static_cast<int64_t>(std::floor((A0 + Eps) / QuarterTurn)) + 1
                       : static_cast<int64_t>(std::ceil((A0 - Eps) / QuarterTurn)) - 1;
       Step * (K * QuarterTurn - End) < 0; K += Step) {
    const TDPoint Q = Extreme(C, R, K);
    Points.push_back(Q);
    const int32_t IQ = static_cast<int32_t>(Points.size() - 1);
    PushPiece(Pieces, From, FromP, IQ, Q, C, R, Ccw, Label, W, Tol);
    From = IQ;
    FromP = Q;
  }
  PushPiece(Pieces, From, FromP, I2, P2, C, R, Ccw, Label, W, Tol);
}

bool OnPiece(const TPiece& S, const TDPoint& P, double T) {
  if (!InBox(S, P, T)) return false;
  if (S.IsArc()) {
    const LD DX = static_cast<LD>(P.X) - S.C.X, DY = static_cast<LD>(P.Y) - S.C.Y;
    return std::fabs(std::sqrt(DX * DX + DY * DY) - S.R) <= T;
  }
  const LD DX = static_cast<LD>(S.B.X) - S.A.X, DY = static_cast<LD>(S.B.Y) - S.A.Y;
  const LD PX = static_cast<LD>(P.X) - S.A.X, PY = static_cast<LD>(P.Y) - S.A.Y;
  return std::fabs(DX * PY - DY * PX) <= T * std::sqrt(DX * DX + DY * DY);
}

void IntersectPieces(const std::vector<TPiece>& Pieces, int32_t I, int32_t J,
                     const TOverlayTolerance& Tol, std::vector<TSplit>& Out) {
  const TPiece& S = Pieces[I];
  const TPiece& U = Pieces[J];
  // Most pairs are pieces that follow each other and meet at their common
  // end only, or pieces wholly apart: both told in double.
  const bool Common = S.IA == U.IA || S.IA == U.IB || S.IB == U.IA || S.IB == U.IB;
  if (Common ? OnlyFollow(S, U, Tol)
             : (!S.IsArc() && OneSide(S, U)) || (!U.IsArc() && OneSide(U, S)))
    return;
  // Ends of one piece on the other: the distance is computed in extended
  // precision from exact points, so the end's own tolerance decides, or the
  // arc's when the circle was computed.
  const TPiece* Both[2] = {&S, &U};
  // The four ends with their tolerances, worked out once; ends that are one
  // point of the store (pieces that follow each other) meet without a test.
  const TDPoint* Ends[2][2] = {{&S.A, &S.B}, {&U.A, &U.B}};
  const int32_t Ids[2][2] = {{S.IA, S.IB}, {U.IA, U.IB}};
  double EndTol[2][2];
  for (int K = 0; K < 2; ++K)
    for (int E = 0; E < 2; ++E) EndTol[K][E] = PointTol(*Ends[K][E], Tol);
  // Meetings at ends, up to two told apart.
  const TDPoint* Meet[2] = {nullptr, nullptr};
  double MeetTol[2] = {0, 0};
  int Meets = 0;
  auto AddMeet = [&](const TDPoint& E, double TE) {
    for (int K = 0; K < Meets; ++K)
      if (NearPoints(*Meet[K], MeetTol[K], E, TE)) return;
    if (Meets < 2) {
      Meet[Meets] = &E;
      MeetTol[Meets] = TE;
    }
    ++Meets;
  };
  for (int K = 0; K < 2; ++K) {
    const TPiece& Other = *Both[1 - K];
    const int32_t OtherIndex = K ? I : J;
    for (int End = 0; End < 2; ++End) {
      const TDPoint& E = *Ends[K][End];
      const double TE = EndTol[K][End];
      auto Near = [&](int O) {
        return Ids[K][End] == Ids[1 - K][O] || NearPoints(E, TE, *Ends[1 - K][O], EndTol[1 - K][O]);
      };
      if (Near(0) || Near(1)) {
        AddMeet(E, TE);
        continue;
      }
      if (OnPiece(Other, E, Other.IsArc() ? std::max(TE, Other.Tol) : TE)) {
        Out.push_back({OtherIndex, E, TE});
        AddMeet(E, TE);
      }
    }
  }
  const double Share = CrossingError * std::max(S.Mag(), U.Mag());
  TDPoint X[2];
  int N;
  // Two lines meet once: where ends meet the other at two points, the two
  // run within tolerance of each other between them. Where they meet at one
  // end only, their lines may still cross further on, if they run within a
  // few tolerances of each other (the sides of a polygon and of its copy
  // turned by a hair, their ends one vertex at one corner and just over a
  // tolerance apart at the other): that crossing is kept, and one within
  // the meeting's tolerance is the meeting. A line and a circle, or two
  // circles, meet twice at most: beside a meeting at an end there is only
  // its mirror image.
  if (!S.IsArc() && !U.IsArc()) {
    N = Meets > 1 ? 0 : LineLine(S, U, X);
    if (N == 1 && Meets == 1 && NearPoints(X[0], PointTol(X[0], Tol), *Meet[0], MeetTol[0])) N = 0;
  } else if (Meets > 0) {
    N = 0;
    if (Meets == 1 && !TangentAt(S, U, *Meet[0], Tol) && OtherMeeting(S, U, *Meet[0], X[0]) &&
        !NearPoints(X[0], *Meet[0], Tol)) {
      const double TX = std::max(PointTol(X[0], Tol), Share);
      if (InBox(S, X[0], TX) && InBox(U, X[0], TX)) AddCrossing(S, I, U, J, X[0], TX, Tol, Out);
    }
    return;
  } else if (!S.IsArc())
    N = LineArc(S, U, Share, X);
  else if (!U.IsArc())
    N = LineArc(U, S, Share, X);
  else
    N = ArcArc(S, U, std::max(S.Tol, U.Tol), X);
  for (int K = 0; K < N; ++K) {
    const double TX = std::max(PointTol(X[K], Tol), Share);
    // Lines were bounded by their parameters; arcs by their boxes, which on
    // a monotone piece is being on the arc.
    if (S.IsArc() && !InBox(S, X[K], TX)) continue;
    if (U.IsArc() && !InBox(U, X[K], TX)) continue;
    AddCrossing(S, I, U, J, X[K], TX, Tol, Out);
  }
}

}  // namespace geoalg::overlay
