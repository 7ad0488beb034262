#include "oracle.h"

#include <geos_c.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace oracle {

namespace {

struct Circle {
  TDPoint C;
  double R;
  double Sweep;  // signed
};

Circle ArcCircle(const Edge& E) {
  const double DX = E.B.X - E.A.X, DY = E.B.Y - E.A.Y;
  const double D = std::hypot(DX, DY);
  const double Sweep = 4 * std::atan(E.Bulge);
  // Centre on the chord's bisector, offset along the left normal.
  const double H = D / 2 / std::tan(Sweep / 2);
  const double MX = (E.A.X + E.B.X) / 2, MY = (E.A.Y + E.B.Y) / 2;
  const double NX = -DY / D, NY = DX / D;
  Circle Result;
  Result.C = {MX + NX * H, MY + NY * H};
  Result.R = std::hypot(E.A.X - Result.C.X, E.A.Y - Result.C.Y);
  Result.Sweep = Sweep;
  return Result;
}

double SegDistance(const TDPoint& A, const TDPoint& B, const TDPoint& P) {
  const double DX = B.X - A.X, DY = B.Y - A.Y;
  const double L2 = DX * DX + DY * DY;
  double T = L2 > 0 ? ((P.X - A.X) * DX + (P.Y - A.Y) * DY) / L2 : 0;
  T = std::fmax(0, std::fmin(1, T));
  return std::hypot(A.X + T * DX - P.X, A.Y + T * DY - P.Y);
}

}  // namespace

std::vector<std::vector<Edge>> Rings(const TContour& C) {
  std::vector<std::vector<Edge>> Result;
  std::vector<Edge> Ring;
  TDPoint Start{0, 0}, Cur{0, 0};
  auto Flush = [&] {
    if (!Ring.empty()) {
      if (std::hypot(Cur.X - Start.X, Cur.Y - Start.Y) > 0) Ring.push_back({Cur, Start, 0});
      Result.push_back(Ring);
    }
    Ring.clear();
  };
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    switch (Cmd.Kind) {
      case geo::ccMoveTo:
        Flush();
        Start = Cur = Cmd.Point;
        break;
      case geo::ccLineTo:
      case geo::ccArcTo:
        if (std::hypot(Cmd.Point.X - Cur.X, Cmd.Point.Y - Cur.Y) > 0)
          Ring.push_back({Cur, Cmd.Point, Cmd.Kind == geo::ccArcTo ? Cmd.Convexity : 0});
        Cur = Cmd.Point;
        break;
      case geo::ccClose:
      case geo::ccCloseArc:
        if (std::hypot(Start.X - Cur.X, Start.Y - Cur.Y) > 0)
          Ring.push_back({Cur, Start, Cmd.Kind == geo::ccCloseArc ? Cmd.Convexity : 0});
        Cur = Start;
        Result.push_back(Ring);
        Ring.clear();
        break;
    }
  }
  Flush();
  return Result;
}

std::vector<Edge> Edges(const TContour& C) {
  std::vector<Edge> All;
  TDPoint S{0, 0}, Cur{0, 0};
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    if (Cmd.Kind == geo::ccMoveTo) {
      S = Cur = Cmd.Point;
    } else if (geo::IsToCommand(Cmd)) {
      All.push_back({Cur, Cmd.Point, Cmd.Kind == geo::ccArcTo ? Cmd.Convexity : 0});
      Cur = Cmd.Point;
    } else {
      All.push_back({Cur, S, Cmd.Kind == geo::ccCloseArc ? Cmd.Convexity : 0});
      Cur = S;
    }
  }
  return All;
}

double RingArea(const std::vector<Edge>& Ring) {
  // Shoelace over the vertices relative to the first one (keeps precision far
  // from the origin), plus the circular segment of every arc.
  if (Ring.empty()) return 0;
  const TDPoint O = Ring.front().A;
  long double Sum = 0;
  for (const Edge& E : Ring) {
    const long double AX = E.A.X - O.X, AY = E.A.Y - O.Y, BX = E.B.X - O.X, BY = E.B.Y - O.Y;
    Sum += (AX * BY - BX * AY) / 2;
    if (E.Bulge != 0) {
      const Circle K = ArcCircle(E);
      const long double T = K.Sweep;
      Sum += static_cast<long double>(K.R) * K.R / 2 * (T - std::sin(T));
    }
  }
  return static_cast<double>(Sum);
}

