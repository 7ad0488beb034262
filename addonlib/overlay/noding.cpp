#include "addonlib/overlay/noding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>
#include <tuple>
#include <utility>

#include "addonlib/index/packed_rtree.h"

namespace geoalg::overlay {

using geo::index::TPackedRTree;

namespace {

geo::TDRect Widened(const geo::TDRect& B, double T) {
  return {B.X1 - T, B.Y1 - T, B.X2 + T, B.Y2 + T};
}

struct TUnionFind {
  std::vector<int32_t> Parent;
  explicit TUnionFind(size_t N) : Parent(N) { std::iota(Parent.begin(), Parent.end(), 0); }
  int32_t Find(int32_t I) {
    while (Parent[I] != I) I = Parent[I] = Parent[Parent[I]];
    return I;
  }
  // The smaller index stays the root, so an input vertex outranks a crossing.
  void Join(int32_t A, int32_t B) {
    A = Find(A);
    B = Find(B);
    if (A == B) return;
    if (A < B)
      Parent[B] = A;
    else
      Parent[A] = B;
  }
};

// Joins every two points within tolerance (Chebyshev, the larger of the
// two). Points are filed in square cells eight windows wide, by a hash of
// the cell; each point, in turn, is tried against the points already filed
// in the cells its window reaches (mostly its own cell alone), then filed.
// Every near pair is tried once, and the sets come out the same whatever the
// order, the smaller index staying the root. (A sort by columns cost as
// much as the rest of the join; a sweep by x alone went quadratic on the
// many cut points of one vertical line, all at one x.)
void JoinNearPoints(const std::vector<TDPoint>& Points, const std::vector<double>& Tols,
                    TUnionFind& Sets) {
  const size_t N = Points.size();
  if (N < 2) return;
  double Window = 0, MaxMag = 0, OX = INFINITY, OY = INFINITY;
  for (double T : Tols) Window = std::max(Window, T);
  for (const TDPoint& P : Points) {
    MaxMag = std::max(MaxMag, Magnitude(P));
    OX = std::min(OX, P.X);
    OY = std::min(OY, P.Y);
  }
  // Widened past the rounding of x - window, which is within half a unit in
  // the last place of the largest magnitude: a point within the window is
  // then never filed outside the cells looked at.
  const double Reach = 1.25 * Window + 4 * std::numeric_limits<double>::epsilon() * MaxMag;
  const double Side = Reach > 0 ? 8 * Reach : 1, Scale = 1 / Side;
  std::vector<int64_t> CX(N), CY(N);
  std::vector<int32_t> Next(N, -1);
  int Bits = 1;
  while ((size_t{1} << Bits) < 2 * N) ++Bits;
  const size_t Mask = (size_t{1} << Bits) - 1;
  std::vector<int32_t> Heads(Mask + 1, -1);
  // The slot of the cell: its head point, or an empty slot where it goes.
  auto Slot = [&](int64_t X, int64_t Y) {
    size_t H = static_cast<size_t>((static_cast<uint64_t>(X) * 0x9E3779B97F4A7C15u ^
                                    static_cast<uint64_t>(Y) * 0xC2B2AE3D27D4EB4Fu) >>
                                   (64 - Bits));
    while (Heads[H] >= 0 && (CX[Heads[H]] != X || CY[Heads[H]] != Y)) H = (H + 1) & Mask;
    return H;
  };
  // The cell of V along one axis, and the cells its window reaches: the one
  // before or after as well where V lies within the reach of a border. (The
  // reach is an eighth of a cell, so never further; scaling by a positive
  // factor keeps the order, so the window's ends fall where the points
  // within reach do.)
  // O is the least V, so truncation is the floor.
  auto Span = [&](double V, double O, int64_t& Lo, int64_t& Hi) {
    const int64_t Cell = static_cast<int64_t>((V - O) * Scale);
    const double C = static_cast<double>(Cell);
    Lo = Hi = Cell;
    if ((V - Reach - O) * Scale < C) --Lo;
    if ((V + Reach - O) * Scale >= C + 1) ++Hi;
    return Cell;
  };
  for (size_t I = 0; I < N; ++I) {
    const TDPoint& P = Points[I];
    int64_t X1, X2, Y1, Y2;
    CX[I] = Span(P.X, OX, X1, X2);
    CY[I] = Span(P.Y, OY, Y1, Y2);
    for (int64_t X = X1; X <= X2; ++X)
      for (int64_t Y = Y1; Y <= Y2; ++Y)
        for (int32_t J = Heads[Slot(X, Y)]; J >= 0; J = Next[J])
          if (NearPoints(P, Tols[I], Points[J], Tols[J])) Sets.Join(static_cast<int32_t>(I), J);
    const size_t H = Slot(CX[I], CY[I]);
    Next[I] = Heads[H];
    Heads[H] = static_cast<int32_t>(I);
  }
}

// Files the boxes whose longer side is many times the median's as Long, the
// others as Small.
void SplitByLength(const std::vector<geo::TDRect>& Boxes, std::vector<int32_t>& Small,
                   std::vector<int32_t>& Long) {
  auto Side = [](const geo::TDRect& B) { return std::max(B.X2 - B.X1, B.Y2 - B.Y1); };
  std::vector<double> Sides(Boxes.size());
  for (size_t I = 0; I < Boxes.size(); ++I) Sides[I] = Side(Boxes[I]);
  double Limit = INFINITY;
  if (!Sides.empty()) {
    const auto Mid = Sides.begin() + static_cast<std::ptrdiff_t>(Sides.size() / 2);
    std::nth_element(Sides.begin(), Mid, Sides.end());
    Limit = 32 * *Mid;
  }
  Small.reserve(Boxes.size());
  for (size_t I = 0; I < Boxes.size(); ++I)
    (Side(Boxes[I]) > Limit ? Long : Small).push_back(static_cast<int32_t>(I));
}

// The unit direction of the piece at P, a point on it.
TDPoint DirectionAt(const TPiece& S, const TDPoint& P) {
  double X = S.B.X - S.A.X, Y = S.B.Y - S.A.Y;
  if (S.IsArc()) {
    X = -(P.Y - S.C.Y);
    Y = P.X - S.C.X;
  }
  const double L = std::hypot(X, Y);
  return L > 0 ? TDPoint{X / L, Y / L} : TDPoint{0, 0};
}

// Which crossings may lie on a third piece. A piece that passes within
// tolerance of the crossing of two others either ends near it, or goes on
// and crosses or touches one of them there too, the one it meets at the
// steeper angle: at least half the angle T between the two, so within
// about 2 (t1 + t2) / sin(T / 2) of the crossing, t1 and t2 their
// tolerances. That meeting is a split of the same piece beside this one.
// Only crossings with such a neighbour, or a piece's end as near, are
// looked up among the other pieces (a shallow crossing reaches far and
// nearly always is): among the long spokes of two stars, whose boxes hold
// any point a thousand deep, nearly none.
std::vector<uint8_t> CrossingsToLookUp(const std::vector<TPiece>& Pieces,
                                       const std::vector<TSplit>& Splits) {
  const size_t N = Splits.size();
  std::vector<int32_t> Order(N);
  std::iota(Order.begin(), Order.end(), 0);
  auto Along = [&](int32_t K) {
    const TPiece& P = Pieces[Splits[K].Piece];
    return (Splits[K].P.X - P.A.X) * (P.B.X - P.A.X) + (Splits[K].P.Y - P.A.Y) * (P.B.Y - P.A.Y);
  };
  std::vector<double> Key(N);
  for (size_t K = 0; K < N; ++K) Key[K] = Along(static_cast<int32_t>(K));
  std::sort(Order.begin(), Order.end(), [&](int32_t A, int32_t B) {
    return Splits[A].Piece != Splits[B].Piece ? Splits[A].Piece < Splits[B].Piece : Key[A] < Key[B];
  });
  // Per split, how far its nearest neighbour on the same piece lies.
  std::vector<double> Gap(N, INFINITY);
  for (size_t R = 0; R + 1 < N; ++R) {
    const TSplit &A = Splits[Order[R]], &B = Splits[Order[R + 1]];
    if (A.Piece != B.Piece) continue;
    const double D = std::hypot(A.P.X - B.P.X, A.P.Y - B.P.Y);
    Gap[Order[R]] = std::min(Gap[Order[R]], D);
    Gap[Order[R + 1]] = std::min(Gap[Order[R + 1]], D);
  }
  // The pieces' ends by x: a piece that ends near the crossing may pass
  // within tolerance of it without meeting either piece.
  std::vector<TDPoint> Ends;
  Ends.reserve(2 * Pieces.size());
  for (const TPiece& P : Pieces) {
    Ends.push_back(P.A);
    Ends.push_back(P.B);
  }
  std::sort(Ends.begin(), Ends.end(), [](const TDPoint& A, const TDPoint& B) { return A.X < B.X; });
  auto EndNear = [&](const TDPoint& P, double Reach) {
    auto It = std::lower_bound(Ends.begin(), Ends.end(), P.X - Reach,
                               [](const TDPoint& E, double X) { return E.X < X; });
    for (; It != Ends.end() && It->X <= P.X + Reach; ++It)
      if (std::fabs(It->Y - P.Y) <= Reach) return true;
    return false;
  };
  std::vector<uint8_t> LookUp(N, 0);
  for (size_t K = 0; K < N; ++K) {
    const TSplit& S = Splits[K];
    if (S.Other < 0) continue;
    const TDPoint U = DirectionAt(Pieces[S.Piece], S.P);
    const TDPoint V = DirectionAt(Pieces[S.Other], S.P);
    // sin(T / 2) from the directions' cross and dot products, whichever way
    // each runs.
    const double Sin = std::fabs(U.X * V.Y - U.Y * V.X);
    const double Cos = std::fabs(U.X * V.X + U.Y * V.Y);
    const double HalfSin = Sin / std::sqrt(2 * (1 + Cos));  // sin T / (2 cos(T / 2))
    const double Reach =
        8 * (S.Tol + Pieces[S.Piece].Tol + Pieces[S.Other].Tol) / std::max(HalfSin, 1e-300);
    LookUp[K] = Sin == 0 || Gap[K] <= Reach || EndNear(S.P, Reach);
  }
  // A crossing is filed once for each of its pieces: the neighbour on
  // either piece counts for both entries.
  std::vector<int32_t> Twins;
  for (size_t K = 0; K < N; ++K)
    if (Splits[K].Other >= 0) Twins.push_back(static_cast<int32_t>(K));
  auto Tie = [&](int32_t K) {
    const TSplit& S = Splits[K];
    return std::make_tuple(std::min(S.Piece, S.Other), std::max(S.Piece, S.Other), S.P.X, S.P.Y);
  };
  std::sort(Twins.begin(), Twins.end(), [&](int32_t A, int32_t B) { return Tie(A) < Tie(B); });
  for (size_t R = 0; R + 1 < Twins.size(); ++R) {
    const int32_t A = Twins[R], B = Twins[R + 1];
    if (Tie(A) != Tie(B)) continue;
    LookUp[A] = LookUp[B] = LookUp[A] || LookUp[B];
  }
  return LookUp;
}

}  // namespace

TNodedGraph NodePieces(const std::vector<TPiece>& Pieces, std::vector<TDPoint>& Points,
                       const TOverlayTolerance& Tol, const std::function<void()>& Poll,
                       const std::vector<uint8_t>* Only) {
  uint32_t Met = 0;
  auto Tick = [&] {
    if ((++Met & 4095) == 0 && Poll) Poll();
  };
  const int32_t N = static_cast<int32_t>(Pieces.size());
  std::vector<TSplit> Splits;
  {
    // The indexes are gone before the graph is built: their memory is the
    // peak's.
    std::vector<geo::TDRect> Boxes(Pieces.size());
    for (int32_t I = 0; I < N; ++I) Boxes[I] = Widened(Pieces[I].Box(), Pieces[I].Tol);
    // Pieces far longer than most (the closing edge of a long comb, the
    // offset of a long straight stretch) get an index of their own: in one
    // index with the rest, the nodes holding them would be as wide as they
    // are, and every query anywhere along them would descend there.
    std::vector<int32_t> Small, Long;
    SplitByLength(Boxes, Small, Long);
    TPackedRTree SmallTree, LongTree;
    SmallTree.Build(Boxes, Small);
    LongTree.Build(Boxes, Long);
    auto Pair = [&](int32_t I, int32_t J) {
      Tick();
      IntersectPieces(Pieces, std::min(I, J), std::max(I, J), Tol, Splits);
    };
    if (Only) {
      // Each flagged piece against every other near it; two flagged ones once.
      for (int32_t I = 0; I < N; ++I) {
        if (!(*Only)[I]) continue;
        auto With = [&](int32_t J) {
          if (J != I && (!(*Only)[J] || J > I)) Pair(I, J);
        };
        SmallTree.Query(Boxes[I], With);
        LongTree.Query(Boxes[I], With);
      }
    } else {
      SmallTree.SelfJoin(Pair);
      LongTree.SelfJoin(Pair);
      for (int32_t I : Long) SmallTree.Query(Boxes[I], [&](int32_t J) { Pair(I, J); });
    }
    // A crossing cuts the two pieces that made it, and also any other piece
    // it lies on: where two pieces run within tolerance of each other and a
    // third crosses both, its two crossings may land just over a tolerance
    // apart, and unless each cuts both, the shared stretch becomes two edges
    // that cross without a common vertex.
    const size_t Found = Splits.size();
    const std::vector<uint8_t> LookUp = CrossingsToLookUp(Pieces, Splits);
    for (size_t K = 0; K < Found; ++K) {
      // Each crossing is filed for both its pieces: looked up once.
      if (Splits[K].Other < Splits[K].Piece || !LookUp[K]) continue;
      const TSplit S = Splits[K];
      Tick();
      auto Cut = [&](int32_t J) {
        const TPiece& P = Pieces[J];
        // The piece's own tolerance too: a piece that runs within it of
        // another, to an end at a larger magnitude, is cut there as one.
        if (J == S.Piece || J == S.Other || !OnPiece(P, S.P, std::max(S.Tol, P.Tol))) return;
        if (NearPoints(S.P, S.Tol, P.A, PointTol(P.A, Tol)) ||
            NearPoints(S.P, S.Tol, P.B, PointTol(P.B, Tol)))
          return;
        Splits.push_back({J, S.P, S.Tol});
      };
      const geo::TDRect Q = Widened({S.P.X, S.P.Y, S.P.X, S.P.Y}, S.Tol);
      SmallTree.Query(Q, Cut);
      LongTree.Query(Q, Cut);
    }
  }

  // Each split becomes a point of the store; splits of one piece in order
  // along its chord (monotone pieces never turn back on it).
  const int32_t FirstSplitPoint = static_cast<int32_t>(Points.size());
  // Keys worked out once: a comparator that read them through the index
  // would compute each along a chord a dozen times.
  struct TSplitKey {
    int32_t Piece, Split;
    long double Along;
  };
  std::vector<TSplitKey> SplitOrder;
  SplitOrder.reserve(Splits.size());
  for (size_t K = 0; K < Splits.size(); ++K) {
    const TSplit& S = Splits[K];
    const TPiece& P = Pieces[S.Piece];
    const long double DX = static_cast<long double>(P.B.X) - P.A.X;
    const long double DY = static_cast<long double>(P.B.Y) - P.A.Y;
    const long double Along = (static_cast<long double>(S.P.X) - P.A.X) * DX +
                              (static_cast<long double>(S.P.Y) - P.A.Y) * DY;
    // A point within tolerance of the piece but beyond an end (and not
    // near enough to be that end) does not cut it: the piece would run
    // past its end and back, and the two edges there would cross others.
    if (Along <= 0 || Along >= DX * DX + DY * DY) continue;
    SplitOrder.push_back({S.Piece, static_cast<int32_t>(K), Along});
  }
  std::sort(SplitOrder.begin(), SplitOrder.end(), [](const TSplitKey& A, const TSplitKey& B) {
    return A.Piece != B.Piece ? A.Piece < B.Piece : A.Along < B.Along;
  });
  std::vector<double> Tols(Points.size());
  Tols.reserve(Points.size() + Splits.size());
  Points.reserve(Points.size() + Splits.size());
  for (size_t I = 0; I < Points.size(); ++I) Tols[I] = PointTol(Points[I], Tol);
  for (const TSplit& S : Splits) {
    Points.push_back(S.P);
    Tols.push_back(S.Tol);
  }

  TUnionFind Sets(Points.size());
  JoinNearPoints(Points, Tols, Sets);

  TNodedGraph G;
  std::vector<int32_t> VertexOf(Points.size(), -1);
  auto Vertex = [&](int32_t Point) {
    const int32_t Root = Sets.Find(Point);
    if (VertexOf[Root] < 0) {
      VertexOf[Root] = static_cast<int32_t>(G.Vertices.size());
      G.Vertices.push_back(Points[Root]);
    }
    return VertexOf[Root];
  };
  G.Edges.reserve(Pieces.size() + Splits.size());
  std::vector<uint8_t> Moved;
  bool AnyMoved = false;
  // Vertices that stand for points elsewhere than themselves, by root.
  std::vector<uint8_t> Joined(Points.size(), 0);
  for (size_t I = 0; I < Points.size(); ++I) {
    const int32_t R = Sets.Find(static_cast<int32_t>(I));
    if (Points[I].X != Points[R].X || Points[I].Y != Points[R].Y) Joined[R] = 1;
  }
  auto Off = [&](int32_t Point) { return Joined[Sets.Find(Point)] != 0; };
  size_t K = 0;
  for (int32_t I = 0; I < N; ++I) {
    const TPiece& P = Pieces[I];
    int32_t FromPoint = P.IA, From = Vertex(P.IA);
    auto Emit = [&](int32_t ToPoint) {
      const int32_t To = Vertex(ToPoint);
      if (To == From) return;
      TNodedEdge E{From, To, I, {0, 0}};
      E.W[P.Label] = P.W;
      G.Edges.push_back(E);
      const bool M = Off(FromPoint) || Off(ToPoint);
      AnyMoved = AnyMoved || M;
      Moved.push_back(M);
      From = To;
      FromPoint = ToPoint;
    };
    for (; K < SplitOrder.size() && SplitOrder[K].Piece == I; ++K)
      Emit(FirstSplitPoint + SplitOrder[K].Split);
    Emit(P.IB);
  }
  if (AnyMoved) G.Moved = std::move(Moved);
  return G;
}

}  // namespace geoalg::overlay
