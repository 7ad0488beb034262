#include "addonlib/overlay/noding.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

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

// Joins every two points within tolerance. Points are filed in columns as
// wide as the largest tolerance, each sorted by y: two points that are to be
// joined lie in one column or in neighbouring ones, within that much in y.
// (A sweep by x alone went quadratic on the many cut points of one vertical
// line, all at one x.)
void JoinNearPoints(const std::vector<TDPoint>& Points, const std::vector<double>& Tols,
                    TUnionFind& Sets) {
  double Window = 0, Origin = INFINITY;
  for (double T : Tols) Window = std::max(Window, T);
  for (const TDPoint& P : Points) Origin = std::min(Origin, P.X);
  struct TFiled {
    double Column;  // floor((x - Origin) / Window), a whole number
    double Y;
    int32_t I;
  };
  std::vector<TFiled> Order(Points.size());
  for (size_t I = 0; I < Points.size(); ++I)
    Order[I] = {Window > 0 ? std::floor((Points[I].X - Origin) / Window) : Points[I].X, Points[I].Y,
                static_cast<int32_t>(I)};
  std::sort(Order.begin(), Order.end(), [](const TFiled& A, const TFiled& B) {
    return A.Column != B.Column ? A.Column < B.Column : A.Y < B.Y;
  });
  auto Try = [&](const TFiled& A, const TFiled& B) {
    if (NearPoints(Points[A.I], Tols[A.I], Points[B.I], Tols[B.I])) Sets.Join(A.I, B.I);
  };
  size_t PrevBegin = 0, PrevEnd = 0;  // the column before, if it neighbours this one
  for (size_t Begin = 0; Begin < Order.size();) {
    size_t End = Begin + 1;
    while (End < Order.size() && Order[End].Column == Order[Begin].Column) ++End;
    const bool Neighbour =
        PrevEnd > PrevBegin && Window > 0 && Order[PrevBegin].Column + 1 == Order[Begin].Column;
    size_t Low = PrevBegin;
    for (size_t K = Begin; K < End; ++K) {
      for (size_t L = K; L-- > Begin && Order[K].Y - Order[L].Y <= Window;) Try(Order[K], Order[L]);
      if (!Neighbour) continue;
      while (Low < PrevEnd && Order[Low].Y < Order[K].Y - Window) ++Low;
      for (size_t L = Low; L < PrevEnd && Order[L].Y <= Order[K].Y + Window; ++L)
        Try(Order[K], Order[L]);
    }
    PrevBegin = Begin;
    PrevEnd = End;
    Begin = End;
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
    // A crossing cuts the two pieces that made it, and also any other piece
    // it lies on: where two pieces run within tolerance of each other and a
    // third crosses both, its two crossings may land just over a tolerance
    // apart, and unless each cuts both, the shared stretch becomes two edges
    // that cross without a common vertex.
    const size_t Found = Splits.size();
    for (size_t K = 0; K < Found; ++K) {
      // Each crossing is filed for both its pieces: looked up once.
      if (Splits[K].Other < Splits[K].Piece) continue;
      const TSplit S = Splits[K];
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
    for (; K < SplitOrder.size() && SplitOrder[K].Piece == I; ++K)
      Emit(Vertex(FirstSplitPoint + SplitOrder[K].Split));
    Emit(Vertex(P.IB));
  }
  return G;
}

}  // namespace geoalg::overlay
