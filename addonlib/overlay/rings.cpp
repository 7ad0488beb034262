#include "addonlib/overlay/rings.h"

#include <algorithm>
#include <cmath>

#include "addonlib/overlay/short_arcs.h"
#include "core/exception.h"

namespace geoalg::overlay {

namespace {

using LD = long double;

// One edge of a result ring, with the result on its left.
struct TRingEdge {
  TDPoint A;  // start; the end is the next edge's start
  int32_t Half;
  bool Arc;
  bool Ccw;  // travel direction on the circle
  TDPoint C;
  double R;
  LD Sweep;  // signed, arcs only
};

struct TRing {
  std::vector<TRingEdge> Edges;
  LD Area = 0;  // counter-clockwise positive
  int32_t Parent = -1;
};

// The angle at C from A to B: one arc tangent of the cross and dot products
// (a piece never sweeps beyond a quarter turn).
LD SweepOf(const TDPoint& C, const TDPoint& A, const TDPoint& B) {
  const LD AX = static_cast<LD>(A.X) - C.X, AY = static_cast<LD>(A.Y) - C.Y;
  const LD BX = static_cast<LD>(B.X) - C.X, BY = static_cast<LD>(B.Y) - C.Y;
  return std::atan2(AX * BY - AY * BX, AX * BX + AY * BY);
}

class TRingBuilder {
 public:
  TRingBuilder(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
               const TOverlayTolerance& Tol)
      : FG(G), FPieces(Pieces), FTol(Tol) {}

  geo::TContour Build(TOverlayOp Op, TFillRule Rule0, TFillRule Rule1) {
    Select(Op, Rule0, Rule1);
    Walk();
    Nest();
    return Write();
  }

 private:
  void Select(TOverlayOp Op, TFillRule Rule0, TFillRule Rule1) {
    FSelected.assign(2 * FG.Edges.size(), 0);
    FSelectedOut.assign(FG.Vertices.size(), 0);
    // Windings are small numbers: what they cover is looked up.
    constexpr int32_t K = 8;
    bool Table[2 * K + 1][2 * K + 1];
    for (int32_t A = -K; A <= K; ++A)
      for (int32_t B = -K; B <= K; ++B) Table[A + K][B + K] = Covered({A, B}, Op, Rule0, Rule1);
    auto In = [&](const std::array<int32_t, 2>& W) {
      if (W[0] < -K || W[0] > K || W[1] < -K || W[1] > K) return Covered(W, Op, Rule0, Rule1);
      return Table[W[0] + K][W[1] + K];
    };
    for (size_t E = 0; E < FG.Edges.size(); ++E) {
      const bool InLeft = In(FG.Left[2 * E]);
      const bool InRight = In(FG.Left[2 * E + 1]);
      if (InLeft && InRight) FInterior.push_back(static_cast<int32_t>(E));
      if (InLeft == InRight) continue;
      const int32_t H = static_cast<int32_t>(InLeft ? 2 * E : 2 * E + 1);
      FSelected[H] = 1;
      ++FSelectedOut[FG.From(H)];
      FSelectedEdges.push_back(static_cast<int32_t>(E));
    }
  }

  // The selected half-edge that follows H: the first selected one leaving
  // To(H) clockwise from H's reverse, which keeps the result on the left and
  // turns as sharply as it can, so rings touching at a vertex stay apart.
  int32_t NextSelected(int32_t H) const {
    const int32_t T = H ^ 1;
    const int32_t V = FG.From(T);
    const int32_t First = FG.OutStart[V], Last = FG.OutStart[V + 1];
    int32_t P = FG.PosInOut[T];
    for (int32_t K = First; K < Last; ++K) {
      P = P > First ? P - 1 : Last - 1;
      if (FSelected[FG.Out[P]]) return FG.Out[P];
    }
    throw core::Exception("Overlay: a result edge ends at a vertex that no result edge leaves");
  }

  void Walk() {
    std::vector<uint8_t> Used(FSelected.size(), 0);
    std::vector<int32_t> Cycle, Stack;
    std::vector<int32_t> OnStack(FG.Vertices.size(), -1);
    for (int32_t E : FSelectedEdges) {
      const int32_t H0 = FSelected[2 * E] ? 2 * E : 2 * E + 1;
      if (Used[H0]) continue;
      Cycle.clear();
      for (int32_t H = H0; !Used[H]; H = NextSelected(H)) {
        Used[H] = 1;
        Cycle.push_back(H);
      }
      if (Cycle.empty() || FG.To(Cycle.back()) != FG.From(H0))
        throw core::Exception("Overlay: a result ring does not return to its start");
      // Cut the walk where it passes a vertex again: simple rings only.
      Stack.clear();
      for (int32_t H : Cycle) {
        const int32_t V = FG.From(H);
        if (OnStack[V] >= 0) Pop(Stack, OnStack, OnStack[V]);
        OnStack[V] = static_cast<int32_t>(Stack.size());
        Stack.push_back(H);
      }
      Pop(Stack, OnStack, 0);
    }
  }

