#include "trace/engine/buffer_zone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/index/packed_rtree.h"
#include "addonlib/overlay/overlay.h"
#include "addonlib/overlay/pieces.h"
#include "core/exception.h"
#include "trace/engine/zone_limits.h"
#include "trace/engine/zone_path.h"

namespace trace {

namespace {

using geo::TDPoint;
using Orient = geoalg::TOverlay::TOrient;
using LD = long double;
using zone::PathArea2;
using zone::PathEdge;
using zone::Reverse;
using zone::SimpleRing;
using zone::TPathEdge;

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
        if (K > 0) Join(Turn[K], E.A);
        Add(Offset(E.A, E.TA, 1), E.Convexity);
      }
      FLast = Offset(E.B, E.TB, 1);
    }
    Join(geo::Pi, Path[N - 1].B);  // around the far end
    for (size_t K = N; K-- > 0;) {
      const TPathEdge& E = Path[K];
      if (K + 1 < N && InnerCorner(Path[K + 1], E, -Turn[K + 1], -1, X)) {
        Add(X, -E.Convexity);
      } else {
        if (K + 1 < N) Join(-Turn[K + 1], E.B);
        Add(Offset(E.B, E.TB, -1), -E.Convexity);
      }
      FLast = Offset(E.A, E.TA, -1);
    }
    Join(geo::Pi, Path[0].A);  // around the start; the last edge returns to the first point
  }

  // The outward side alone of a closed part that runs counter-clockwise
  // without touching itself: the inward side never reaches the zone's
  // outline, since the part's interior belongs to the zone. The joins go
  // round every vertex, the one where the part closes too.
  void BuildOutward(const std::vector<TPathEdge>& Path) {
    FPoints.clear();
    FConvexities.clear();
    const size_t N = Path.size();
    FPoints.reserve(2 * N);
    FConvexities.reserve(2 * N);
    TDPoint X;
    FLast = Offset(Path[N - 1].B, Path[N - 1].TB, 1);
    for (size_t K = 0; K < N; ++K) {
      const TPathEdge& In = Path[K == 0 ? N - 1 : K - 1];
      const TPathEdge& E = Path[K];
      const double Turn = std::atan2(In.TB[0] * E.TA[1] - In.TB[1] * E.TA[0],
                                     In.TB[0] * E.TA[0] + In.TB[1] * E.TA[1]);
      if (InnerCorner(In, E, Turn, 1, X)) {
        Add(X, E.Convexity);
      } else {
        Join(Turn, E.A);
        Add(Offset(E.A, E.TA, 1), E.Convexity);
      }
      FLast = Offset(E.B, E.TB, 1);
    }
  }

  // The outward side of Count edges of a closed part from edge First on
  // (cyclically), with the join at the first vertex and not at the last,
  // closed down the radius at the last vertex, back along the edges and up
  // the radius at the first: the curve winds once around every point of the
  // bands and join sectors of those edges, and every such curve of the part
  // together winds as the whole outward side does, less the part's interior.
  void BuildOutwardRun(const std::vector<TPathEdge>& Path, size_t First, size_t Count) {
    FPoints.clear();
    FConvexities.clear();
    const size_t N = Path.size();
    TDPoint X;
    Add(Path[First].A, 0);
    FLast = Offset(Path[(First + N - 1) % N].B, Path[(First + N - 1) % N].TB, 1);
    for (size_t I = 0; I < Count; ++I) {
      const TPathEdge& In = Path[(First + I + N - 1) % N];
      const TPathEdge& E = Path[(First + I) % N];
      const double Turn = std::atan2(In.TB[0] * E.TA[1] - In.TB[1] * E.TA[0],
                                     In.TB[0] * E.TA[0] + In.TB[1] * E.TA[1]);
      if (I > 0 && InnerCorner(In, E, Turn, 1, X)) {
        Add(X, E.Convexity);
      } else {
        // At the first vertex an inward turn needs no join: the curve comes
        // up the radius to the offset.
        if (I > 0 || Turn >= 0) Join(Turn, E.A);
        Add(Offset(E.A, E.TA, 1), E.Convexity);
      }
      FLast = Offset(E.B, E.TB, 1);
    }
    Add(FLast, 0);
    for (size_t I = Count; I-- > 0;) {
      const TPathEdge& E = Path[(First + I) % N];
      Add(E.B, -E.Convexity);
    }
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
  // Where the curve turns away from its side, the join around the vertex
  // would run back along both offsets within a hair of them, and a third
  // curve crossing there meets the two at points the noding cannot tell
  // apart. It goes through the vertex instead, square to both offsets: the
  // loop of the join and the two radii wound -1 around a sector of the disc
  // of the width around the vertex, which lies in the zone, and nothing
  // elsewhere.
  void Join(double Turn, const TDPoint& Vertex) {
    if (Turn < 0) {
      Add(FLast, 0);
      Add(Vertex, 0);
    } else {
      Add(FLast, std::tan(Turn / 4));
    }
  }

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

// One part of the source: its path, whether it is a closed part offset
// outward alone (one that never touches itself and neither holds nor lies
// in another part; then run counter-clockwise), the closed part whose
// interior the zone takes in (null for an open part), and whether that part
// is a hole of the contour, whose inside the zone leaves out.
struct TZonePart {
  std::vector<TPathEdge> Path;
  bool Simple = false;
  const geo::TContour* Interior = nullptr;
  bool Hole = false;
};

// The interior of a closed part as the second input: +1 around what an
// outer part covers, -1 around a hole, so that the holes of a polygon stay
// open (the nonzero rule) and islands in them fill again.
void AddInterior(geoalg::TOverlay& O, const TZonePart& Part) {
  if (!Part.Hole) {
    O.AddContour(*Part.Interior, 1, Orient::Counterclockwise);
    return;
  }
  std::vector<TPathEdge> Path = Part.Path;
  if (PathArea2(Path) > 0) Reverse(Path);
  std::vector<TDPoint> Points;
  std::vector<double> Convexities;
  Points.reserve(Path.size());
  Convexities.reserve(Path.size());
  for (const TPathEdge& E : Path) {
    Points.push_back(E.A);
    Convexities.push_back(E.Convexity);
  }
  O.AddRing(Points.data(), Convexities.data(), static_cast<int32_t>(Points.size()), 1,
            Orient::AsRuns);
}

// The zone in one pass of the engine over the curves of all parts, or, where
// that pass would meet many pairs of pieces for each piece (offsets that
// overlap hundreds deep: zigzags, tangles, stars of thin spikes), as the
// union of the zones of short runs of the parts' edges, united sixteen at a
// time so that each level keeps only the outlines. A run's curve winds once around
// every point within the width of the run (outward alone for a run of a
// simple closed part: its interior is united at the top), so the union is
// the zone itself.
class TZoneBuilder {
 public:
  struct EOverBudget {};

  TZoneBuilder(double Width, const geoalg::TOverlayTolerance& Tol, TZoneCancelPoll& Poll)
      : FTol(Tol), FPoll(Poll), FCurve(Width) {}

  geo::TContour OnePass(const std::vector<TZonePart>& Parts, int32_t Commands, bool Unlimited) {
    geoalg::TOverlay O(FTol);
    size_t Pieces = 0;
    std::vector<geo::TDRect> Boxes;
    for (const TZonePart& Part : Parts) {
      if (Part.Simple)
        FCurve.BuildOutward(Part.Path);
      else
        FCurve.Build(Part.Path);
      // Sized by the first curve, and five edges a command for the rest.
      const int64_t Rest = Commands - std::ssize(Part.Path);
      if (&Part == &Parts.front())
        O.Reserve(FCurve.Points().size() + 5 * std::max<int64_t>(0, Rest));
      Add(O, 0);
      Pieces += FCurve.Points().size();
      if (!Unlimited) AddBoxes(Boxes);
      if (Part.Interior && !Part.Simple) AddInterior(O, Part);
    }
    if (!Unlimited && Crowded(Boxes)) throw EOverBudget{};
    std::vector<geo::TDRect>().swap(Boxes);  // not held through the run
    // Noding polls every 4096 pairs of pieces met: a backstop where the
    // sample misjudged.
    const size_t Budget = Unlimited ? SIZE_MAX : 64 * Pieces / 4096 + 16;
    size_t Polls = 0;
    O.SetPoll([&] {
      FPoll();
      if (++Polls > Budget) throw EOverBudget{};
    });
    return O.Run(geoalg::TOverlayOp::Union, geoalg::TFillRule::Positive,
                 geoalg::TFillRule::NonZero);
  }

  geo::TContour ByRuns(const std::vector<TZonePart>& Parts) {
    std::vector<TRun> Runs;
    for (size_t P = 0; P < Parts.size(); ++P)
      for (size_t First = 0; First < Parts[P].Path.size(); First += RunLength)
        Runs.push_back({P, First, std::min(RunLength, Parts[P].Path.size() - First)});
    if (Runs.empty()) return {};
    return Unite(Parts, Runs, 0, Runs.size(), true);
  }

 private:
  static constexpr size_t RunLength = 16;
  static constexpr size_t FanOut = 16;
  struct TRun {
    size_t Part, First, Count;
  };

  // The boxes of the curve's edges, an arc's widened by its sagitta.
  void AddBoxes(std::vector<geo::TDRect>& Boxes) const {
    const auto& P = FCurve.Points();
    for (size_t K = 0; K < P.size(); ++K) {
      const TDPoint &A = P[K], &B = P[(K + 1) % P.size()];
      const double DX = B.X - A.X, DY = B.Y - A.Y;
      const double S = std::fabs(FCurve.Convexities()[K]) * std::sqrt(DX * DX + DY * DY) / 2;
      Boxes.push_back({std::min(A.X, B.X) - S, std::min(A.Y, B.Y) - S, std::max(A.X, B.X) + S,
                       std::max(A.Y, B.Y) + S});
    }
  }

  // Whether the edges' boxes overlap more than 35 others on average, judged
  // on a sample of a thousand. Past that the runs cost less (measured, boxes
  // met a box: a circle sampled every 1.9 cm with its coordinates rounded to
  // 0.1 mm 21 at 10^5 vertices and 28 at 10^6, where the one pass is as
  // fast; rounded to 1 mm 67, half the memory by runs; a tangled walk 42,
  // a quarter of the time; a star of thin spikes 149, a third; zigzags
  // 1 100, a fiftieth).
  static bool Crowded(const std::vector<geo::TDRect>& Boxes) {
    const size_t N = Boxes.size();
    if (N < 4096) return false;
    // Met among every Stride-th box (at most 8 192 of them), counted as many
    // times over: indexing them all cost a tenth of a plain walk's zone.
    const size_t Stride = std::max<size_t>(1, N / 8192);
    std::vector<int32_t> Ids;
    Ids.reserve(N / Stride + 1);
    for (size_t I = 0; I < N; I += Stride) Ids.push_back(static_cast<int32_t>(I));
    geo::index::TPackedRTree Tree;
    Tree.Build(Boxes, Ids);
    size_t Met = 0;
    constexpr size_t Samples = 1024;
    for (size_t K = 0; K < Samples; ++K)
      Tree.Query(Boxes[K * (N / Samples) + (N / Samples) / 2], [&](int32_t) { ++Met; });
    return Met * Stride > 35 * Samples;
  }

  void Add(geoalg::TOverlay& O, int32_t Label) {
    O.AddRing(FCurve.Points().data(), FCurve.Convexities().data(),
              static_cast<int32_t>(FCurve.Points().size()), Label, Orient::AsRuns);
  }

  // The zone of Runs[From, To): outer parts clockwise, holes
  // counter-clockwise (each winds -1 around what it covers). At the top the
  // interiors of the closed parts are united too.
  geo::TContour Unite(const std::vector<TZonePart>& Parts, const std::vector<TRun>& Runs,
                      size_t From, size_t To, bool Top) {
    FPoll();
    geoalg::TOverlay O(FTol);
    O.SetPoll([this] { FPoll(); });
    geoalg::TFillRule Rule = geoalg::TFillRule::NonZero;
    if (To - From == 1) {
      const TRun& R = Runs[From];
      const TZonePart& Part = Parts[R.Part];
      if (Part.Simple) {
        FCurve.BuildOutwardRun(Part.Path, R.First, R.Count);
      } else {
        FCurve.Build({Part.Path.begin() + static_cast<std::ptrdiff_t>(R.First),
                      Part.Path.begin() + static_cast<std::ptrdiff_t>(R.First + R.Count)});
      }
      Add(O, 0);
      Rule = geoalg::TFillRule::Positive;
    } else {
      // Every outline winds the same way round what it covers, so any number
      // of them unite in one pass; fewer levels note the outlines fewer times.
      const size_t Count = To - From, Fan = std::min<size_t>(FanOut, Count);
      for (size_t K = 0; K < Fan; ++K)
        O.AddContour(
            Unite(Parts, Runs, From + Count * K / Fan, From + Count * (K + 1) / Fan, false), 0,
            Orient::AsRuns);
    }
    if (Top)
      for (const TZonePart& Part : Parts)
        if (Part.Interior) AddInterior(O, Part);
    return O.Run(geoalg::TOverlayOp::Union, Rule, geoalg::TFillRule::NonZero);
  }

  geoalg::TOverlayTolerance FTol;
  TZoneCancelPoll& FPoll;
  TCurve FCurve;
};

enum class TZoneWay { Choose, OnePass, ByRuns };

void BuildZone(const geo::TContour& Source, geo::TContour& Dest, double Width,
               const TZoneCancel& Cancel, TZoneWay Way, double SplitFraction) {
  TRACE_ASSERT(&Source != &Dest);
  CheckZoneLimits(Source, Width);
  geoalg::TOverlayTolerance Tol;
  // Curves meet at points computed apart: a small fraction of the width
  // joins them, far below anything the zone shows.
  Tol.Split = Width * SplitFraction;
  TZoneCancelPoll Poll(Cancel);
  // The parts: a closed one that never touches itself, nor holds or lies in
  // another, turned counter-clockwise and offset outward alone, its interior
  // added as it is. Any other closed part is offset to both sides, and its
  // interior added as the contour's nesting reads it: a hole's inside is
  // not the polygon's, and keeps an outline of its own.
  std::vector<TZonePart> Parts;
  geo::TContourList Split, Closed;
  auto AddParts = [&](const geo::TContour& Contour, bool IsClosed, bool Hole, bool Alone) {
    geo::TContourEdgeIter It;
    for (bool More = It.Start(Contour); More; More = It.Next()) {
      if (It.IsFirstOfPart()) Parts.push_back({{}, false, IsClosed ? &Contour : nullptr, Hole});
      TZonePart& Part = Parts.back();
      Part.Path.push_back(PathEdge(It.Edge));
      if (!It.IsLastOfPart()) continue;
      Poll();
      if (Alone && It.IsClosedPart() && SimpleRing(Part.Path, Tol)) {
        if (PathArea2(Part.Path) < 0) Reverse(Part.Path);
        Part.Simple = true;
      }
    }
  };
  // Split into parts only to find the closed ones: an open line has none.
  bool AnyClose = false;
  for (int32_t I = 0; I < Source.CommandCount() && !AnyClose; ++I)
    AnyClose = geo::IsCloseKind(Source.CmdRec(I).Kind);
  if (!AnyClose) {
    AddParts(Source, false, false, false);
  } else {
    std::vector<int32_t> Depth;
    std::vector<bool> Holds;
    zone::ClosedNesting(Source, Split, Closed, Depth, Holds);
    // In the source's order, the closed parts moved out of Split.
    size_t K = 0;
    for (const auto& Part : Split) {
      if (Part) {
        AddParts(*Part, false, false, false);
      } else {
        AddParts(*Closed[K], true, Depth[K] % 2 != 0, Depth[K] == 0 && !Holds[K]);
        ++K;
      }
    }
  }
  TZoneBuilder Zone(Width, Tol, Poll);
  if (Way != TZoneWay::Choose) {
    Dest = Way == TZoneWay::OnePass ? Zone.OnePass(Parts, Source.CommandCount(), true)
                                    : Zone.ByRuns(Parts);
    return;
  }
  try {
    Dest = Zone.OnePass(Parts, Source.CommandCount(), false);
    return;
  } catch (const TZoneBuilder::EOverBudget&) {
  }
  try {
    Dest = Zone.ByRuns(Parts);
  } catch (const geoalg::EOverlayTopology&) {
    // The runs' outlines meet in more places than the curves do: where
    // they fail, the one pass may still go through.
    Dest = Zone.OnePass(Parts, Source.CommandCount(), true);
  }
}

}  // namespace

