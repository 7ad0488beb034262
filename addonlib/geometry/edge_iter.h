// Iterators that turn a contour's commands into geometry. All are value
// types that read the stored commands in place and copy only the current
// edge; the contour must stay unchanged while they run.
#pragma once

#include <cstdint>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"

namespace geo {

// Command ranges of the parts. A part is an optional ccMoveTo, a run of
// ccLineTo/ccArcTo and optionally one close command; a part may begin right
// after a close without a ccMoveTo. A lone trailing ccMoveTo is no part.
struct TPartIter {
  const TContour* Contour = nullptr;
  int32_t First = 1;  // command range of the current part, inclusive
  int32_t Last = 0;
  bool Closed = false;  // the part's last command is a close command

  // Positions on the part holding command FromIndex; at the end when
  // FromIndex is not a command index.
  void Start(const TContour& AContour, int32_t FromIndex = 0);
  void Next();
  bool Eof() const { return First > Last; }

 private:
  void FindLast(int32_t From);
};

// Indexed edge cursor: the edge that ends at a given command (see contour.h
// for which edge a command yields), then the following ones in order.
struct TEdgeCursor {
  TEdge Edge{};
  const TContour* Contour = nullptr;
  int32_t Cur = 0;         // command whose edge is in Edge
  int32_t PartStart = -1;  // current part's first command, -1 while unknown
  int32_t FromIndex = -1;  // commands whose points are Edge.P1 and Edge.P2
  int32_t ToIndex = -1;
  bool SkipDegenerate = false;

  // Positions on the edge of command Index, or, when that command yields no
  // edge (or only a degenerate one and SkipDegenerate), on the next edge
  // after it. True when the edge of Index itself is current.
  bool Start(const TContour& AContour, int32_t Index, bool ASkipDegenerate);
  // Moves to the edge of the next command that has one.
  void Next();
  bool Eof() const { return Cur >= Contour->CommandCount(); }
};

// Forward iterator over the non-degenerate edges of a whole contour, with
// part boundaries. An edge that follows a close command without a ccMoveTo
// starts where the pen rests (the closed part's start point) and opens a new
// part.
struct TContourEdgeIter {
  TEdge Edge{};
  int32_t StartCmd = -1;  // the current part's first point command
  bool HasEdge = false;
  bool FirstOfPart = false;
  bool LastOfPart = false;
  bool ClosedPart = false;
  int32_t Prev = -1;  // the point command the pen is at
  int32_t Index = 0;  // next command to read
  const TContour* Contour = nullptr;

  // First non-degenerate edge; False for a contour without one.
  bool Start(const TContour& AContour);
  // Next non-degenerate edge; False at the end.
  bool Next();
  bool Eof() const { return !HasEdge; }
  bool IsFirstOfPart() const { return HasEdge && FirstOfPart; }
  bool IsLastOfPart() const { return !HasEdge || LastOfPart; }
  bool IsClosedPart() const { return ClosedPart; }

 private:
  bool PendingFirst = false;  // a close was passed: the next edge opens a part
};

}  // namespace geo