  void Pop(std::vector<int32_t>& Stack, std::vector<int32_t>& OnStack, int32_t From) {
    TRing Ring;
    Ring.Edges.reserve(Stack.size() - static_cast<size_t>(From));
    for (size_t K = static_cast<size_t>(From); K < Stack.size(); ++K) {
      OnStack[FG.From(Stack[K])] = -1;
      Ring.Edges.push_back(MakeEdge(Stack[K]));
    }
    Stack.resize(static_cast<size_t>(From));
    if (Ring.Edges.empty()) return;
    Join(Ring);
    FinishRing(Ring);
    FRings.push_back(std::move(Ring));
  }

  TRingEdge MakeEdge(int32_t H) const {
    const TPiece& P = FPieces[FG.Edges[H >> 1].Piece];
    TRingEdge E{FG.Vertices[FG.From(H)], H, P.IsArc(), false, P.C, P.R, 0};
    if (E.Arc) {
      E.Ccw = P.Ccw != static_cast<bool>(H & 1);
      E.Sweep = SweepOf(P.C, E.A, FG.Vertices[FG.To(H)]);
    }
    return E;
  }

  // Joins neighbours on one line or one circle at vertices that only this
  // ring passes; an arc is not joined beyond a half circle.
  void Join(TRing& Ring) const {
    auto& Es = Ring.Edges;
    const size_t N = Es.size();
    if (N < 2) return;
    auto Joinable = [&](const TRingEdge& X, const TRingEdge& Y) {
      const int32_t V = FG.From(Y.Half);
      if (FSelectedOut[V] != 1) return false;
      const TDPoint& End = FG.Vertices[FG.To(Y.Half)];
      const double T = std::max(FTol.At(Magnitude(X.A)), FTol.At(Magnitude(End)));
      if (!X.Arc && !Y.Arc) {
        const LD DX = static_cast<LD>(End.X) - X.A.X, DY = static_cast<LD>(End.Y) - X.A.Y;
        const LD PX = static_cast<LD>(Y.A.X) - X.A.X, PY = static_cast<LD>(Y.A.Y) - X.A.Y;
        const LD Len = std::sqrt(DX * DX + DY * DY);
        return Len > 0 && std::fabs(DX * PY - DY * PX) <= T * Len && DX * PX + DY * PY > 0 &&
               PX * PX + PY * PY < Len * Len;
      }
      if (X.Arc != Y.Arc || X.Ccw != Y.Ccw) return false;
      return std::fabs(X.C.X - Y.C.X) <= T && std::fabs(X.C.Y - Y.C.Y) <= T &&
             std::fabs(X.R - Y.R) <= T && std::fabs(X.Sweep + Y.Sweep) <= geo::Pi;
    };
    // Start at an edge that cannot be joined to the one before it.
    size_t S = 0;
    while (S < N && Joinable(Es[(S + N - 1) % N], Es[S])) ++S;
    if (S == N) S = 0;
    std::rotate(Es.begin(), Es.begin() + static_cast<std::ptrdiff_t>(S), Es.end());
    size_t Kept = 1;
    for (size_t K = 1; K < N; ++K) {
      if (Joinable(Es[Kept - 1], Es[K]))
        Es[Kept - 1].Sweep += Es[K].Sweep;
      else
        Es[Kept++] = Es[K];
    }
    Es.resize(Kept);
  }

  void FinishRing(TRing& Ring) const {
    const auto& Es = Ring.Edges;
    const TDPoint O = Es[0].A;
    LD Sum = 0;
    for (size_t K = 0; K < Es.size(); ++K) {
      const TDPoint& A = Es[K].A;
      const TDPoint& B = Es[(K + 1) % Es.size()].A;
      const LD AX = A.X - O.X, AY = A.Y - O.Y, BX = B.X - O.X, BY = B.Y - O.Y;
      Sum += (AX * BY - BX * AY) / 2;
      if (Es[K].Arc)
        Sum += static_cast<LD>(Es[K].R) * Es[K].R / 2 * (Es[K].Sweep - std::sin(Es[K].Sweep));
    }
    Ring.Area = Sum;
  }