std::vector<TDPoint> Linearise(const std::vector<Edge>& Ring, double Step) {
  std::vector<TDPoint> Pts;
  for (const Edge& E : Ring) {
    Pts.push_back(E.A);
    if (E.Bulge == 0) continue;
    const Circle K = ArcCircle(E);
    const double A0 = std::atan2(E.A.Y - K.C.Y, E.A.X - K.C.X);
    const int N = std::max(2, static_cast<int>(std::ceil(std::fabs(K.Sweep) / Step)));
    for (int I = 1; I < N; ++I) {
      const double A = A0 + K.Sweep * I / N;
      Pts.push_back({K.C.X + K.R * std::cos(A), K.C.Y + K.R * std::sin(A)});
    }
  }
  return Pts;
}

bool InPolygon(const std::vector<TDPoint>& Poly, const TDPoint& P) {
  bool In = false;
  for (size_t I = 0, J = Poly.size() - 1; I < Poly.size(); J = I++) {
    const TDPoint& A = Poly[I];
    const TDPoint& B = Poly[J];
    if ((A.Y > P.Y) != (B.Y > P.Y) && P.X < (B.X - A.X) * (P.Y - A.Y) / (B.Y - A.Y) + A.X) In = !In;
  }
  return In;
}

TDPoint PointOnRing(const std::vector<Edge>& Ring) {
  const Edge* Longest = &Ring[0];
  for (const Edge& E : Ring)
    if (std::hypot(E.B.X - E.A.X, E.B.Y - E.A.Y) >
        std::hypot(Longest->B.X - Longest->A.X, Longest->B.Y - Longest->A.Y))
      Longest = &E;
  if (Longest->Bulge == 0)
    return {(Longest->A.X + Longest->B.X) / 2, (Longest->A.Y + Longest->B.Y) / 2};
  const Circle K = ArcCircle(*Longest);
  const double A = std::atan2(Longest->A.Y - K.C.Y, Longest->A.X - K.C.X) + K.Sweep / 2;
  return {K.C.X + K.R * std::cos(A), K.C.Y + K.R * std::sin(A)};
}

double EdgeDistance(const Edge& E, const TDPoint& P) {
  if (E.Bulge == 0) return SegDistance(E.A, E.B, P);
  const Circle K = ArcCircle(E);
  const double A0 = std::atan2(E.A.Y - K.C.Y, E.A.X - K.C.X);
  double Rel = std::atan2(P.Y - K.C.Y, P.X - K.C.X) - A0;
  // Angle of P from the arc's start, in the arc's own direction.
  if (K.Sweep < 0) Rel = -Rel;
  Rel = std::fmod(Rel, 2 * M_PI);
  if (Rel < 0) Rel += 2 * M_PI;
  if (Rel <= std::fabs(K.Sweep)) return std::fabs(std::hypot(P.X - K.C.X, P.Y - K.C.Y) - K.R);
  return std::fmin(std::hypot(P.X - E.A.X, P.Y - E.A.Y), std::hypot(P.X - E.B.X, P.Y - E.B.Y));
}

Membership::Membership(const TContour& C) {
  for (const auto& Ring : Rings(C)) {
    FPolys.push_back(Linearise(Ring));
    FEdges.insert(FEdges.end(), Ring.begin(), Ring.end());
  }
}

bool Membership::Inside(const TDPoint& P) const {
  bool In = false;
  for (const auto& Poly : FPolys)
    if (Poly.size() >= 3 && InPolygon(Poly, P)) In = !In;
  return In;
}

double Membership::Distance(const TDPoint& P) const {
  double D = INFINITY;
  for (const Edge& E : FEdges) D = std::fmin(D, EdgeDistance(E, P));
  return D;
}

