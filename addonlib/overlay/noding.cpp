#include "addonlib/overlay/noding.h"

#include <algorithm>
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

}  // namespace

TNodedGraph NodePieces(const std::vector<TPiece>& Pieces, std::vector<TDPoint>& Points,
                       const TOverlayTolerance& Tol) {
  const int32_t N = static_cast<int32_t>(Pieces.size());
  std::vector<TSplit> Splits;
  {
    // The index is gone before the graph is built: its memory is the peak's.
    std::vector<geo::TDRect> Boxes(Pieces.size());
    for (int32_t I = 0; I < N; ++I) Boxes[I] = Widened(Pieces[I].Box, Pieces[I].Tol);
    TPackedRTree Tree;
    Tree.Build(Boxes);
    for (int32_t I = 0; I < N; ++I)
      Tree.Query(Boxes[I], [&](int32_t J) {
        if (J > I) IntersectPieces(Pieces, I, J, Tol, Splits);
      });
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
