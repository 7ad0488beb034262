// Complex commands: the drawing steps of a command contour, as they are
// exchanged with a TContour, and the command-level operations.
#pragma once

#include <cstdint>

#include "addonlib/geometry/primitives.h"

namespace geo {

// Kinds 0 to 2 carry their own point (To commands); 3 and 4 end a part by
// returning to its start point. Arcs follow the bulge model of arc.h.
enum TComplexCommandKind : uint8_t {
  ccMoveTo = 0,   // start a new part at the point
  ccLineTo = 1,   // straight to the point
  ccArcTo = 2,    // arc to the point
  ccClose = 3,    // straight back to the part's start point
  ccCloseArc = 4  // arc back to the part's start point
};

inline bool IsToKind(uint8_t K) {
  return K <= ccArcTo;
}
inline bool IsCloseKind(uint8_t K) {
  return K == ccClose || K == ccCloseArc;
}
inline bool IsArcKind(uint8_t K) {
  return K == ccArcTo || K == ccCloseArc;
}
// ccLineTo or ccArcTo: a piece that continues the current part.
inline bool IsPieceKind(uint8_t K) {
  return K == ccLineTo || K == ccArcTo;
}

struct TComplexCommand {
  TComplexCommandKind Kind;
  TDPoint Point;     // undefined for close commands
  double Convexity;  // ccArcTo and ccCloseArc; 0 otherwise when read back
};

inline TComplexCommand MakeMoveTo(const TDPoint& P) {
  return {ccMoveTo, P, 0};
}
inline TComplexCommand MakeLineTo(const TDPoint& P) {
  return {ccLineTo, P, 0};
}
inline TComplexCommand MakeArcTo(const TDPoint& P, double Convexity) {
  return {ccArcTo, P, Convexity};
}
inline TComplexCommand MakeClose() {
  return {ccClose, {0, 0}, 0};
}
inline TComplexCommand MakeCloseArc(double Convexity) {
  return {ccCloseArc, {0, 0}, Convexity};
}

inline bool IsToCommand(const TComplexCommand& Cmd) {
  return IsToKind(Cmd.Kind);
}
inline bool IsCloseCommand(const TComplexCommand& Cmd) {
  return IsCloseKind(Cmd.Kind);
}

// The point of a To command; a close command raises
// "GetPointOfComplexCommand: команда не является ***To".
TDPoint GetPointOfComplexCommand(const TComplexCommand& Cmd);
// The close command that replaces Cmd when it ends a loop: ccLineTo gives
// ccClose, ccArcTo a ccCloseArc of the same convexity, a close command is
// returned as it is; ccMoveTo raises.
TComplexCommand MakeCloseByCommand(const TComplexCommand& Cmd);
// Same kind and: points the same (SamePoint) for ccMoveTo and ccLineTo; the
// same point and exactly equal convexity for ccArcTo; exactly equal convexity
// for ccCloseArc; ccClose always.
bool CommandsEqual(const TComplexCommand& A, const TComplexCommand& B);

}  // namespace geo
