#include "addonlib/overlay/labelling.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "addonlib/overlay/ray_bands.h"
#include "core/exception.h"

namespace geoalg::overlay {

namespace {

using LD = long double;

// How edges leave a vertex: by the direction from the vertex to where each
// one is a short way out, Reach from the vertex, then by curvature. Curves
// that part within the vertex's tolerance meet there: what orders them is
// where they go beyond it, which for two arcs leaving along one tangent is
// their curvature, and for an arc leaving a few millionths of a radian off a
// sharper one that crosses it within the tolerance, the sharper one's turn.
// The chord to the point at arc length s turns from the tangent by half the
// sweep, s / 2R: one key weighs both (comparing tangents with a margin for
// ties chained whole vertices into one run ordered by curvature alone).
struct TDirection {
  double Angle;      // pseudo-angle of the chord out to Reach, in (-2, 2]
  double Curvature;  // signed: positive turning left
};

// A number that grows with the direction of (X, Y) as its angle does, from
// just above -2 (just past west, turning clockwise) through 0 (east) to 2
// (west): sorting by it sorts by angle, without an arc tangent.
double PseudoAngle(double X, double Y) {
  const double S = std::fabs(X) + std::fabs(Y);
  if (S == 0) return 0;
  const double P = Y / S;
  return X >= 0 ? P : (Y >= 0 ? 2 - P : -2 - P);
}

TDirection DirectionOf(const TLabelledGraph& G, const std::vector<TPiece>& Pieces, int32_t H,
                       const TOverlayTolerance& Tol) {
  const TNodedEdge& E = G.Edges[H >> 1];
  const TPiece& P = Pieces[E.Piece];
  const TDPoint& V = G.Vertices[G.From(H)];
  if (!P.IsArc()) {
    // The piece's own line, as the noding saw it, as the arcs' tangents are
    // their stored circles': an edge drawn between rounded cut points turns
    // by their rounding over its length, a few millionths of a radian on an
    // edge a few hundredths of a millimetre long, which is more than an arc
    // tangent to the line turns away from it within the tolerance.
    const double DX = P.B.X - P.A.X, DY = P.B.Y - P.A.Y;
    return H & 1 ? TDirection{PseudoAngle(-DX, -DY), 0} : TDirection{PseudoAngle(DX, DY), 0};
  }
  const double Reach = 2 * PointTol(V, Tol);
  const bool Left = P.Ccw != static_cast<bool>(H & 1);
  const double RX = V.X - P.C.X, RY = V.Y - P.C.Y;
  const double K = Left ? 1 / P.R : -1 / P.R;
  // The tangent (the radius turned a quarter), turned on by K Reach / 2:
  // cosine 1 and sine the angle, where that is small, to within its square.
  const double TX = Left ? -RY : RY, TY = Left ? RX : -RX;
  const double Turn = K * Reach / 2;
  const bool Small = std::fabs(Turn) < SmallTurn;
  const double C = Small ? 1 : std::cos(Turn), S = Small ? Turn : std::sin(Turn);
  return {PseudoAngle(C * TX - S * TY, C * TY + S * TX), K};
}

// Straight edges that leave a vertex within their rounding of each other
// (rays from one point, overlapping sides, an edge a few tolerances long)
// cannot be ordered by their lines: each line runs through its own end
// points, and the vertices at both ends of an edge lie up to a few
// tolerances off it. Two such lines from V to W1 and W2 run on the side of
// each other that W1 and W2 lie on, which only the chords tell, and the
// chords are what both ends of every edge see (ordered by their lines,
// three rays at one angle from a fan's centre, crossed by a side just over
// a tolerance from one of them, gave faces whose windings disagreed). Runs
// of such lines are ordered by their chords; arcs keep their tangents,
// which near a line they touch are right where its chord is not.
struct TAround {
  int32_t H;
  TDirection D;  // curvature 0 for a line
  double Noise;  // how far the chord may turn from the line; worked out when needed
};

// Pseudo-angle of (X, Y) in extended precision, as PseudoAngle.
long double PseudoAngleL(long double X, long double Y) {
  const long double S = std::fabs(X) + std::fabs(Y);
  if (S == 0) return 0;
  const long double P = Y / S;
  return X >= 0 ? P : (Y >= 0 ? 2 - P : -2 - P);
}

// The half-edges leaving V, counter-clockwise from just past west.
void SortAround(const TLabelledGraph& G, int32_t V, const TOverlayTolerance& Tol,
                std::vector<TAround>& Items) {
  std::sort(Items.begin(), Items.end(), [](const TAround& X, const TAround& Y) {
    if (X.D.Angle != Y.D.Angle) return X.D.Angle < Y.D.Angle;
    return X.D.Curvature < Y.D.Curvature;
  });
  const size_t N = Items.size();
  if (N < 2) return;
  const TDPoint& P = G.Vertices[V];
  // A chord of length L between points up to 2 T off the line turns by up
  // to 4 T / L from it (radians, more than the pseudo-angle's turn). Only
  // lines next to lines need it: most vertices have none.
  auto NoiseOf = [&](TAround& I) {
    if (I.Noise < 0) {
      const TDPoint& W = G.Vertices[G.To(I.H)];
      const double L = std::max(std::fabs(W.X - P.X), std::fabs(W.Y - P.Y));
      const double T = std::max(PointTol(P, Tol), PointTol(W, Tol));
      I.Noise = L > T ? std::min(4 * T / L, 4.0) : 4.0;
    }
    return I.Noise;
  };
  for (TAround& I : Items) I.Noise = -1;
  // Neighbours are in one run when both are lines whose directions lie
  // within their noises of each other (across the west too).
  auto Overlap = [&](size_t A, size_t B) {
    TAround &X = Items[A], &Y = Items[B];
    if (X.D.Curvature != 0 || Y.D.Curvature != 0) return false;
    double Gap = Y.D.Angle - X.D.Angle;
    if (Gap < 0) Gap += 4;
    return Gap <= NoiseOf(X) + NoiseOf(Y);
  };
  size_t Start = N;  // an item that does not continue a run
  bool AnyRun = false;
  for (size_t K = 0; K < N; ++K) {
    if (!Overlap((K + N - 1) % N, K)) {
      if (Start == N) Start = K;
    } else {
      AnyRun = true;
    }
  }
  if (!AnyRun) return;
  auto ChordOf = [&](const TAround& I) {
    const TDPoint& W = G.Vertices[G.To(I.H)];
    return PseudoAngleL(static_cast<long double>(W.X) - P.X, static_cast<long double>(W.Y) - P.Y);
  };
  using TChorded = std::pair<long double, TAround>;
  auto ByChord = [](const TChorded& X, const TChorded& Y) { return X.first < Y.first; };
  std::vector<TChorded> Run;
  if (Start == N) {
    // Lines all round, each within its noise of the next: the chords alone.
    for (const TAround& I : Items) Run.push_back({ChordOf(I), I});
    std::stable_sort(Run.begin(), Run.end(), ByChord);
    for (size_t K = 0; K < N; ++K) {
      Items[K] = Run[K].second;
      Items[K].D.Angle = static_cast<double>(Run[K].first);
    }
    return;
  }
  for (size_t K = 0; K < N;) {
    const size_t First = (Start + K) % N;
    size_t End = K + 1;
    while (End < N && Overlap((Start + End - 1) % N, (Start + End) % N)) ++End;
    if (End - K >= 2) {
      // Each chord unwrapped to within a half turn of its own line's angle.
      Run.clear();
      for (size_t M = K; M < End; ++M) {
        const TAround& I = Items[(Start + M) % N];
        const double Own = I.D.Angle + (Start + M >= N ? 4 : 0);
        long double C = ChordOf(I);
        while (C - Own > 2) C -= 4;
        while (C - Own <= -2) C += 4;
        Run.push_back({C, I});
      }
      std::stable_sort(Run.begin(), Run.end(), ByChord);
      for (size_t M = 0; M < Run.size(); ++M) {
        long double A = Run[M].first;
        while (A > 2) A -= 4;
        while (A <= -2) A += 4;
        TAround& I = Items[(First + M) % N];
        I = Run[M].second;
        I.D.Angle = static_cast<double>(A);
      }
    }
    K = End;
  }
}

// The face around a vertex that holds the direction east and a hair above
// it: left of the half-edge leaving at or below east nearest to it, or of
// the highest when none does.
int32_t FacingEast(const std::vector<TAround>& Items) {
  int32_t Face = -1, Highest = Items[0].H;
  double Best = -INFINITY, Top = -INFINITY;
  for (const TAround& I : Items) {
    if (I.D.Angle <= 0 && I.D.Angle >= Best) {
      Best = I.D.Angle;
      Face = I.H;
    }
    if (I.D.Angle >= Top) {
      Top = I.D.Angle;
      Highest = I.H;
    }
  }
  return Face >= 0 ? Face : Highest;
}

// Middle of the edge: of the chord, or of the (minor) arc.
TDPoint MiddleOf(const TLabelledGraph& G, const std::vector<TPiece>& Pieces, int32_t E) {
  const TNodedEdge& Ed = G.Edges[E];
  const TDPoint& A = G.Vertices[Ed.V1];
  const TDPoint& B = G.Vertices[Ed.V2];
  const TDPoint M{(A.X + B.X) / 2, (A.Y + B.Y) / 2};
  const TPiece& P = Pieces[Ed.Piece];
  if (!P.IsArc()) return M;
  const LD DX = static_cast<LD>(M.X) - P.C.X, DY = static_cast<LD>(M.Y) - P.C.Y;
  const LD D = std::sqrt(DX * DX + DY * DY);
  if (D == 0) return M;
  return {static_cast<double>(P.C.X + DX / D * P.R), static_cast<double>(P.C.Y + DY / D * P.R)};
}

// Sorts the half-edges leaving each vertex counter-clockwise, merges
// coincident edges and drops edges that separate nothing. Returns the
// leftmost (then lowest) vertex of every connected component, left to right.
std::vector<int32_t> OrderAndMerge(TLabelledGraph& G, const std::vector<TPiece>& Pieces,
                                   const TOverlayTolerance& Tol) {
  const size_t NV = G.Vertices.size();
  std::vector<int32_t> Start(NV + 1, 0);
  for (const TNodedEdge& E : G.Edges) {
    ++Start[E.V1 + 1];
    ++Start[E.V2 + 1];
  }
  for (size_t V = 0; V < NV; ++V) Start[V + 1] += Start[V];
  std::vector<int32_t> Out(Start[NV]);
  {
    std::vector<int32_t> Fill(Start.begin(), Start.end() - 1);
    for (size_t E = 0; E < G.Edges.size(); ++E) {
      Out[Fill[G.Edges[E].V1]++] = static_cast<int32_t>(2 * E);
      Out[Fill[G.Edges[E].V2]++] = static_cast<int32_t>(2 * E + 1);
    }
  }
  // Edges between the same two vertices that run within tolerance of each
  // other are one edge, whatever their tangents say: two circles tangent
  // near a vertex leave it at angles that differ far more than the curves.
  std::vector<uint8_t> Dead(G.Edges.size(), 0);
  for (size_t V = 0; V < NV; ++V)
    for (int32_t K = Start[V]; K < Start[V + 1]; ++K) {
      const int32_t X = Out[K];
      if (Dead[X >> 1] || G.To(X) < static_cast<int32_t>(V)) continue;
      for (int32_t L = K + 1; L < Start[V + 1]; ++L) {
        const int32_t Y = Out[L];
        const int32_t EX = X >> 1, EY = Y >> 1;
        if (Dead[EY] || G.To(Y) != G.To(X)) continue;
        if (!NearPoints(MiddleOf(G, Pieces, EX), MiddleOf(G, Pieces, EY), Tol)) continue;
        const bool Same = (X & 1) == (Y & 1);
        for (int Lb = 0; Lb < 2; ++Lb)
          G.Edges[EX].W[Lb] += Same ? G.Edges[EY].W[Lb] : -G.Edges[EY].W[Lb];
        Dead[EY] = 1;
      }
    }
  // Merged edges are dropped, and so are edges that separate nothing.
  size_t Dropped = 0;
  std::vector<int32_t> KeptAt(NV, 0);
  for (size_t E = 0; E < G.Edges.size(); ++E) {
    const TNodedEdge& Ed = G.Edges[E];
    if (!Dead[E] && Ed.W[0] == 0 && Ed.W[1] == 0) Dead[E] = 1;
    if (Dead[E]) {
      ++Dropped;
    } else {
      ++KeptAt[Ed.V1];
      ++KeptAt[Ed.V2];
    }
  }
  // The leftmost (then lowest) vertex of each component.
  TUnionFind Sets(NV);
  for (size_t E = 0; E < G.Edges.size(); ++E)
    if (!Dead[E]) Sets.Join(G.Edges[E].V1, G.Edges[E].V2);
  std::vector<int32_t> Leftmost(NV, -1);
  for (size_t V = 0; V < NV; ++V) {
    if (KeptAt[V] == 0) continue;
    int32_t& L = Leftmost[Sets.Find(static_cast<int32_t>(V))];
    const TDPoint& P = G.Vertices[V];
    if (L < 0 || P.X < G.Vertices[L].X || (P.X == G.Vertices[L].X && P.Y < G.Vertices[L].Y))
      L = static_cast<int32_t>(V);
  }
  std::vector<int32_t> Starts;
  for (size_t V = 0; V < NV; ++V)
    if (Leftmost[V] >= 0) Starts.push_back(Leftmost[V]);
  std::sort(Starts.begin(), Starts.end(), [&](int32_t A, int32_t B) {
    const TDPoint &P = G.Vertices[A], &Q = G.Vertices[B];
    return P.X < Q.X || (P.X == Q.X && P.Y < Q.Y);
  });
  // Two half-edges leave a vertex in the same cyclic order either way round,
  // and most vertices are where one ring simply goes on: only where three or
  // more are kept, and where a component's walk starts from the last one
  // counter-clockwise, is the order worked out. Directions are worked out
  // vertex by vertex: kept for every half-edge at once they would be the
  // largest array of the run.
  std::vector<uint8_t> MustOrder(NV, 0);
  for (size_t V = 0; V < NV; ++V) MustOrder[V] = KeptAt[V] > 2;
  for (int32_t V : Starts) MustOrder[V] = 1;
  std::vector<TAround> Dir;
  for (size_t V = 0; V < NV; ++V) {
    if (!MustOrder[V] || Start[V + 1] - Start[V] < 2) continue;
    Dir.clear();
    for (int32_t K = Start[V]; K < Start[V + 1]; ++K)
      Dir.push_back({Out[K], DirectionOf(G, Pieces, Out[K], Tol), -1});
    SortAround(G, static_cast<int32_t>(V), Tol, Dir);
    for (size_t K = 0; K < Dir.size(); ++K) Out[Start[V] + static_cast<int32_t>(K)] = Dir[K].H;
  }
  if (Dropped == 0) {
    G.Out = std::move(Out);
    G.OutStart = std::move(Start);
  } else {
    std::vector<int32_t> NewIndex(G.Edges.size(), -1);
    std::vector<TNodedEdge> Kept;
    Kept.reserve(G.Edges.size() - Dropped);
    for (size_t E = 0; E < G.Edges.size(); ++E)
      if (!Dead[E]) {
        NewIndex[E] = static_cast<int32_t>(Kept.size());
        Kept.push_back(G.Edges[E]);
      }
    G.OutStart.assign(NV + 1, 0);
    G.Out.clear();
    G.Out.reserve(2 * Kept.size());
    for (size_t V = 0; V < NV; ++V) {
      for (int32_t K = Start[V]; K < Start[V + 1]; ++K) {
        const int32_t E = NewIndex[Out[K] >> 1];
        if (E >= 0) G.Out.push_back(2 * E + (Out[K] & 1));
      }
      G.OutStart[V + 1] = static_cast<int32_t>(G.Out.size());
    }
    G.Edges = std::move(Kept);
  }
  G.PosInOut.assign(G.Out.size(), 0);
  for (size_t K = 0; K < G.Out.size(); ++K) G.PosInOut[G.Out[K]] = static_cast<int32_t>(K);
  return Starts;
}

// The half-edge whose left face holds the point just left of vertex V, -1
// when that is the unbounded face: the face that the ray from V to the left
// reaches first. The ray runs as if a hair above V (an edge counts from its
// lower end up to, not including, its upper one): where it meets a vertex W,
// the face is the one around W that holds the direction east and a hair
// above it.
int32_t FaceLeftOf(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
                   const TOverlayTolerance& Tol, const TRayBands& Bands, int32_t V) {
  const TDPoint& P = G.Vertices[V];
  const int32_t E = Bands.NearestLeft(P);
  if (E < 0) return -1;
  const TNodedEdge& Ed = G.Edges[E];
  const bool Up = G.Vertices[Ed.V2].Y > G.Vertices[Ed.V1].Y;
  const int32_t Low = Up ? Ed.V1 : Ed.V2;
  if (G.Vertices[Low].Y != P.Y) return Up ? 2 * E + 1 : 2 * E;
  std::vector<TAround> Items;
  for (int32_t K = G.OutStart[Low]; K < G.OutStart[Low + 1]; ++K)
    Items.push_back({G.Out[K], DirectionOf(G, Pieces, G.Out[K], Tol), -1});
  SortAround(G, Low, Tol, Items);
  return FacingEast(Items);
}

}  // namespace

TLabelledGraph LabelGraph(TNodedGraph&& N, const std::vector<TPiece>& Pieces,
                          const TOverlayTolerance& Tol) {
  TLabelledGraph G;
  G.Vertices = std::move(N.Vertices);
  G.Edges = std::move(N.Edges);
  // Components from left to right: the first edge that a ray from a
  // component's leftmost vertex meets to the left belongs to one labelled
  // before it.
  const std::vector<int32_t> Starts = OrderAndMerge(G, Pieces, Tol);

  constexpr int32_t Unset = INT32_MIN;
  G.Left.assign(2 * G.Edges.size(), {Unset, Unset});
  std::unique_ptr<TRayBands> Bands;
  std::vector<int32_t> All;
  if (Starts.size() > 1) {
    All.resize(G.Edges.size());
    for (size_t E = 0; E < All.size(); ++E) All[E] = static_cast<int32_t>(E);
    Bands = std::make_unique<TRayBands>(G, Pieces, All);
  }
  std::vector<int32_t> Queue;
  int32_t Disagree = -1;
  for (int32_t V : Starts) {
    // At the leftmost vertex every edge leaves rightwards or vertically: the
    // face left of the last one counter-clockwise is the component's outside.
    const int32_t H0 = G.Out[G.OutStart[V + 1] - 1];
    const int32_t Holder = Bands ? FaceLeftOf(G, Pieces, Tol, *Bands, V) : -1;
    G.Left[H0] = Holder >= 0 ? G.Left[Holder] : std::array<int32_t, 2>{0, 0};
    if (Holder >= 0) G.Holders.push_back({H0, Holder});
    Queue.assign(1, H0);
    while (!Queue.empty()) {
      const int32_t H = Queue.back();
      Queue.pop_back();
      const std::array<int32_t, 2> L = G.Left[H];
      const std::array<int32_t, 2> R{L[0] - G.Winding(H, 0), L[1] - G.Winding(H, 1)};
      auto Give = [&](int32_t To, const std::array<int32_t, 2>& W) {
        if (G.Left[To][0] == Unset) {
          G.Left[To] = W;
          Queue.push_back(To);
        } else if (G.Left[To] != W) {
          if (Disagree < 0) Disagree = G.From(To);
        }
      };
      Give(H ^ 1, R);
      Give(G.NextInFace(H), L);
    }
  }
  if (Disagree >= 0) {
    char Where[96];
    std::snprintf(Where, sizeof Where, " near %.17g %.17g", G.Vertices[Disagree].X,
                  G.Vertices[Disagree].Y);
    throw ETopology(
        "Overlay: the windings around a face disagree (edges cross without a common vertex)" +
        std::string(Where));
  }
  return G;
}

}  // namespace geoalg::overlay
