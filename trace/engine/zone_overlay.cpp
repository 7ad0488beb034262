#include "trace/engine/buffer_zone.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/overlay/overlay.h"
#include "core/exception.h"

namespace trace {

namespace {

using geo::TDPoint;
using Orient = geoalg::TOverlay::TOrient;
using LD = long double;

// One edge of a source part: its ends, convexity, and the unit tangents at
// either end (the chord turned back by half the sweep at the start, on by
// as much at the end).
struct TPathEdge {
  TDPoint A, B;
  double Convexity;
  double Length;  // of the chord
  double TA[2], TB[2];
};

TPathEdge PathEdge(const geo::TEdge& E) {
  TPathEdge P{E.P1, E.P2, geo::IsLine(E) ? 0.0 : E.Convexity, 0, {0, 0}, {0, 0}};
  const LD DX = static_cast<LD>(E.P2.X) - E.P1.X, DY = static_cast<LD>(E.P2.Y) - E.P1.Y;
  const LD L = std::sqrt(DX * DX + DY * DY);
  P.Length = static_cast<double>(L);
  const LD UX = DX / L, UY = DY / L;
  if (P.Convexity == 0) {  // a line: both tangents are its direction
    P.TA[0] = P.TB[0] = static_cast<double>(UX);
    P.TA[1] = P.TB[1] = static_cast<double>(UY);
    return P;
  }
  const LD Half = 2 * std::atan(static_cast<LD>(P.Convexity));  // half the sweep
  const LD C = std::cos(Half), S = std::sin(Half);
  P.TA[0] = static_cast<double>(UX * C + UY * S);
  P.TA[1] = static_cast<double>(-UX * S + UY * C);
  P.TB[0] = static_cast<double>(UX * C - UY * S);
  P.TB[1] = static_cast<double>(UX * S + UY * C);
  return P;
}

// The closed curve of one part, as points and the convexity of the edge that
// leaves each: the right side of every edge on the way out, the other side
// on the way back, every offset edge with the convexity of its source edge
// (same centre, same sweep).
class TCurve {
 public:
  explicit TCurve(double W) : FW(W) {}

  void Build(const std::vector<TPathEdge>& Path) {
    FPoints.clear();
    FConvexities.clear();
    const size_t N = Path.size();
    // An offset edge and a join each way per edge, and the two ends.
    FPoints.reserve(4 * N + 2);
    FConvexities.reserve(4 * N + 2);
    // Turn at each inner vertex, taken once so that the way back turns by
    // exactly its negative (a retraced step turns by pi both ways).
    std::vector<double> Turn(N, 0);
    for (size_t K = 1; K < N; ++K) {
      const double* T0 = Path[K - 1].TB;
      const double* T1 = Path[K].TA;
      Turn[K] = std::atan2(T0[0] * T1[1] - T0[1] * T1[0], T0[0] * T1[0] + T0[1] * T1[1]);
    }
    TDPoint X;
    for (size_t K = 0; K < N; ++K) {
      const TPathEdge& E = Path[K];
      if (K > 0 && InnerCorner(Path[K - 1], E, Turn[K], 1, X)) {
        Add(X, E.Convexity);
      } else {
        if (K > 0) Join(Turn[K]);
        Add(Offset(E.A, E.TA, 1), E.Convexity);
      }
      FLast = Offset(E.B, E.TB, 1);
    }
    Join(geo::Pi);  // around the far end
    for (size_t K = N; K-- > 0;) {
      const TPathEdge& E = Path[K];
      if (K + 1 < N && InnerCorner(Path[K + 1], E, -Turn[K + 1], -1, X)) {
        Add(X, -E.Convexity);
      } else {
        if (K + 1 < N) Join(-Turn[K + 1]);
        Add(Offset(E.B, E.TB, -1), -E.Convexity);
      }
      FLast = Offset(E.A, E.TA, -1);
    }
    Join(geo::Pi);  // around the start; the last edge returns to the first point
  }

  const std::vector<TDPoint>& Points() const { return FPoints; }
  const std::vector<double>& Convexities() const { return FConvexities; }

 private:
  // P moved by the width to the right of the tangent T (Side 1), or to the
  // left (Side -1): the curve runs counter-clockwise around each stretch.
  TDPoint Offset(const TDPoint& P, const double* T, double Side) const {
    return {P.X + Side * T[1] * FW, P.Y - Side * T[0] * FW};
  }

  void Add(const TDPoint& P, double Convexity) {
    FPoints.push_back(P);
    FConvexities.push_back(Convexity);
  }

  // From the end of the last offset edge, around the vertex it left, by the
  // angle Turn: the arc's convexity is tan(Turn / 4).
  void Join(double Turn) { Add(FLast, std::tan(Turn / 4)); }