// A ring that passes through one of its vertices again (a figure eight)
// cut into simple loops there.
std::vector<std::vector<Edge>> SimpleLoops(const std::vector<Edge>& Ring) {
  std::vector<std::vector<Edge>> Loops;
  std::vector<Edge> Path;
  for (const Edge& E : Ring) {
    Path.push_back(E);
    for (size_t K = 0; K + 1 < Path.size(); ++K)
      if (std::hypot(Path[K].A.X - E.B.X, Path[K].A.Y - E.B.Y) < 1e-9) {
        Loops.emplace_back(Path.begin() + K, Path.end());
        Path.erase(Path.begin() + K, Path.end());
        break;
      }
  }
  if (!Path.empty()) Loops.push_back(Path);
  return Loops;
}

double EnclosedArea(const TContour& C) {
  std::vector<std::vector<Edge>> All;
  for (const auto& Ring : Rings(C))
    for (auto& Loop : SimpleLoops(Ring)) All.push_back(std::move(Loop));
  std::vector<std::vector<TDPoint>> Polys;
  for (const auto& Ring : All) Polys.push_back(Linearise(Ring));
  double Total = 0;
  for (size_t I = 0; I < All.size(); ++I) {
    if (All[I].empty()) continue;
    // The middle of the ring's longest edge decides how deep it is nested.
    const TDPoint S = PointOnRing(All[I]);
    int Depth = 0;
    for (size_t J = 0; J < All.size(); ++J)
      if (J != I && Polys[J].size() >= 3 && InPolygon(Polys[J], S)) ++Depth;
    const double A = std::fabs(RingArea(All[I]));
    Total += Depth % 2 ? -A : A;
  }
  return Total;
}

double OrientedArea(const TContour& C) {
  double Signed = 0;
  for (const auto& Ring : Rings(C)) Signed -= RingArea(Ring);
  return Signed;
}

std::string ToWkt(const TContour& C) {
  std::ostringstream S;
  S.precision(17);
  S << "MULTIPOLYGON(";
  bool FirstRing = true;
  for (const auto& Ring : Rings(C)) {
    if (Ring.size() < 3) continue;
    if (!FirstRing) S << ",";
    FirstRing = false;
    S << "((";
    for (const Edge& E : Ring) S << E.A.X << " " << E.A.Y << ",";
    S << Ring.front().A.X << " " << Ring.front().A.Y << "))";
  }
  S << ")";
  return FirstRing ? "POLYGON EMPTY" : S.str();
}

namespace {

void GeosMessage(const char*, void*) {}

struct GeosContext {
  GEOSContextHandle_t H = GEOS_init_r();
  GeosContext() {
    GEOSContext_setNoticeMessageHandler_r(H, GeosMessage, nullptr);
    GEOSContext_setErrorMessageHandler_r(H, GeosMessage, nullptr);
  }
  ~GeosContext() { GEOS_finish_r(H); }
};

// Even-odd set of the rings: the symmetric difference of their polygons.
GEOSGeometry* EvenOdd(GEOSContextHandle_t H, const TContour& C) {
  GEOSGeometry* Acc = GEOSGeomFromWKT_r(H, "POLYGON EMPTY");
  for (const auto& Ring : Rings(C)) {
    if (Ring.size() < 3) continue;
    TContour One;
    One.AddMoveTo(Ring[0].A);
    for (size_t I = 1; I < Ring.size(); ++I) One.AddLineTo(Ring[I].A);
    One.AddClose();
    GEOSGeometry* G = GEOSGeomFromWKT_r(H, ToWkt(One).c_str());
    GEOSGeometry* Fixed = GEOSMakeValid_r(H, G);
    GEOSGeometry* Next = GEOSSymDifference_r(H, Acc, Fixed);
    GEOSGeom_destroy_r(H, G);
    GEOSGeom_destroy_r(H, Fixed);
    GEOSGeom_destroy_r(H, Acc);
    Acc = Next;
  }
  return Acc;
}

}  // namespace

