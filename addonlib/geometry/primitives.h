// Planar primitives: points and vectors, the tolerance rules of the kernel and
// the angle constants.
//
// Coordinates are map metres; angles are radians, counter-clockwise positive,
// x to the right and y up. Intermediates are computed in long double and
// rounded to double when stored.
#pragma once

#include <cmath>
#include <cstdint>

namespace geo {

// A point or a vector in map metres.
struct TDPoint {
  double X;
  double Y;
};

// Axis-parallel rectangle; normalised form has X1 <= X2 and Y1 <= Y2. Its
// operations are in rect.h.
struct TDRect {
  double X1;
  double Y1;
  double X2;
  double Y2;
};

// Two points are the same when both coordinate differences are strictly below it.
inline constexpr long double PointTolerance = 1E-6L;
// A segment whose absolute convexity is at most this is straight.
inline constexpr long double LineConvexityLimit = 1E-15L;
// Below it GetCenter2 switches to the formula that stays exact for flat arcs.
inline constexpr long double SmallConvexityLimit = 0.01L;
// Convexity comparisons and boundary tests; the factor of the working
// tolerance (tolerance.h).
extern const double ConnectTolerance;

inline constexpr long double HalfPi = 1.570796326794896619231321691639751442L;
inline constexpr long double Pi = 3.141592653589793238462643383279502884L;
inline constexpr long double TwoPi = 6.283185307179586476925286766559005768L;

inline TDPoint MakePoint(double X, double Y) {
  return TDPoint{X, Y};
}
inline TDPoint VecAdd(const TDPoint& A, const TDPoint& B) {
  return TDPoint{A.X + B.X, A.Y + B.Y};
}
inline TDPoint VecSub(const TDPoint& A, const TDPoint& B) {
  return TDPoint{A.X - B.X, A.Y - B.Y};
}
inline TDPoint VecScale(const TDPoint& V, double K) {
  return TDPoint{static_cast<double>(static_cast<long double>(K) * V.X),
                 static_cast<double>(static_cast<long double>(K) * V.Y)};
}
inline double Dot(const TDPoint& A, const TDPoint& B) {
  return static_cast<double>(static_cast<long double>(A.X) * B.X +
                             static_cast<long double>(A.Y) * B.Y);
}
double VecLength(const TDPoint& V);
// The zero vector stays the zero vector.
TDPoint VecNormalize(const TDPoint& V);
double Distance(const TDPoint& A, const TDPoint& B);
// Direction of B seen from A, in [0, 2*pi).
double AngleOf(const TDPoint& A, const TDPoint& B);

// True when abs(A.X - B.X) < 1E-6 and abs(A.Y - B.Y) < 1E-6.
inline bool SamePoint(const TDPoint& A, const TDPoint& B) {
  // Differences of 2E-6 or more in double are far from the tolerance whatever
  // the rounding: decided without extended arithmetic.
  if (std::fabs(A.X - B.X) >= 2E-6 || std::fabs(A.Y - B.Y) >= 2E-6) return false;
  return std::fabs(static_cast<long double>(A.X) - B.X) < PointTolerance &&
         std::fabs(static_cast<long double>(A.Y) - B.Y) < PointTolerance;
}

// True when abs(A.X - B.X) <= Tol and abs(A.Y - B.Y) <= Tol.
inline bool SamePointTol(const TDPoint& A, const TDPoint& B, double Tol) {
  return std::fabs(static_cast<long double>(A.X) - B.X) <= Tol &&
         std::fabs(static_cast<long double>(A.Y) - B.Y) <= Tol;
}

}  // namespace geo
