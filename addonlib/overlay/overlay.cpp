#include "addonlib/overlay/overlay.h"

#include <algorithm>
#include <cmath>

#include "addonlib/overlay/labelling.h"
#include "addonlib/overlay/noding.h"
#include "addonlib/overlay/pieces.h"
#include "addonlib/overlay/resolution.h"
#include "addonlib/overlay/rings.h"
#include "core/exception.h"

namespace geoalg {

using overlay::TPiece;

class TOverlay::TImpl {
 public:
  explicit TImpl(const TOverlayTolerance& T) : Tol(T) {}

  TOverlayTolerance Tol;
  std::function<void()> Poll;
  std::vector<geo::TDPoint> Points;
  std::vector<TPiece> Pieces;

  int32_t AddPoint(const geo::TDPoint& P) {
    if (!std::isfinite(P.X) || !std::isfinite(P.Y))
      throw core::Exception("Overlay: a coordinate is not a finite number");
    Points.push_back(P);
    return static_cast<int32_t>(Points.size() - 1);
  }

  // The ring's edges from point I to point I + 1 (the last back to the
  // first), W added to the left of each as it runs.
  void AddRing(const std::vector<geo::TDPoint>& P, const std::vector<double>& Cv, int32_t Label,
               int8_t W) {
    const size_t N = P.size();
    if (N < 2) return;
    const int32_t First = AddPoint(P[0]);
    int32_t Prev = First;
    for (size_t K = 0; K < N; ++K) {
      const bool Last = K + 1 == N;
      const geo::TDPoint& To = Last ? P[0] : P[K + 1];
      const int32_t IT = Last ? First : AddPoint(To);
      const double C = W > 0 ? Cv[K] : -Cv[K];
      if (W > 0)
        overlay::AddEdgePieces(P[K], Prev, To, IT, C, static_cast<int8_t>(Label), 1, Tol, Points,
                               Pieces);
      else
        overlay::AddEdgePieces(To, IT, P[K], Prev, C, static_cast<int8_t>(Label), 1, Tol, Points,
                               Pieces);
      Prev = IT;
    }
  }
};

TOverlay::TOverlay(const TOverlayTolerance& Tolerance)
    : FImpl(std::make_unique<TImpl>(Tolerance)) {}

TOverlay::~TOverlay() = default;

void TOverlay::SetPoll(std::function<void()> Poll) {
  FImpl->Poll = std::move(Poll);
}

void TOverlay::Reserve(size_t Edges) {
  // An arc across an axis of its circle is cut there: a few in eight.
  FImpl->Pieces.reserve(Edges + Edges / 8);
  FImpl->Points.reserve(Edges + Edges / 8);
}

namespace {

// The rings of a contour as point and convexity lists; an open part is
// closed by a straight edge.
struct TRingData {
  std::vector<geo::TDPoint> Points;
  std::vector<double> Convexities;
};

std::vector<TRingData> RingsOf(const geo::TContour& C) {
  std::vector<TRingData> Rings;
  bool InPart = false;
  geo::TDPoint Start{0, 0}, Pen{0, 0};
  auto Begin = [&](const geo::TDPoint& P) {
    Rings.emplace_back();
    Rings.back().Points.push_back(P);
    Start = Pen = P;
    InPart = true;
  };
  // Zero-length edges are left out; the last edge returns to the first point.
  auto Finish = [&](double Convexity) {
    TRingData& R = Rings.back();
    if (Pen.X == Start.X && Pen.Y == Start.Y && R.Points.size() > 1)
      R.Points.pop_back();
    else
      R.Convexities.push_back(Convexity);
    if (R.Points.size() < 2) Rings.pop_back();
    InPart = false;
    Pen = Start;
  };
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand Cmd = C.GetCommand(I);
    if (Cmd.Kind == geo::ccMoveTo || (I == 0 && geo::IsToCommand(Cmd))) {
      if (InPart) Finish(0);
      Begin(Cmd.Point);
    } else if (geo::IsToCommand(Cmd)) {
      if (!InPart) Begin(Pen);
      if (Cmd.Point.X == Pen.X && Cmd.Point.Y == Pen.Y) continue;
      Rings.back().Points.push_back(Cmd.Point);
      Rings.back().Convexities.push_back(Cmd.Kind == geo::ccArcTo ? Cmd.Convexity : 0);
      Pen = Cmd.Point;
    } else if (InPart) {
      Finish(Cmd.Kind == geo::ccCloseArc ? Cmd.Convexity : 0);
    }
  }
  if (InPart) Finish(0);
  return Rings;
}

// Twice the signed area of the ring, counter-clockwise positive.
long double RingArea2(const TRingData& R) {
  long double Sum = 0;
  const geo::TDPoint O = R.Points[0];
  const size_t N = R.Points.size();
  for (size_t K = 0; K < N; ++K) {
    const geo::TDPoint& A = R.Points[K];
    const geo::TDPoint& B = R.Points[(K + 1) % N];
    const long double AX = A.X - O.X, AY = A.Y - O.Y, BX = B.X - O.X, BY = B.Y - O.Y;
    Sum += AX * BY - BX * AY;
    const long double C = R.Convexities[K];
    if (C != 0) {
      // Circular segment: r^2 (t - sin t) / 2 with t = 4 atan c.
      const long double D2 = (BX - AX) * (BX - AX) + (BY - AY) * (BY - AY);
      const long double Rad = std::sqrt(D2) / 2 * (1 + C * C) / (2 * std::fabs(C));
      const long double T = 4 * std::atan(C);
      Sum += Rad * Rad * (T - std::sin(T));
    }
  }
  return Sum;
}

}  // namespace

