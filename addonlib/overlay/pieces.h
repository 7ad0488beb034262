// Monotone pieces: the engine's unit of geometry. An input edge becomes one
// straight piece, or its arc is cut at the circle's axis extremes so that
// every piece runs monotone in x and y within one quadrant of its circle.
// On such a piece, "within T of the circle and inside the piece's box widened
// by T" is the same as "within T of the arc", and a horizontal line meets it
// at most once.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/primitives.h"
#include "addonlib/overlay/overlay.h"

namespace geoalg::overlay {

using geo::TDPoint;
using geo::TDRect;

// Bounds on the rounding of the few expressions that the engine decides in
// double before any extended-precision step, each relative to the sum of the
// magnitudes it combines. A double rounds by at most 2^-53 (1.1e-16) of its
// value at each operation; the bounds allow the handful of operations of
// each expression with room to spare, and a test that fails by less than the
// bound goes on to the exact route instead of answering.
//
// A difference of two products, a*b - c*d (a few roundings of |a*b| + |c*d|),
// and a distance from a centre less the radius (of |dx| + |dy| + r).
inline constexpr double ProductRounding = 1e-15;
// A dot product divided by a length (square root of a sum of squares): the
// division and the root add their roundings to the product's.
inline constexpr double ProjectionRounding = 1e-14;
// An angle (in radians) below which cos t is taken as 1 and sin t as t: off
// by at most t^2/2 = 5e-9 and t^3/6, far below the tolerance the turn is
// made of.
inline constexpr double SmallTurn = 1e-4;

// Largest |x| or |y| of the point.
inline double Magnitude(const TDPoint& P) {
  const double X = P.X < 0 ? -P.X : P.X, Y = P.Y < 0 ? -P.Y : P.Y;
  return X > Y ? X : Y;
}

// Kept lean (a zone of 100 000 vertices has half a million): what follows
// from the end points (box, magnitude) is computed where it is needed.
struct TPiece {
  int32_t IA, IB;  // indices of the end points in the point store
  TDPoint A, B;    // the end points, A first
  TDPoint C;       // circle centre (arcs)
  double R;        // circle radius; 0 for a straight piece
  double Tol;      // tolerance at the piece's magnitude
  bool Ccw;        // arcs: turns left from A to B
  int8_t Label;    // 0 or 1
  int8_t W;        // winding added to the left side (+1 or -1)

  bool IsArc() const { return R > 0; }
  TDRect Box() const {
    return {A.X < B.X ? A.X : B.X, A.Y < B.Y ? A.Y : B.Y, A.X < B.X ? B.X : A.X,
            A.Y < B.Y ? B.Y : A.Y};
  }
  // Largest |x| or |y| of its end points.
  double Mag() const {
    const double MA = Magnitude(A), MB = Magnitude(B);
    return MA > MB ? MA : MB;
  }
};

// Appends the pieces of the edge P1-P2 (convexity as in arc.h) to Pieces,
// with its points in Points. P1 must already be Points[I1], P2 Points[I2].
// An arc that lies within the tolerance of its chord is straight.
void AddEdgePieces(const TDPoint& P1, int32_t I1, const TDPoint& P2, int32_t I2, double Convexity,
                   int8_t Label, int8_t W, const TOverlayTolerance& Tol,
                   std::vector<TDPoint>& Points, std::vector<TPiece>& Pieces);

// P is within T of the piece.
bool OnPiece(const TPiece& S, const TDPoint& P, double T);

// Where a piece is to be cut, and how far the point may be from where it
// belongs: an end of another piece is exact to its own magnitude; a crossing
// computed in extended precision is exact to its own magnitude and to a
// small share of the magnitude of the pieces it came from.
struct TSplit {
  int32_t Piece;
  TDPoint P;
  double Tol;
  int32_t Other = -1;  // a crossing of two pieces away from their ends: the other one
};

// The points where two pieces cross or touch, away from the ends of the
// piece that receives them: ends of one piece lying on the other, and proper
// crossings.
void IntersectPieces(const std::vector<TPiece>& Pieces, int32_t I, int32_t J,
                     const TOverlayTolerance& Tol, std::vector<TSplit>& Out);

// Tolerance of a point that is exact at its magnitude.
inline double PointTol(const TDPoint& P, const TOverlayTolerance& Tol) {
  return Tol.At(Magnitude(P));
}
// Chebyshev closeness within the larger of two points' tolerances.
inline bool NearPoints(const TDPoint& P, double TP, const TDPoint& Q, double TQ) {
  const double T = TP > TQ ? TP : TQ;
  return (P.X - Q.X <= T && Q.X - P.X <= T) && (P.Y - Q.Y <= T && Q.Y - P.Y <= T);
}
inline bool NearPoints(const TDPoint& P, const TDPoint& Q, const TOverlayTolerance& Tol) {
  return NearPoints(P, PointTol(P, Tol), Q, PointTol(Q, Tol));
}
// Share of the pieces' magnitude that a crossing computed from them may be off.
inline constexpr double CrossingError = 0x1p-56;

}  // namespace geoalg::overlay
