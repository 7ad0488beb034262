#include "addonlib/geometry/point_in_contour.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/measures.h"

namespace geo {

namespace {

// A straight edge from height Y1 to Y2 lies wholly more than Tol above or
// below the line y = Y.
bool MissesLine(long double Y1, long double Y2, double Tol, double Y) {
  return std::min(Y1, Y2) - Y > Tol || Y - std::max(Y1, Y2) > Tol;
}

// Points of EdgeLineIntersect, at most two: kept on the stack in hot loops.
struct TLinePoints {
  TDPoint P[2];
  int N = 0;
  void Add(const TDPoint& X) { P[N++] = X; }
};

// How far an arc's computed geometry can be from the exact one: Tol plus
// the rounding of the centre and radius, which at projected map coordinates
// exceeds a tolerance of 1E-9 by far. Vertical is how far the line may be
// from the circle's top or bottom and still only touch it; Horizontal is how
// far apart the two meeting points of such a line can be.
struct TArcSlack {
  long double Vertical;
  long double Horizontal;
};

double ArcVertical(const TEdge& E, double Tol) {
  return Tol + 64 * std::numeric_limits<double>::epsilon() *
                   (std::fabs(E.Center.X) + std::fabs(E.Center.Y) + E.Radius);
}

TArcSlack ArcSlack(const TEdge& E, double Tol) {
  const long double V = ArcVertical(E, Tol);
  return TArcSlack{V, std::sqrt(2 * E.Radius * V)};
}

// StartAngle, when given, is the arc's AngleOf(E.Center, E.P1), kept by a
// caller that asks about the same edge many times.
void LinePoints(const TEdge& E, double Tol, double Y, TLinePoints& Out,
                const double* StartAngle = nullptr) {
  Out.N = 0;
  if (IsDegenerate(E)) {
    if (E.P1.Y == Y) Out.Add(E.P1);
    return;
  }
  if (!IsArc(E)) {
    // In double first: a miss by more than twice the tolerance is a miss.
    if (std::min(E.P1.Y, E.P2.Y) - Y > 2 * Tol || Y - std::max(E.P1.Y, E.P2.Y) > 2 * Tol) return;
    const long double Y1 = E.P1.Y, Y2 = E.P2.Y;
    if (MissesLine(Y1, Y2, Tol, Y)) return;
    if (std::fabs(Y1 - Y2) < Tol) {
      Out.Add(E.P1);
      Out.Add(E.P2);
      return;
    }
    // A line through an end point (within Tol) meets the edge there exactly.
    if (std::fabs(Y1 - Y) <= Tol)
      Out.Add(E.P1);
    else if (std::fabs(Y2 - Y) <= Tol)
      Out.Add(E.P2);
    else
      Out.Add(TDPoint{static_cast<double>(E.P1.X + (static_cast<long double>(E.P2.X) - E.P1.X) *
                                                       (Y - Y1) / (Y2 - Y1)),
                      Y});
    return;
  }
  if (std::fabs(E.Center.Y - Y) > E.Radius * (1 + 1E-12) + 2 * ArcVertical(E, Tol)) return;
  const TArcSlack S = ArcSlack(E, Tol);
  const long double DY = static_cast<long double>(E.Center.Y) - Y;
  const long double R = E.Radius;
  if (std::fabs(DY) > R + S.Vertical) return;
  const long double D2 = R * R - DY * DY;
  const long double D = D2 > 0 ? std::sqrt(D2) : 0;
  TDPoint Cand[2];
  int NC;
  if (Tol / 2.0L >= D || D <= S.Horizontal) {
    Cand[0] = TDPoint{E.Center.X, Y};
    NC = 1;
  } else {
    Cand[0] = TDPoint{static_cast<double>(E.Center.X + D), Y};
    Cand[1] = TDPoint{static_cast<double>(E.Center.X - D), Y};
    NC = 2;
  }
  // A line through an end point meets the arc there: the candidate nearest to
  // that end is the end itself, however the rounding placed it.
  const long double Near = S.Horizontal + S.Vertical;
  for (const TDPoint* End : {&E.P1, &E.P2}) {
    if (std::fabs(End->Y - static_cast<long double>(Y)) > S.Vertical) continue;
    int Best = 0;
    for (int I = 1; I < NC; ++I)
      if (std::fabs(static_cast<long double>(Cand[I].X) - End->X) <
          std::fabs(static_cast<long double>(Cand[0].X) - End->X))
        Best = I;
    if (std::fabs(static_cast<long double>(Cand[Best].X) - End->X) <= Near) Cand[Best] = *End;
  }
  if (NC == 2 && Cand[0].X == Cand[1].X && Cand[0].Y == Cand[1].Y) NC = 1;
  const double A0 = StartAngle ? *StartAngle : AngleOf(E.Center, E.P1);
  for (int I = 0; I < NC; ++I)
    if (AngleInSweep(AngleOf(E.Center, Cand[I]), A0, E.Angle) || SamePointTol(Cand[I], E.P1, Tol) ||
        SamePointTol(Cand[I], E.P2, Tol))
      Out.Add(Cand[I]);
}

// Which side of the line the boundary lies on next to a vertex at P on an
// arc, leaving it (Sign +1) or arriving (Sign -1): the tangent's direction,
// or, where the tangent is horizontal within the arc's slack, the centre's
// side (the arc curves toward its centre).
long double ArcSide(const TEdge& E, const TDPoint& P, int Sign, double Tol, double Y) {
  const long double TY = (static_cast<long double>(P.X) - E.Center.X) * (E.Angle < 0 ? -1 : 1);
  if (std::fabs(TY) <= std::max<long double>(Tol, ArcSlack(E, Tol).Horizontal))
    return static_cast<long double>(E.Center.Y) - Y;
  return P.Y + Sign * TY - Y;
}

// The boundary's side of y = Y just before the end of In and just after the
// start of Out (positive above).
long double IncomingSide(const TEdge& In, double Tol, double Y) {
  if (!IsArc(In)) return static_cast<long double>(In.P1.Y) - Y;
  return ArcSide(In, In.P2, -1, Tol, Y);
}

long double OutgoingSide(const TEdge& Out, double Tol, double Y) {
  if (!IsArc(Out)) return static_cast<long double>(Out.P2.Y) - Y;
  return ArcSide(Out, Out.P1, 1, Tol, Y);
}

// A straight edge lying along the line y = Y: it gives no crossings of its
// own and is passed over when a vertex looks for its neighbours.
bool AlongLine(const TEdge& E, double Tol, double Y) {
  return !IsArc(E) && std::fabs(E.P1.Y - E.P2.Y) < 2 * Tol &&
         std::fabs(static_cast<long double>(E.P1.Y) - E.P2.Y) < Tol &&
         !MissesLine(E.P1.Y, E.P2.Y, Tol, Y);
}

// The crossings of edge E; PrevOf() gives its predecessor among the kept
// edges, asked for only when a crossing lies at E's start.
template <class PrevFn, class Emit>
void EdgeCrossings(const TEdge& E, PrevFn&& PrevOf, double Tol, double Y, Emit& Out,
                   const double* StartAngle = nullptr) {
  TLinePoints L;
  LinePoints(E, Tol, Y, L, StartAngle);
  for (int I = 0; I < L.N; ++I) {
    const TDPoint& X = L.P[I];
    if (SamePointTol(X, E.P2, Tol)) continue;
    const bool AtStart = SamePointTol(X, E.P1, Tol);
    if (!AtStart && IsArc(E) && std::fabs(static_cast<long double>(E.Center.X) - X.X) <= Tol)
      continue;
    if (AtStart) {
      const long double In = IncomingSide(PrevOf(), Tol, Y), Outg = OutgoingSide(E, Tol, Y);
      if (!((In > 0 && Outg < 0) || (In < 0 && Outg > 0))) continue;
    }
    Out(X);
  }
}

// Whether P lies in the edge's box (the circle's box for an arc) widened by
// the tolerance: outside it no incidence test can succeed.
bool NearEdge(const TEdge& E, const TDPoint& P, double Tol) {
  if (IsArc(E)) {
    const double Reach = E.Radius * (1 + 1E-12) + 2 * Tol;
    return std::fabs(P.X - E.Center.X) <= Reach && std::fabs(P.Y - E.Center.Y) <= Reach;
  }
  const double SX = std::fabs(E.P2.X - E.P1.X), SY = std::fabs(E.P2.Y - E.P1.Y);
  const double Slack = 2 * Tol + 1E-12 * (SX + SY);
  return P.X >= std::min(E.P1.X, E.P2.X) - Slack && P.X <= std::max(E.P1.X, E.P2.X) + Slack &&
         P.Y >= std::min(E.P1.Y, E.P2.Y) - Slack && P.Y <= std::max(E.P1.Y, E.P2.Y) + Slack;
}

// Streams the kept edges of a closed part to Out, all but the first, which
// needs its cyclic predecessor (the last kept edge): both are handed back
// for the caller to finish with EdgeCrossings. Visit sees every
// non-degenerate edge first and may stop the walk (Stopped is then set).
// False when no edge is kept or the walk was stopped.
template <class Visit, class Emit>
bool PartCrossingsButFirst(const TContour& Contour, const TPartIter& Part, double Tol, double Y,
                           Visit& V, Emit& Out, TEdge& First, TEdge& Last, bool& Stopped) {
  Stopped = false;
  if (!Part.Closed) return false;
  TEdgeCursor C;
  bool Have = false;
  for (C.Start(Contour, Part.First, true); !C.Eof() && C.Cur <= Part.Last; C.Next()) {
    const TEdge& E = C.Edge;
    if (V(E)) {
      Stopped = true;
      return false;
    }
    if (AlongLine(E, Tol, Y)) continue;
    if (Have)
      EdgeCrossings(
          E, [&]() -> const TEdge& { return Last; }, Tol, Y, Out);
    else
      First = E;
    Last = E;
    Have = true;
  }
  return Have;
}

// Where edge E can matter to a test: the heights of the lines y = Y that
// can meet it, hold an end of it or find a point on it, and the greatest X
// of any such meeting point or point on it (every test on another line, or
// at a point right of XHi, skips E). The bounds of the tests above, doubled,
// and the rounding of far coordinates. An arc reaches as far as its own
// bounds (lines meet it only in its span or at its ends) widened by twice
// Work, the reach of the boundary test's angular slack; where that slack is
// no longer small against the radius, as far as its circle.
struct TEdgeReach {
  double Lo, Hi, XHi;
};

TEdgeReach EdgeReach(const TEdge& E, double Tol, double Work) {
  constexpr double Eps = std::numeric_limits<double>::epsilon();
  constexpr double Inf = std::numeric_limits<double>::infinity();
  const double SX = std::fabs(E.P2.X - E.P1.X), SY = std::fabs(E.P2.Y - E.P1.Y);
  const double Reach = 4 * Tol + 2E-12 * (SX + SY);
  auto Widen = [&](double V, double Sign) { return V + Sign * (Reach + 4 * Eps * std::fabs(V)); };
  TEdgeReach R{Widen(std::min(E.P1.Y, E.P2.Y), -1), Widen(std::max(E.P1.Y, E.P2.Y), 1),
               Widen(std::max(E.P1.X, E.P2.X), 1)};
  if (IsArc(E)) {
    const double Slack = E.Radius * 1E-9 + 4 * ArcVertical(E, Tol) + 4 * Tol + 2 * Work;
    TDRect B{E.Center.X - E.Radius, E.Center.Y - E.Radius, E.Center.X + E.Radius,
             E.Center.Y + E.Radius};
    if (2 * Work < E.Radius / 8) ArcBounds(E, B);
    R.Lo = std::min(R.Lo, B.Y1 - Slack);
    R.Hi = std::max(R.Hi, B.Y2 + Slack);
    R.XHi = std::max(R.XHi, B.X2 + Slack);
  }
  // An edge whose geometry is not finite is looked at in every test.
  if (!(R.Lo <= R.Hi) || !std::isfinite(R.Lo) || !std::isfinite(R.Hi) || !std::isfinite(R.XHi))
    R = {-Inf, Inf, Inf};
  return R;
}

}  // namespace

void EdgeLineIntersect(const TEdge& E, TDPointArray& Points, double Tol, double Y) {
  Points.Reset();
  TLinePoints L;
  LinePoints(E, Tol, Y, L);
  for (int I = 0; I < L.N; ++I) Points.Add(L.P[I]);
}

void HorizontalIntersections(const TPartIter& Part, TDPointArray& Points, double Tol, double Y) {
  if (!Part.Contour) return;
  const int32_t Before = Points.Count;
  auto Add = [&](const TDPoint& X) { Points.Add(X); };
  auto Any = [](const TEdge&) { return false; };
  TEdge First{}, Last{};
  bool Stopped;
  if (!PartCrossingsButFirst(*Part.Contour, Part, Tol, Y, Any, Add, First, Last, Stopped)) return;
  const int32_t Mark = Points.Count;
  EdgeCrossings(
      First, [&]() -> const TEdge& { return Last; }, Tol, Y, Add);
  // The first edge's points were found last: put them first, in edge order.
  std::rotate(Points.Items.begin() + Before, Points.Items.begin() + Mark,
              Points.Items.begin() + Points.Count);
}

TPointPlace PointInContour(const TContour& Contour, const TDPoint& P, const TTolerance& Context) {
  // One walk does both tests: the boundary test on every edge as it comes,
  // and the crossings, which count only when no edge holds P.
  const double Tol = ConnectTolerance;
  auto OnBoundary = [&](const TEdge& E) {
    return NearEdge(E, P, Tol) && PointOnEdge(E, P, Tol, Context);
  };
  int32_t Count = 0;
  auto Counter = [&](const TDPoint& X) {
    if (X.X > P.X) ++Count;
  };
  TPartIter Part;
  TEdge First{}, Last{};
  bool Stopped;
  for (Part.Start(Contour, 0); !Part.Eof(); Part.Next()) {
    if (PartCrossingsButFirst(Contour, Part, Tol, P.Y, OnBoundary, Counter, First, Last, Stopped))
      EdgeCrossings(
          First, [&]() -> const TEdge& { return Last; }, Tol, P.Y, Counter);
    if (Stopped) return TPointPlace::Boundary;
  }
  return Count % 2 ? TPointPlace::Inside : TPointPlace::Outside;
}

void TContourLocator::Prepare(const TTolerance& Context) {
  FIndexed = false;
  FEdges.clear();
  FXHi.clear();
  FStartAngle.clear();
  FPartOf.clear();
  FPartFirst.clear();
  // The same parts and edges as PointInContour's walk.
  TPartIter Part;
  for (Part.Start(*FContour, 0); !Part.Eof(); Part.Next()) {
    if (!Part.Closed) continue;
    const size_t First = FEdges.size();
    TEdgeCursor C;
    for (C.Start(*FContour, Part.First, true); !C.Eof() && C.Cur <= Part.Last; C.Next()) {
      // The boundary test fails on an arc without sweep, and the walk meets
      // such an arc only if no edge before it holds the point: only the walk
      // itself fails the same way.
      if (IsArc(C.Edge) && C.Edge.Angle == 0) {
        FPlainOnly = true;
        FEdges.clear();
        return;
      }
      FEdges.push_back(C.Edge);
    }
    if (FEdges.size() == First) continue;
    FPartFirst.push_back(static_cast<int32_t>(First));
    FPartOf.resize(FEdges.size(), static_cast<int32_t>(FPartFirst.size()) - 1);
  }
  FPartFirst.push_back(static_cast<int32_t>(FEdges.size()));
  FWork = std::fabs(Context.Work);
  std::vector<double> Lo(FEdges.size()), Hi(FEdges.size());
  FXHi.resize(FEdges.size());
  FStartAngle.resize(FEdges.size());
  for (size_t I = 0; I < FEdges.size(); ++I) {
    const TEdge& E = FEdges[I];
    const TEdgeReach R = EdgeReach(E, ConnectTolerance, FWork);
    Lo[I] = R.Lo;
    Hi[I] = R.Hi;
    FXHi[I] = R.XHi;
    FStartAngle[I] = IsArc(E) ? AngleOf(E.Center, E.P1) : 0;
  }
  FIndex.Build(Lo, Hi);
  FIndexed = true;
}

const TEdge& TContourLocator::PrevKept(int32_t I, double Tol, double Y) const {
  const int32_t Part = FPartOf[static_cast<size_t>(I)];
  const int32_t First = FPartFirst[static_cast<size_t>(Part)];
  const int32_t End = FPartFirst[static_cast<size_t>(Part) + 1];
  for (int32_t J = I;;) {
    J = J == First ? End - 1 : J - 1;
    if (J == I || !AlongLine(FEdges[static_cast<size_t>(J)], Tol, Y))
      return FEdges[static_cast<size_t>(J)];
  }
}

TPointPlace TContourLocator::Locate(const TDPoint& P, const TTolerance& Context) {
  if (!FIndexed) {
    if (FPlainOnly || FContour->CommandCount() < IndexThreshold || FTests < PlainTests) {
      ++FTests;
      return PointInContour(*FContour, P, Context);
    }
    Prepare(Context);
    if (!FIndexed) return PointInContour(*FContour, P, Context);
  }
  // The index is built for finite lines and arcs' angular slack up to FWork.
  if (!std::isfinite(P.X) || !std::isfinite(P.Y) || !(std::fabs(Context.Work) <= FWork))
    return PointInContour(*FContour, P, Context);
  const double Tol = ConnectTolerance;
  const double Y = P.Y;
  int32_t Count = 0;
  bool OnBoundary = false;
  auto Counter = [&](const TDPoint& X) {
    if (X.X > P.X) ++Count;
  };
  // The walk's tests, edge by edge, on the edges the line can meet; their
  // order does not matter: a boundary hit wins, crossings only count.
  FIndex.Stab(Y, [&](int32_t I) {
    // Only crossings right of P count, and P is on no edge left of it.
    if (FXHi[static_cast<size_t>(I)] < P.X) return false;
    const TEdge& E = FEdges[static_cast<size_t>(I)];
    if (NearEdge(E, P, Tol) && PointOnEdge(E, P, Tol, Context)) {
      OnBoundary = true;
      return true;
    }
    if (AlongLine(E, Tol, Y)) return false;
    EdgeCrossings(
        E, [&]() -> const TEdge& { return PrevKept(I, Tol, Y); }, Tol, Y, Counter,
        &FStartAngle[static_cast<size_t>(I)]);
    return false;
  });
  if (OnBoundary) return TPointPlace::Boundary;
  return Count % 2 ? TPointPlace::Inside : TPointPlace::Outside;
}

}  // namespace geo
