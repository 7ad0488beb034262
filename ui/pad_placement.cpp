#include "ui/pad_placement.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

bool Blank(QChar C) {
  return C.unicode() <= 32;
}

// Reads one integer at Pos; false when there is none or it is malformed.
bool ReadInt(const QString& Text, qsizetype& Pos, int& Value) {
  while (Pos < Text.size() && Blank(Text[Pos])) ++Pos;
  const qsizetype Start = Pos;
  bool Negative = false;
  if (Pos < Text.size() && Text[Pos] == '-' && Pos + 1 < Text.size() && Text[Pos + 1].isDigit()) {
    Negative = true;
    ++Pos;
  }
  long long V = 0;
  for (; Pos < Text.size() && !Blank(Text[Pos]); ++Pos) {
    const char16_t C = Text[Pos].unicode();
    if (C < '0' || C > '9') return false;
    V = V * 10 + (C - '0');
    if (V > std::numeric_limits<int>::max()) return false;
  }
  if (Pos == Start) return false;
  Value = static_cast<int>(Negative ? -V : V);
  return true;
}

}  // namespace

std::optional<TPadPlacement> ParsePadPlacement(const QString& Text) {
  int Values[4];
  qsizetype Pos = 0;
  for (int& V : Values)
    if (!ReadInt(Text, Pos, V)) return std::nullopt;
  TPadPlacement P;
  P.Bounds = QRect(Values[0], Values[1], Values[2], Values[3]);
  const QString State = Text.mid(Pos).trimmed();
  if (State == QLatin1String("minimized"))
    P.State = Qt::WindowMinimized;
  else if (State == QLatin1String("maximized"))
    P.State = Qt::WindowMaximized;
  return P;
}

QString FormatPadPlacement(const TPadPlacement& P) {
  const char* State = P.State == Qt::WindowMinimized   ? "minimized"
                      : P.State == Qt::WindowMaximized ? "maximized"
                                                       : "normal";
  return QStringLiteral("%1 %2 %3 %4 %5")
      .arg(P.Bounds.left())
      .arg(P.Bounds.top())
      .arg(P.Bounds.width())
      .arg(P.Bounds.height())
      .arg(QLatin1String(State));
}

QRect FitIntoWorkArea(QRect Bounds, const QRect& WorkArea) {
  // QRect's right and bottom are inclusive; the arithmetic below uses
  // exclusive ends, as the window's edges are.
  const int AreaRight = WorkArea.left() + WorkArea.width();
  const int AreaBottom = WorkArea.top() + WorkArea.height();
  if (Bounds.left() < WorkArea.left())
    Bounds.moveLeft(WorkArea.left());
  else if (Bounds.left() + Bounds.width() > AreaRight)
    Bounds.moveLeft(std::max(WorkArea.left(), AreaRight - Bounds.width()));
  if (Bounds.top() < WorkArea.top())
    Bounds.moveTop(WorkArea.top());
  else if (Bounds.top() + Bounds.height() > AreaBottom)
    Bounds.moveTop(std::max(WorkArea.top(), AreaBottom - Bounds.height()));
  return Bounds;
}

}  // namespace ui