double GeosPiecewiseBufferArea(const TContour& C, double Width, int QuadSegs) {
  GeosContext Ctx;
  std::vector<GEOSGeometry*> Pieces;
  auto LineOf = [&](const std::vector<TDPoint>& Pts) {
    GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(Ctx.H, Pts.size(), 2);
    for (size_t I = 0; I < Pts.size(); ++I) GEOSCoordSeq_setXY_r(Ctx.H, Seq, I, Pts[I].X, Pts[I].Y);
    return GEOSGeom_createLineString_r(Ctx.H, Seq);
  };
  // Every part's start point gets a disc, so a part without edges counts too.
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    if (Cmd.Kind != geo::ccMoveTo) continue;
    GEOSGeometry* Pt = GEOSGeom_createPointFromXY_r(Ctx.H, Cmd.Point.X, Cmd.Point.Y);
    Pieces.push_back(GEOSBuffer_r(Ctx.H, Pt, Width, QuadSegs));
    GEOSGeom_destroy_r(Ctx.H, Pt);
  }
  const std::vector<Edge> All = Edges(C);
  for (const Edge& E : All) {
    if (std::hypot(E.B.X - E.A.X, E.B.Y - E.A.Y) == 0) continue;
    std::vector<TDPoint> Pts = Linearise({E}, 0.001);
    Pts.push_back(E.B);
    GEOSGeometry* Line = LineOf(Pts);
    Pieces.push_back(GEOSBuffer_r(Ctx.H, Line, Width, QuadSegs));
    GEOSGeom_destroy_r(Ctx.H, Line);
  }
  const auto Closed = Rings(C);
  // Interiors of the closed rings only: a ring from an open part is skipped.
  {
    int32_t Part = -1;
    std::vector<bool> IsClosed;
    for (int32_t I = 0; I < C.CommandCount(); ++I) {
      const auto K = C.GetCommand(I).Kind;
      if (K == geo::ccMoveTo) {
        IsClosed.push_back(false);
        ++Part;
      } else if (geo::IsCloseKind(K) && Part >= 0) {
        IsClosed[Part] = true;
      }
    }
    for (size_t R = 0; R < Closed.size() && R < IsClosed.size(); ++R) {
      if (!IsClosed[R] || Closed[R].size() < 2) continue;
      std::vector<TDPoint> Pts = Linearise(Closed[R], 0.001);
      Pts.push_back(Pts.front());
      if (Pts.size() < 4) continue;
      GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(Ctx.H, Pts.size(), 2);
      for (size_t I = 0; I < Pts.size(); ++I)
        GEOSCoordSeq_setXY_r(Ctx.H, Seq, I, Pts[I].X, Pts[I].Y);
      GEOSGeometry* Poly =
          GEOSGeom_createPolygon_r(Ctx.H, GEOSGeom_createLinearRing_r(Ctx.H, Seq), nullptr, 0);
      Pieces.push_back(GEOSMakeValid_r(Ctx.H, Poly));
      GEOSGeom_destroy_r(Ctx.H, Poly);
    }
  }
  GEOSGeometry* Coll = GEOSGeom_createCollection_r(Ctx.H, GEOS_GEOMETRYCOLLECTION, Pieces.data(),
                                                   static_cast<unsigned>(Pieces.size()));
  GEOSGeometry* U = GEOSUnaryUnion_r(Ctx.H, Coll);
  double Area = -1;
  GEOSArea_r(Ctx.H, U, &Area);
  GEOSGeom_destroy_r(Ctx.H, U);
  GEOSGeom_destroy_r(Ctx.H, Coll);
  return Area;
}

double GeosArea(const TContour& A, const TContour& B, int Op) {
  GeosContext Ctx;
  GEOSGeometry* GA = EvenOdd(Ctx.H, A);
  GEOSGeometry* GB = EvenOdd(Ctx.H, B);
  GEOSGeometry* R = nullptr;
  switch (Op) {
    case 0:
      R = GEOSUnion_r(Ctx.H, GA, GB);
      break;
    case 1:
      R = GEOSIntersection_r(Ctx.H, GA, GB);
      break;
    case 2:
      R = GEOSDifference_r(Ctx.H, GA, GB);
      break;
    default:
      R = GEOSSymDifference_r(Ctx.H, GA, GB);
      break;
  }
  double Area = -1;
  if (!R || !GEOSArea_r(Ctx.H, R, &Area)) Area = -1;
  GEOSGeom_destroy_r(Ctx.H, GA);
  GEOSGeom_destroy_r(Ctx.H, GB);
  if (R) GEOSGeom_destroy_r(Ctx.H, R);
  return Area;
}