  // Every hole under the outer ring of the part of the result it bounds.
  // The faces of the graph that the result covers make up its parts: faces
  // on both sides of an edge inside the result are one part, and so are a
  // component's outside and the face that holds it. A bounded part has one
  // outer ring; the windings agreed around every face, so a part with none
  // or several (its holes are written last) would be a fault elsewhere.
  // (A ray from a hole's leftmost vertex read its parent off the nearest
  // ring to the left, but rings joined across a vertex, such as a round
  // hole's two halves, lose their leftmost vertex and the ray from another
  // one meets the hole itself or a sliver beside it.)
  void Nest() {
    bool AnyHole = false;
    for (const TRing& R : FRings) AnyHole = AnyHole || R.Area < 0;
    if (!AnyHole) return;
    const int32_t NH = static_cast<int32_t>(2 * FG.Edges.size());
    std::vector<int32_t> Face(static_cast<size_t>(NH), -1);
    int32_t NF = 0;
    for (int32_t H = 0; H < NH; ++H) {
      if (Face[H] >= 0) continue;
      for (int32_t X = H; Face[X] < 0; X = FG.NextInFace(X)) Face[X] = NF;
      ++NF;
    }
    TUnionFind Parts(static_cast<size_t>(NF));
    for (int32_t E : FInterior) Parts.Join(Face[2 * E], Face[2 * E + 1]);
    for (const auto& [Outside, Holder] : FG.Holders) Parts.Join(Face[Outside], Face[Holder]);
    constexpr int32_t None = -1, Several = -2;
    std::vector<int32_t> Outer(static_cast<size_t>(NF), None);
    for (size_t I = 0; I < FRings.size(); ++I) {
      if (FRings[I].Area < 0) continue;
      int32_t& O = Outer[Parts.Find(Face[FRings[I].Edges[0].Half])];
      O = O == None ? static_cast<int32_t>(I) : Several;
    }
    for (TRing& R : FRings)
      if (R.Area < 0) R.Parent = std::max(Outer[Parts.Find(Face[R.Edges[0].Half])], None);
  }

  geo::TContour Write() const {
    geo::TContour C;
    int32_t Commands = 0, Arcs = 0;
    for (const TRing& R : FRings) {
      Commands += static_cast<int32_t>(R.Edges.size()) + 1;
      for (const TRingEdge& E : R.Edges) Arcs += E.Arc;
    }
    C.Reserve(Commands, Arcs);
    std::vector<std::vector<int32_t>> Holes(FRings.size());
    std::vector<int32_t> Orphans;
    for (size_t I = 0; I < FRings.size(); ++I)
      if (FRings[I].Area < 0) {
        if (FRings[I].Parent >= 0)
          Holes[FRings[I].Parent].push_back(static_cast<int32_t>(I));
        else
          Orphans.push_back(static_cast<int32_t>(I));
      }
    for (size_t I = 0; I < FRings.size(); ++I) {
      if (FRings[I].Area < 0) continue;
      WriteRing(FRings[I], C);
      for (int32_t H : Holes[I]) WriteRing(FRings[H], C);
    }
    for (int32_t H : Orphans) WriteRing(FRings[H], C);
    return C;
  }

  // Written backwards: outer rings clockwise, holes counter-clockwise.
  static void WriteRing(const TRing& Ring, geo::TContour& C) {
    const auto& Es = Ring.Edges;
    const size_t N = Es.size();
    C.AddMoveTo(Es[0].A);
    for (size_t K = N; K-- > 0;) {
      const TRingEdge& E = Es[K];
      const double Cv = E.Arc ? static_cast<double>(-std::tan(E.Sweep / 4)) : 0;
      if (K > 0) {
        if (E.Arc)
          AddResultArc(C, Es[(K + 1) % N].A, E.A, Cv, false);
        else
          C.AddLineTo(E.A);
      } else if (E.Arc) {
        AddResultArc(C, Es[1 % N].A, E.A, Cv, true);
      } else {
        C.AddClose();
      }
    }
  }

  const TLabelledGraph& FG;
  const std::vector<TPiece>& FPieces;
  const TOverlayTolerance& FTol;
  std::vector<uint8_t> FSelected;
  std::vector<int32_t> FSelectedOut;
  std::vector<int32_t> FSelectedEdges;
  std::vector<int32_t> FInterior;  // edges with the result on both sides
  std::vector<TRing> FRings;
};

}  // namespace

geo::TContour BuildResult(const TLabelledGraph& G, const std::vector<TPiece>& Pieces, TOverlayOp Op,
                          TFillRule Rule0, TFillRule Rule1, const TOverlayTolerance& Tol) {
  return TRingBuilder(G, Pieces, Tol).Build(Op, Rule0, Rule1);
}

}  // namespace geoalg::overlay
