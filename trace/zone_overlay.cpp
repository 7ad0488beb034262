#include "trace/zone_overlay.h"

#include <cmath>

#include "addonlib/core/exception.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/overlay/overlay.h"

namespace trace {

namespace {

using geo::TDPoint;
using Orient = geoalg::TOverlay::TOrient;

class TZonePieces {
 public:
  TZonePieces(geoalg::TOverlay& O, double W) : FO(O), FW(W) {}

  // A full circle as two half circles that start across the direction
  // (DX, DY) (a unit vector), where the rectangles of that segment have their
  // corners.
  void Disc(const TDPoint& P, double DX, double DY) {
    const TDPoint Pts[2] = {{P.X - DY * FW, P.Y + DX * FW}, {P.X + DY * FW, P.Y - DX * FW}};
    const double Cv[2] = {1, 1};
    FO.AddRing(Pts, Cv, 2, 0, Orient::AsRuns);
  }

  void Rectangle(const TDPoint& A, const TDPoint& B, double DX, double DY) {
    const double NX = -DY * FW, NY = DX * FW;
    const TDPoint Pts[4] = {
        {A.X - NX, A.Y - NY}, {B.X - NX, B.Y - NY}, {B.X + NX, B.Y + NY}, {A.X + NX, A.Y + NY}};
    const double Cv[4] = {0, 0, 0, 0};
    FO.AddRing(Pts, Cv, 4, 0, Orient::AsRuns);
  }

  // The arc's piece: a sector (radius equal to the width), a piece closed
  // along the chord (radius below it) or an annular sector.
  void ArcPiece(const geo::TEdge& S) {
    const TDPoint C = S.Center;
    const double R = std::hypot(S.P1.X - C.X, S.P1.Y - C.Y);
    auto Along = [&](const TDPoint& P, double Rad) {
      const double K = Rad / std::hypot(P.X - C.X, P.Y - C.Y);
      return TDPoint{C.X + (P.X - C.X) * K, C.Y + (P.Y - C.Y) * K};
    };
    const TDPoint O1 = Along(S.P1, R + FW), O2 = Along(S.P2, R + FW);
    if (std::fabs(R - FW) < geo::ConnectTolerance) {
      const TDPoint Pts[3] = {C, O1, O2};
      const double Cv[3] = {0, S.Convexity, 0};
      FO.AddRing(Pts, Cv, 3, 0, Orient::Counterclockwise);
    } else if (R < FW) {
      const TDPoint Pts[4] = {S.P1, O1, O2, S.P2};
      const double Cv[4] = {0, S.Convexity, 0, 0};
      FO.AddRing(Pts, Cv, 4, 0, Orient::Counterclockwise);
    } else {
      const TDPoint Pts[4] = {Along(S.P1, R - FW), O1, O2, Along(S.P2, R - FW)};
      const double Cv[4] = {0, S.Convexity, 0, -S.Convexity};
      FO.AddRing(Pts, Cv, 4, 0, Orient::Counterclockwise);
    }
  }

 private:
  geoalg::TOverlay& FO;
  double FW;
};

// Unit direction of the segment at its start.
void StartDirection(const geo::TEdge& S, double& DX, double& DY) {
  if (geo::IsLine(S)) {
    DX = S.P2.X - S.P1.X;
    DY = S.P2.Y - S.P1.Y;
  } else {
    // Tangent: the radius turned a quarter in the arc's direction.
    const double RX = S.P1.X - S.Center.X, RY = S.P1.Y - S.Center.Y;
    DX = S.Convexity > 0 ? -RY : RY;
    DY = S.Convexity > 0 ? RX : -RX;
  }
  const double L = std::hypot(DX, DY);
  DX /= L;
  DY /= L;
}

}  // namespace

void BuildBufferZoneOverlay(const geo::TContour& Source, geo::TContour& Dest, double Width) {
  TRACE_ASSERT(&Source != &Dest);
  geoalg::TOverlayTolerance Tol;
  // Pieces meet at points computed apart: a billionth of the width joins
  // them, far below anything the zone shows.
  Tol.Split = Width * 1e-9;
  geoalg::TOverlay O(Tol);
  O.Reserve(static_cast<size_t>(Source.CommandCount()) * 10);
  TZonePieces Z(O, Width);
  geo::TContourEdgeIter It;
  for (bool More = It.Start(Source); More; More = It.Next()) {
    const geo::TEdge& S = It.Edge;
    double DX, DY;
    StartDirection(S, DX, DY);
    if (It.IsFirstOfPart()) Z.Disc(S.P1, DX, DY);
    if (geo::IsLine(S)) {
      if (!(It.IsLastOfPart() && It.IsClosedPart())) Z.Disc(S.P2, DX, DY);
      Z.Rectangle(S.P1, S.P2, DX, DY);
    } else {
      if (!(It.IsLastOfPart() && It.IsClosedPart())) Z.Disc(S.P2, DX, DY);
      Z.ArcPiece(S);
    }
  }
  geo::TContourList Parts;
  geo::SplitIntoParts(Source, Parts);
  for (const auto& Part : Parts)
    if (geo::LastIsClose(*Part)) O.AddContour(*Part, 1, Orient::Counterclockwise);
  geo::TContour Zone =
      O.Run(geoalg::TOverlayOp::Union, geoalg::TFillRule::Positive, geoalg::TFillRule::NonZero);
  Dest = std::move(Zone);
}

}  // namespace trace
