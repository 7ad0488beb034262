#include "addonlib/geometry/measures.h"

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/rect.h"

namespace geo {

namespace {

// Area of the circular segment between an arc and its chord, signed like the
// sweep.
long double SegmentArea(const TEdge& E) {
  const long double H = static_cast<long double>(E.Angle) / 2;
  const long double R = E.Radius;
  return R * R * (H - std::sin(H) * std::cos(H));
}

}  // namespace

void ArcBounds(const TEdge& E, TDRect& R) {
  R = RectFromPoints(E.P1, E.P2);
  if (!IsArc(E)) return;
  const double A0 = AngleOf(E.Center, E.P1);
  static const TDPoint Dirs[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  for (int K = 0; K < 4; ++K)
    if (AngleInSweep(static_cast<double>(K * HalfPi), A0, E.Angle))
      ExtendRectByPoint(
          R, TDPoint{E.Center.X + E.Radius * Dirs[K].X, E.Center.Y + E.Radius * Dirs[K].Y});
}

bool GetBounds(const TContour& Contour, TDRect& R) {
  const TContourCmdRec* Cmds = Contour.CmdData();
  const int32_t N = Contour.CommandCount();
  bool Found = false;
  TDRect B{0, 0, 0, 0};
  for (int32_t I = 0; I < N; ++I) {
    if (!IsToKind(Cmds[I].Kind)) continue;
    if (Found) {
      ExtendRectByPoint(B, Cmds[I].Point);
    } else {
      B = TDRect{Cmds[I].Point.X, Cmds[I].Point.Y, Cmds[I].Point.X, Cmds[I].Point.Y};
      Found = true;
    }
  }
  if (!Found) return false;
  TEdgeCursor C;
  for (C.Start(Contour, 0, false); !C.Eof(); C.Next()) {
    if (!IsArc(C.Edge)) continue;
    TDRect A;
    ArcBounds(C.Edge, A);
    ExtendRect(B, A);
  }
  R = B;
  return true;
}

double EdgeArea(const TEdge& E) {
  long double T =
      (static_cast<long double>(E.P2.X) - E.P1.X) * (static_cast<long double>(E.P2.Y) + E.P1.Y) / 2;
  if (IsArc(E)) T -= SegmentArea(E);
  return static_cast<double>(T);
}

double Area(const TContour& Contour) {
  long double Sum = 0;
  TPartIter Part;
  for (Part.Start(Contour, 0); !Part.Eof(); Part.Next()) {
    if (!Part.Closed) continue;
    TEdgeCursor C;
    C.Start(Contour, Part.First, true);
    const long double Y0 = C.Eof() ? 0 : C.Edge.P1.Y;
    for (; !C.Eof() && C.Cur <= Part.Last; C.Next()) {
      const TEdge& E = C.Edge;
      // The terms of a closed ring sum to the same with any Y origin.
      Sum += (static_cast<long double>(E.P2.X) - E.P1.X) * ((E.P2.Y - Y0) + (E.P1.Y - Y0)) / 2;
      if (IsArc(E)) Sum -= SegmentArea(E);
    }
  }
  return static_cast<double>(Sum);
}

}  // namespace geo