void TOverlay::AddContour(const geo::TContour& Contour, int32_t Label, TOrient Orient) {
  const std::vector<TRingData> Rings = RingsOf(Contour);
  // Two edges, or three straight ones, never cross each other.
  const bool Simple =
      Rings.size() == 1 && (Rings[0].Points.size() <= 2 ||
                            (Rings[0].Points.size() == 3 &&
                             std::all_of(Rings[0].Convexities.begin(), Rings[0].Convexities.end(),
                                         [](double C) { return C == 0; })));
  if (Orient == TOrient::ByNesting && !Rings.empty() && !Simple) {
    // How deep a ring lies is read from the contour's own overlay: rings may
    // touch and share sides, arcs bulge beyond their chords, and a ring that
    // crosses itself covers its lobes by the even-odd rule as the Boolean
    // operations read it, none of which a test point on a ring or the sign
    // of an area can tell. The result's outer parts run clockwise and its
    // holes counter-clockwise: each ring turned round winds +1 around what
    // the contour covers.
    TOverlay Own(FImpl->Tol);
    Own.AddContour(Contour, 0, TOrient::AsRuns);
    const geo::TContour Read = Own.Run(TOverlayOp::Union, TFillRule::EvenOdd, TFillRule::EvenOdd);
    for (const TRingData& R : RingsOf(Read)) FImpl->AddRing(R.Points, R.Convexities, Label, -1);
    return;
  }
  for (const TRingData& R : Rings) {
    int8_t W = 1;
    if (Orient != TOrient::AsRuns) W = RingArea2(R) >= 0 ? 1 : -1;
    FImpl->AddRing(R.Points, R.Convexities, Label, W);
  }
}

void TOverlay::AddRing(const geo::TDPoint* Points, const double* Convexities, int32_t Count,
                       int32_t Label, TOrient Orient) {
  TRingData R{std::vector<geo::TDPoint>(Points, Points + Count),
              std::vector<double>(Convexities, Convexities + Count)};
  const int8_t W = Orient == TOrient::AsRuns || RingArea2(R) >= 0 ? 1 : -1;
  FImpl->AddRing(R.Points, R.Convexities, Label, W);
}

