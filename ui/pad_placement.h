// The trace pad's stored placement: "left top width height state", the
// state one of "normal", "minimized", "maximized".
#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace ui {

struct TPadPlacement {
  QRect Bounds;  // outer window rectangle
  Qt::WindowState State = Qt::WindowNoState;
};

// Four integers, each after characters of code 32 or less, with an optional
// "-" right before a digit and ended by such a character or the end; the
// rest, trimmed, is the state word. Nothing when a number is missing or
// holds any other character.
std::optional<TPadPlacement> ParsePadPlacement(const QString& Text);
QString FormatPadPlacement(const TPadPlacement& Placement);

// Moves Bounds into WorkArea where an edge lies outside, left and top edges
// first.
QRect FitIntoWorkArea(QRect Bounds, const QRect& WorkArea);

}  // namespace ui
