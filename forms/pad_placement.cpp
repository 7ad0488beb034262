#include "forms/pad_placement.h"

#include <algorithm>
#include <limits>

namespace forms {

namespace {

bool Blank(char C) {
  return static_cast<unsigned char>(C) <= 32;
}

bool Digit(char C) {
  return C >= '0' && C <= '9';
}

// Reads one integer at Pos; false when there is none or it is malformed.
bool ReadInt(std::string_view Text, std::size_t& Pos, int& Value) {
  while (Pos < Text.size() && Blank(Text[Pos])) ++Pos;
  const std::size_t Start = Pos;
  bool Negative = false;
  if (Pos + 1 < Text.size() && Text[Pos] == '-' && Digit(Text[Pos + 1])) {
    Negative = true;
    ++Pos;
  }
  long long V = 0;
  for (; Pos < Text.size() && !Blank(Text[Pos]); ++Pos) {
    if (!Digit(Text[Pos])) return false;
    V = V * 10 + (Text[Pos] - '0');
    if (V > std::numeric_limits<int>::max()) return false;
  }
  if (Pos == Start) return false;
  Value = static_cast<int>(Negative ? -V : V);
  return true;
}

std::string_view Trimmed(std::string_view S) {
  while (!S.empty() && Blank(S.front())) S.remove_prefix(1);
  while (!S.empty() && Blank(S.back())) S.remove_suffix(1);
  return S;
}

}  // namespace

std::optional<TPadPlacement> ParsePadPlacement(std::string_view Text) {
  int Values[4];
  std::size_t Pos = 0;
  for (int& V : Values)
    if (!ReadInt(Text, Pos, V)) return std::nullopt;
  TPadPlacement P;
  P.Bounds = {Values[0], Values[1], Values[2], Values[3]};
  const std::string_view State = Trimmed(Text.substr(Pos));
  if (State == "minimized")
    P.State = TPadWindowState::Minimized;
  else if (State == "maximized")
    P.State = TPadWindowState::Maximized;
  return P;
}

std::string FormatPadPlacement(const TPadPlacement& P) {
  const char* State = P.State == TPadWindowState::Minimized   ? "minimized"
                      : P.State == TPadWindowState::Maximized ? "maximized"
                                                              : "normal";
  return std::to_string(P.Bounds.Left) + ' ' + std::to_string(P.Bounds.Top) + ' ' +
         std::to_string(P.Bounds.Width) + ' ' + std::to_string(P.Bounds.Height) + ' ' + State;
}

TPadRect FirstPadBounds(const TPadRect& Owner, int Width, int Height) {
  // Clear of the window's frame and of its menu and tool bars.
  constexpr int Margin = 24, BarsHeight = 110;
  TPadRect R{Owner.Left + Owner.Width - Width - Margin, Owner.Top + BarsHeight, Width, Height};
  return FitIntoWorkArea(R, Owner);
}

TPadRect FitIntoWorkArea(TPadRect Bounds, const TPadRect& WorkArea) {
  const int AreaRight = WorkArea.Left + WorkArea.Width;
  const int AreaBottom = WorkArea.Top + WorkArea.Height;
  if (Bounds.Left < WorkArea.Left)
    Bounds.Left = WorkArea.Left;
  else if (Bounds.Left + Bounds.Width > AreaRight)
    Bounds.Left = std::max(WorkArea.Left, AreaRight - Bounds.Width);
  if (Bounds.Top < WorkArea.Top)
    Bounds.Top = WorkArea.Top;
  else if (Bounds.Top + Bounds.Height > AreaBottom)
    Bounds.Top = std::max(WorkArea.Top, AreaBottom - Bounds.Height);
  return Bounds;
}

}  // namespace forms