double GeosUnionArea(const std::vector<const TContour*>& Inputs) {
  GeosContext Ctx;
  std::vector<GEOSGeometry*> Parts;
  for (const TContour* C : Inputs) Parts.push_back(EvenOdd(Ctx.H, *C));
  GEOSGeometry* Coll = GEOSGeom_createCollection_r(Ctx.H, GEOS_GEOMETRYCOLLECTION, Parts.data(),
                                                   static_cast<unsigned>(Parts.size()));
  GEOSGeometry* U = GEOSUnaryUnion_r(Ctx.H, Coll);
  double Area = -1;
  if (!U || !GEOSArea_r(Ctx.H, U, &Area)) Area = -1;
  if (U) GEOSGeom_destroy_r(Ctx.H, U);
  GEOSGeom_destroy_r(Ctx.H, Coll);
  return Area;
}

std::string GeosInvalidReason(const TContour& C, double Step) {
  GeosContext Ctx;
  const std::vector<TDPoint> Pts = Linearise(Rings(C).at(0), Step);
  GEOSCoordSequence* Seq = GEOSCoordSeq_create_r(Ctx.H, static_cast<unsigned>(Pts.size() + 1), 2);
  for (size_t I = 0; I <= Pts.size(); ++I)
    GEOSCoordSeq_setXY_r(Ctx.H, Seq, static_cast<unsigned>(I), Pts[I % Pts.size()].X,
                         Pts[I % Pts.size()].Y);
  GEOSGeometry* Poly =
      GEOSGeom_createPolygon_r(Ctx.H, GEOSGeom_createLinearRing_r(Ctx.H, Seq), nullptr, 0);
  std::string Reason;
  if (GEOSisValid_r(Ctx.H, Poly) != 1) {
    char* Text = GEOSisValidReason_r(Ctx.H, Poly);
    Reason = Text ? Text : "invalid";
    GEOSFree_r(Ctx.H, Text);
  }
  GEOSGeom_destroy_r(Ctx.H, Poly);
  return Reason;
}

std::string NestingFault(const TContour& C) {
  const std::vector<std::vector<Edge>> All = Rings(C);
  std::vector<std::vector<TDPoint>> Polys;
  std::vector<double> Areas;
  std::vector<geo::TDRect> Boxes;
  for (const auto& Ring : All) {
    Polys.push_back(Linearise(Ring));
    Areas.push_back(RingArea(Ring));
    geo::TDRect B{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const TDPoint& P : Polys.back())
      B = {std::fmin(B.X1, P.X), std::fmin(B.Y1, P.Y), std::fmax(B.X2, P.X), std::fmax(B.Y2, P.Y)};
    Boxes.push_back(B);
  }
  // Outer rings run clockwise, holes counter-clockwise.
  int Written = -1;  // the outer ring last written
  for (size_t I = 0; I < All.size(); ++I) {
    if (Areas[I] < 0) {
      Written = static_cast<int>(I);
      continue;
    }
    const TDPoint P = PointOnRing(All[I]);
    int Holder = -1;
    for (size_t J = 0; J < All.size(); ++J) {
      const geo::TDRect& B = Boxes[J];
      if (Areas[J] >= 0 || P.X < B.X1 || P.X > B.X2 || P.Y < B.Y1 || P.Y > B.Y2) continue;
      if (InPolygon(Polys[J], P) && (Holder < 0 || Areas[J] > Areas[Holder]))
        Holder = static_cast<int>(J);
    }
    if (Holder != Written)
      return "ring " + std::to_string(I) + " at " + std::to_string(P.X) + " " +
             std::to_string(P.Y) + " is written after outer ring " + std::to_string(Written) +
             " but lies in outer ring " + std::to_string(Holder);
  }
  return {};
}

}  // namespace oracle
