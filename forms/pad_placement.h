// The trace pad's stored placement: "left top width height state", the
// state one of "normal", "minimized", "maximized".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace forms {

// A window's outer rectangle; Left + Width is the first column right of it.
struct TPadRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const TPadRect&, const TPadRect&) = default;
};

enum class TPadWindowState { Normal, Minimized, Maximized };

struct TPadPlacement {
  TPadRect Bounds;
  TPadWindowState State = TPadWindowState::Normal;
};

// Four integers, each after characters of code 32 or less, with an optional
// "-" right before a digit and ended by such a character or the end; the
// rest, trimmed, is the state word. Nothing when a number is missing or
// holds any other character.
std::optional<TPadPlacement> ParsePadPlacement(std::string_view Text);
std::string FormatPadPlacement(const TPadPlacement& Placement);

// Moves Bounds into WorkArea where an edge lies outside, left and top edges
// first.
TPadRect FitIntoWorkArea(TPadRect Bounds, const TPadRect& WorkArea);

// Where a pad of Width x Height first opens: inside Owner (the host's main
// window), at its top right below the menus and tool bars, over the map.
TPadRect FirstPadBounds(const TPadRect& Owner, int Width, int Height);

}  // namespace forms
