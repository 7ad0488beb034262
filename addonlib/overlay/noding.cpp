#include "addonlib/overlay/noding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

#include "addonlib/overlay/packed_rtree.h"

namespace geoalg::overlay {

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

// Joins every two points within tolerance: a sweep by x over a window as
// wide as the largest tolerance.
void JoinNearPoints(const std::vector<TDPoint>& Points, const std::vector<double>& Tols,
                    TUnionFind& Sets) {
  double Window = 0;
  for (double T : Tols) Window = std::max(Window, T);
  std::vector<int32_t> Order(Points.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::sort(Order.begin(), Order.end(), [&](int32_t A, int32_t B) {
    return Points[A].X < Points[B].X || (Points[A].X == Points[B].X && Points[A].Y < Points[B].Y);
  });
  for (size_t K = 1; K < Order.size(); ++K) {
    const int32_t I = Order[K];
    const TDPoint& P = Points[I];
    for (size_t L = K; L-- > 0;) {
      const int32_t J = Order[L];
      const TDPoint& Q = Points[J];
      if (P.X - Q.X > Window) break;
      if (NearPoints(P, Tols[I], Q, Tols[J])) Sets.Join(I, J);
    }
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

}  // namespace

TNodedGraph NodePieces(const std::vector<TPiece>& Pieces, std::vector<TDPoint>& Points,
                       const TOverlayTolerance& Tol) {
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
      IntersectPieces(Pieces, std::min(I, J), std::max(I, J), Tol, Splits);
    };
    SmallTree.SelfJoin(Pair);
    LongTree.SelfJoin(Pair);
    for (int32_t I : Long) SmallTree.Query(Boxes[I], [&](int32_t J) { Pair(I, J); });
  }

  // Each split becomes a point of the store; splits of one piece in order
  // along its chord (monotone pieces never turn back on it).
  const int32_t FirstSplitPoint = static_cast<int32_t>(Points.size());
  std::vector<int32_t> SplitOrder(Splits.size());
  std::iota(SplitOrder.begin(), SplitOrder.end(), 0);
  auto Along = [&](const TSplit& S) {
    const TPiece& P = Pieces[S.Piece];
    return (static_cast<long double>(S.P.X) - P.A.X) * (static_cast<long double>(P.B.X) - P.A.X) +
           (static_cast<long double>(S.P.Y) - P.A.Y) * (static_cast<long double>(P.B.Y) - P.A.Y);
  };
  std::sort(SplitOrder.begin(), SplitOrder.end(), [&](int32_t A, int32_t B) {
    if (Splits[A].Piece != Splits[B].Piece) return Splits[A].Piece < Splits[B].Piece;
    return Along(Splits[A]) < Along(Splits[B]);
  });
  std::vector<double> Tols(Points.size());
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
  size_t K = 0;
  for (int32_t I = 0; I < N; ++I) {
    const TPiece& P = Pieces[I];
    int32_t From = Vertex(P.IA);
    auto Emit = [&](int32_t To) {
      if (To == From) return;
      TNodedEdge E{From, To, I, {0, 0}};
      E.W[P.Label] = P.W;
      G.Edges.push_back(E);
      From = To;
    };
    for (; K < SplitOrder.size() && Splits[SplitOrder[K]].Piece == I; ++K)
      Emit(Vertex(FirstSplitPoint + SplitOrder[K]));
    Emit(Vertex(P.IB));
  }
  return G;
}

}  // namespace geoalg::overlay