  // Where the curve turns away from its side (Turn < 0) between two straight
  // edges, the offsets of both cross at X, at the width from both, before
  // the join arc: the loop X, arc, X winds -1 around a sliver within the
  // width of the edges. Cutting it out winds that sliver +1 more and changes
  // nothing elsewhere, so where the curve winds above 0 stays the same, with
  // an arc and a crossing fewer to node. Only where each offset keeps at
  // least half its length, so that the cuts at its two ends never overlap.
  // Side and the tangents as for Offset: In is the edge run first.
  bool InnerCorner(const TPathEdge& In, const TPathEdge& Out, double Turn, double Side,
                   TDPoint& X) const {
    if (Turn >= 0 || Turn < -3 || In.Convexity != 0 || Out.Convexity != 0) return false;
    const double* TI = Side > 0 ? In.TB : In.TA;
    const double* TO = Side > 0 ? Out.TA : Out.TB;
    const LD Cos = static_cast<LD>(TI[0]) * TO[0] + static_cast<LD>(TI[1]) * TO[1];
    // How far X lies back along either offset: W tan(|Turn| / 2).
    if (FW * std::tan(-Turn / 2) > std::min(In.Length, Out.Length) / 2) return false;
    const TDPoint& V = Side > 0 ? Out.A : Out.B;
    const LD NX = Side * (static_cast<LD>(TI[1]) + TO[1]);
    const LD NY = -Side * (static_cast<LD>(TI[0]) + TO[0]);
    X = {static_cast<double>(V.X + FW * NX / (1 + Cos)),
         static_cast<double>(V.Y + FW * NY / (1 + Cos))};
    return true;
  }

  double FW;
  TDPoint FLast{0, 0};
  std::vector<TDPoint> FPoints;
  std::vector<double> FConvexities;
};

}  // namespace

void BuildBufferZoneByOverlay(const geo::TContour& Source, geo::TContour& Dest, double Width,
                              double SplitFraction) {
  TRACE_ASSERT(&Source != &Dest);
  geo::TDRect B;
  if (geo::GetBounds(Source, B) && !(std::isfinite((B.X2 + Width) - (B.X1 - Width)) &&
                                     std::isfinite((B.Y2 + Width) - (B.Y1 - Width))))
    throw core::Exception("Buffer zone: the zone reaches beyond the range of numbers");
  geoalg::TOverlayTolerance Tol;
  // Curves meet at points computed apart: a small fraction of the width
  // joins them, far below anything the zone shows.
  Tol.Split = Width * SplitFraction;
  geoalg::TOverlay O(Tol);
  O.Reserve(static_cast<size_t>(Source.CommandCount()) * 4);
  TCurve Curve(Width);
  std::vector<TPathEdge> Path;
  Path.reserve(static_cast<size_t>(Source.CommandCount()));
  geo::TContourEdgeIter It;
  for (bool More = It.Start(Source); More; More = It.Next()) {
    if (It.IsFirstOfPart()) Path.clear();
    Path.push_back(PathEdge(It.Edge));
    if (It.IsLastOfPart()) {
      Curve.Build(Path);
      O.AddRing(Curve.Points().data(), Curve.Convexities().data(),
                static_cast<int32_t>(Curve.Points().size()), 0, Orient::AsRuns);
    }
  }
  // Split into parts only to find the closed ones: an open line has none.
  bool AnyClose = false;
  for (int32_t I = 0; I < Source.CommandCount() && !AnyClose; ++I)
    AnyClose = geo::IsCloseKind(Source.CmdRec(I).Kind);
  geo::TContourList Parts;
  if (AnyClose) geo::SplitIntoParts(Source, Parts);
  for (const auto& Part : Parts)
    if (geo::LastIsClose(*Part)) O.AddContour(*Part, 1, Orient::Counterclockwise);
  Dest = O.Run(geoalg::TOverlayOp::Union, geoalg::TFillRule::Positive, geoalg::TFillRule::NonZero);
}

void BuildBufferZone(const geo::TContour& Source, geo::TContour& Dest, double Width) {
  TRACE_ASSERT(&Source != &Dest);
  geo::TContour Zone;
  // Parts that run within a few units in the last place of each other (a
  // ring given twice, 1e-7 apart far from the origin) can leave edges at a
  // vertex that the finest split cannot order. Joining points a hundred, then
  // ten thousand times further apart, still far below anything the zone
  // shows, makes them one, as snap rounding would. About one such doubled
  // part in four hundred needs it; every one seen so far is resolved within
  // these steps, and the piece-by-piece union, tried instead, was fifty
  // times slower on them and failed on some.
  constexpr double SplitFractions[] = {ZoneSplitFraction, ZoneSplitFraction * 1e2,
                                       ZoneSplitFraction * 1e4};
  for (size_t I = 0;; ++I) {
    try {
      BuildBufferZoneByOverlay(Source, Zone, Width, SplitFractions[I]);
      break;
    } catch (const geoalg::EOverlayTopology&) {
      if (I + 1 == std::size(SplitFractions)) throw;
    }
  }
  Dest = std::move(Zone);
}

}  // namespace trace
