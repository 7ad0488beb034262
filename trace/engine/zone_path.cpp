#include "trace/engine/zone_path.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/index/packed_rtree.h"
#include "addonlib/overlay/pieces.h"

namespace trace::zone {

namespace {
using LD = long double;
}  // namespace

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

long double PathArea2(const std::vector<TPathEdge>& Path) {
  LD Sum = 0;
  const TDPoint O = Path[0].A;
  for (const TPathEdge& E : Path) {
    const LD AX = E.A.X - O.X, AY = E.A.Y - O.Y, BX = E.B.X - O.X, BY = E.B.Y - O.Y;
    Sum += AX * BY - BX * AY;
    if (E.Convexity != 0) {
      // r^2 (t - sin t) with t = 4 atan c, r = (d / 2) (1 + c^2) / (2 |c|).
      const LD C = E.Convexity;
      const LD R = E.Length / 2 * (1 + C * C) / (2 * std::fabs(C));
      const LD T = 4 * std::atan(C);
      Sum += R * R * (T - std::sin(T));
    }
  }
  return Sum;
}

void Reverse(std::vector<TPathEdge>& Path) {
  std::reverse(Path.begin(), Path.end());
  for (TPathEdge& E : Path) {
    std::swap(E.A, E.B);
    E.Convexity = -E.Convexity;
    const double TA[2] = {-E.TB[0], -E.TB[1]};
    E.TB[0] = -E.TA[0];
    E.TB[1] = -E.TA[1];
    E.TA[0] = TA[0];
    E.TA[1] = TA[1];
  }
}

bool SimpleRing(const std::vector<TPathEdge>& Path, const geoalg::TOverlayTolerance& Tol) {
  namespace ov = geoalg::overlay;
  const size_t N = Path.size();
  if (N < 3 || PathArea2(Path) == 0) return false;
  std::vector<TDPoint> Points;
  std::vector<ov::TPiece> Pieces;
  Points.reserve(3 * N);
  Pieces.reserve(N + N / 2);
  for (const TPathEdge& E : Path) {
    const auto I = static_cast<int32_t>(Points.size());
    Points.push_back(E.A);
    Points.push_back(E.B);
    ov::AddEdgePieces(E.A, I, E.B, I + 1, E.Convexity, 0, 1, Tol, Points, Pieces);
  }
  const int32_t M = static_cast<int32_t>(Pieces.size());
  if (M < 3) return false;
  std::vector<geo::TDRect> Boxes(Pieces.size());
  std::vector<int32_t> Ids(Pieces.size());
  for (int32_t I = 0; I < M; ++I) {
    const geo::TDRect R = Pieces[I].Box();
    const double T = Pieces[I].Tol;
    Boxes[I] = {R.X1 - T, R.Y1 - T, R.X2 + T, R.Y2 + T};
    Ids[I] = I;
  }
  geo::index::TPackedRTree Tree;
  Tree.Build(Boxes, Ids);
  bool Simple = true;
  std::vector<ov::TSplit> Splits;
  Tree.SelfJoin([&](int32_t I, int32_t J) {
    if (!Simple) return;
    if (I > J) std::swap(I, J);
    const bool Next = J == I + 1 || (I == 0 && J == M - 1);
    Splits.clear();
    ov::IntersectPieces(Pieces, I, J, Tol, Splits);
    if (!Splits.empty()) {
      Simple = false;
      return;
    }
    if (Next) return;
    const ov::TPiece &P = Pieces[I], &Q = Pieces[J];
    if (ov::NearPoints(P.A, Q.A, Tol) || ov::NearPoints(P.A, Q.B, Tol) ||
        ov::NearPoints(P.B, Q.A, Tol) || ov::NearPoints(P.B, Q.B, Tol))
      Simple = false;
  });
  return Simple;
}

void ClosedNesting(const geo::TContour& Source, geo::TContourList& Parts, geo::TContourList& Closed,
                   std::vector<int32_t>& Depth, std::vector<bool>& Holds) {
  geo::SplitIntoParts(Source, Parts);
  for (auto& Part : Parts)
    if (geo::LastIsClose(*Part)) Closed.push_back(std::move(Part));
  const size_t N = Closed.size();
  Depth.assign(N, 0);
  Holds.assign(N, false);
  if (N < 2) return;
  geo::TLongintList Depths;
  geoalg::PartNesting(Closed, Depths);
  std::vector<geo::TDRect> Boxes(N);
  std::vector<int32_t> Boxed;
  for (size_t I = 0; I < N; ++I) {
    Depth[I] = Depths.Items(static_cast<int32_t>(I));
    if (geo::GetBounds(*Closed[I], Boxes[I])) Boxed.push_back(static_cast<int32_t>(I));
  }
  // Only a nested part can lie within another: an index of the boxes finds
  // the parts around each, so that many separate parcels never meet.
  geo::index::TPackedRTree Index;
  Index.Build(Boxes, Boxed);
  for (int32_t I : Boxed) {
    if (Depth[static_cast<size_t>(I)] == 0) continue;
    const geo::TDRect& B = Boxes[static_cast<size_t>(I)];
    Index.Query(B, [&](int32_t J) {
      const geo::TDRect& H = Boxes[static_cast<size_t>(J)];
      if (J != I && H.X1 <= B.X1 && H.Y1 <= B.Y1 && H.X2 >= B.X2 && H.Y2 >= B.Y2)
        Holds[static_cast<size_t>(J)] = true;
    });
  }
}

}  // namespace trace::zone
