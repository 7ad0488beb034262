#include "geomio/number_text.h"

#include <charconv>
#include <cmath>

namespace geomio {

void AppendNumber(std::string& S, double Value) {
  if (Value == 0) Value = 0;  // no "-0"
  // Map coordinates read best in plain decimals ("500000", not "5e+05");
  // only far-out magnitudes take an exponent.
  const double Mag = std::fabs(Value);
  const bool Plain = Value == 0 || (Mag >= 1e-6 && Mag < 1e16);
  char Buf[64];
  const auto R = Plain ? std::to_chars(Buf, Buf + sizeof Buf, Value, std::chars_format::fixed)
                       : std::to_chars(Buf, Buf + sizeof Buf, Value);
  S.append(Buf, R.ptr);
}

std::string NumberText(double Value) {
  std::string S;
  AppendNumber(S, Value);
  return S;
}

void AppendPoint(std::string& S, const geo::TDPoint& P) {
  AppendNumber(S, P.X);
  S += ' ';
  AppendNumber(S, P.Y);
}

std::string PointText(const geo::TDPoint& P) {
  std::string S;
  AppendPoint(S, P);
  return S;
}

bool ParseNumber(std::string_view Text, double& Value) {
  if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
  if (Text.empty()) return false;
  const auto R = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return R.ec == std::errc() && R.ptr == Text.data() + Text.size() && std::isfinite(Value);
}

}  // namespace geomio