void BuildBufferZoneByOverlay(const geo::TContour& Source, geo::TContour& Dest, double Width,
                              const TZoneCancel& Cancel, double SplitFraction) {
  BuildZone(Source, Dest, Width, Cancel, TZoneWay::Choose, SplitFraction);
}

void BuildBufferZoneOnePass(const geo::TContour& Source, geo::TContour& Dest, double Width) {
  BuildZone(Source, Dest, Width, {}, TZoneWay::OnePass, ZoneSplitFraction);
}

void BuildBufferZoneByRuns(const geo::TContour& Source, geo::TContour& Dest, double Width) {
  BuildZone(Source, Dest, Width, {}, TZoneWay::ByRuns, ZoneSplitFraction);
}

void BuildBufferZone(const geo::TContour& Source, geo::TContour& Dest, double Width,
                     const TZoneCancel& Cancel) {
  TRACE_ASSERT(&Source != &Dest);
  geo::TContour Zone;
  // Parts that run within a few units in the last place of each other (a
  // ring given twice, 1e-7 apart far from the origin) can leave edges at a
  // vertex that the finest split cannot order. Joining points a hundred, then
  // ten thousand times further apart, still far below anything the zone
  // shows, makes them one, as snap rounding would. About one such doubled
  // part in a thousand needs it; every one seen so far is resolved within
  // these steps, and the piece-by-piece union, tried instead, was some
  // thirty times slower on them and failed on one in eight.
  constexpr double SplitFractions[] = {ZoneSplitFraction, ZoneSplitFraction * 1e2,
                                       ZoneSplitFraction * 1e4};
  for (size_t I = 0;; ++I) {
    try {
      BuildBufferZoneByOverlay(Source, Zone, Width, Cancel, SplitFractions[I]);
      break;
    } catch (const geoalg::EOverlayTopology&) {
      if (I + 1 == std::size(SplitFractions)) throw;
    }
  }
  Dest = std::move(Zone);
}

}  // namespace trace
