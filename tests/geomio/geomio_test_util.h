// Helpers shared by the trace-geom tests.
#pragma once

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/input_error.h"
#include "geomio/wkt_reader.h"

namespace geomio::test {

inline geo::TContour Wkt(std::string_view Text) {
  geo::TContour C;
  ReadWkt(Text, C);
  return C;
}

inline std::vector<geo::TComplexCommand> Commands(const geo::TContour& C) {
  std::vector<geo::TComplexCommand> R;
  for (int32_t i = 0; i < C.CommandCount(); ++i) R.push_back(C.GetCommand(i));
  return R;
}

// The kinds of the commands as letters: M L A C c (ccCloseArc).
inline std::string Kinds(const geo::TContour& C) {
  std::string S;
  for (const geo::TComplexCommand& Cmd : Commands(C)) S += "MLACc"[Cmd.Kind];
  return S;
}

// The EInputError that Fn raises, or one with the text "<no error>".
template <class F>
EInputError InputErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const EInputError& E) {
    return E;
  }
  return EInputError("<no error>");
}

// Same commands: kinds, points within the point tolerance, convexities
// within Tol.
inline bool SameCommands(const geo::TContour& A, const geo::TContour& B, double Tol = 1e-9) {
  if (A.CommandCount() != B.CommandCount()) return false;
  for (int32_t i = 0; i < A.CommandCount(); ++i) {
    const geo::TComplexCommand X = A.GetCommand(i);
    const geo::TComplexCommand Y = B.GetCommand(i);
    if (X.Kind != Y.Kind || std::fabs(X.Convexity - Y.Convexity) > Tol) return false;
    if (geo::IsToCommand(X) && !geo::SamePoint(X.Point, Y.Point)) return false;
  }
  return true;
}

// A point on the circle around C at the angle in degrees.
inline geo::TDPoint OnCircle(const geo::TDPoint& C, double R, double Degrees) {
  const long double A = Degrees * 3.141592653589793238462643383279502884L / 180;
  return {static_cast<double>(C.X + R * std::cos(A)), static_cast<double>(C.Y + R * std::sin(A))};
}

}  // namespace geomio::test