geo::TContour TOverlay::Run(TOverlayOp Op, TFillRule Rule0, TFillRule Rule1) {
  const std::function<void()>& Poll = FImpl->Poll;
  const TOverlayTolerance& Tol = FImpl->Tol;
  const size_t Given = FImpl->Points.size();
  overlay::TNodedGraph N = overlay::NodePieces(FImpl->Pieces, FImpl->Points, Tol, Poll);
  if (Poll) Poll();
  // Noded once more, as the edges are drawn: between their vertices. A
  // vertex stands for every point within tolerance of it, and a cut point
  // is rounded, so an edge runs a little off its piece at each end; where
  // sides run a few tolerances apart (a ring and its copy moved by a hair),
  // two such edges cross although their pieces did not, and the windings
  // around the faces there disagree. The second pass cuts them where they
  // cross; the vertices, already apart, stay as they are. First only the
  // edges at vertices that joined points elsewhere are tried, against every
  // edge near them (what moves most); where the windings still disagree,
  // every edge: a finer noding of the same graph, at the same tolerance.
  // The edges as pieces of their own are made only when that comes: they
  // would be the largest arrays of the run.
  std::vector<TPiece> Edges;
  std::vector<geo::TDPoint> Vertices;
  auto TakeEdges = [&](const overlay::TNodedGraph& From) {
    Edges.reserve(From.Edges.size());
    for (const overlay::TNodedEdge& E : From.Edges) {
      TPiece C = FImpl->Pieces[E.Piece];
      C.IA = E.V1;
      C.IB = E.V2;
      C.A = From.Vertices[E.V1];
      C.B = From.Vertices[E.V2];
      C.Tol = Tol.At(C.Mag());
      Edges.push_back(C);
    }
    Vertices = From.Vertices;
  };
  auto Renode = [&](const std::vector<uint8_t>* Only) {
    std::vector<geo::TDPoint> Points = Vertices;
    overlay::TNodedGraph M = overlay::NodePieces(Edges, Points, Tol, Poll, Only);
    if (Poll) Poll();
    return overlay::LabelGraph(std::move(M), Edges, Tol);
  };
  overlay::TLabelledGraph G;
  const std::vector<TPiece>* Pieces = &Edges;
  const std::vector<uint8_t> Moved = std::move(N.Moved);
  bool Taken = false;
  try {
    if (Moved.empty()) {
      G = overlay::LabelGraph(std::move(N), FImpl->Pieces, Tol);
      Pieces = &FImpl->Pieces;
    } else {
      TakeEdges(N);
      Taken = true;
      N = {};
      G = Renode(&Moved);
    }
  } catch (const EOverlayTopology&) {
    if (!Taken) {
      // The first noding again (it gives the same graph), kept this time.
      FImpl->Points.resize(Given);
      TakeEdges(overlay::NodePieces(FImpl->Pieces, FImpl->Points, Tol, Poll));
    }
    G = Renode(nullptr);
    Pieces = &Edges;
  }
  if (Poll) Poll();
  return overlay::BuildResult(G, *Pieces, Op, Rule0, Rule1, Tol);
}

geo::TContour OverlayContours(const geo::TContour& A, const geo::TContour& B, TOverlayOp Op,
                              const TOverlayTolerance& Tolerance) {
  CheckResolution({&A, &B}, Tolerance);
  TOverlay O(Tolerance);
  O.AddContour(A, 0, TOverlay::TOrient::AsRuns);
  O.AddContour(B, 1, TOverlay::TOrient::AsRuns);
  return O.Run(Op, TFillRule::EvenOdd, TFillRule::EvenOdd);
}

void CombineContours(const geo::TContour& A, const geo::TContour& B, TOverlayOp Op,
                     geo::TContour& Result, const TOverlayTolerance& Tolerance) {
  Result = OverlayContours(A, B, Op, Tolerance);
}

}  // namespace geoalg
