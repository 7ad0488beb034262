// Numbers as text: the shortest form that reads back to the same double, so
// that written coordinates lose nothing.
#pragma once

#include <string>
#include <string_view>

#include "addonlib/geometry/primitives.h"

namespace geomio {

std::string NumberText(double Value);
// "x y", as WKT writes a point.
std::string PointText(const geo::TDPoint& P);
// Appends NumberText(Value) or PointText(P) to S without a temporary.
void AppendNumber(std::string& S, double Value);
void AppendPoint(std::string& S, const geo::TDPoint& P);
// Reads a whole string as a finite number; False when it is not one.
bool ParseNumber(std::string_view Text, double& Value);

}  // namespace geomio
