// TContour: the system's shape, an ordered list of complex commands forming
// one or more parts, with the arc geometry of every arc command cached.
//
// Part rules: a part begins at a ccMoveTo, at the first command, or at the
// command after a close command, and ends before the next ccMoveTo, with a
// close command, or at the end of the list. After a close the pen rests at
// the start point of the part just closed, so a ccLineTo or ccArcTo without
// a ccMoveTo continues from there.
//
// The edge of a command (for commands 1 and later of kinds ccLineTo to
// ccCloseArc) runs from the previous command's point, or from the part's
// start point when the previous command is a close, to the command's point,
// or to the part's start point for a close command. Every arc command's
// record holds the centre, signed sweep and radius of that edge; they are
// refreshed whenever a command the edge depends on changes, so readers never
// recompute them. An arc command whose edge has coinciding end points is
// degraded to its straight kind.
#pragma once

#include <cstdint>

#include "addonlib/geometry/complex_command.h"
#include "addonlib/geometry/connect_full.h"
#include "addonlib/geometry/rec_array.h"

namespace geo {

// ArcIndex of a command without an arc record.
inline constexpr uint32_t NoArc = 0xFFFFFFFFu;

// A stored command. ArcIndex is 32-bit so that large contours (buffer zones
// with an arc at every vertex) never run out of arc numbers.
struct TContourCmdRec {
  TComplexCommandKind Kind;
  TDPoint Point;  // zero for close commands
  uint32_t ArcIndex;
};

// One per arc command. Center, Angle (signed sweep, as GetCenter2 returns it)
// and Radius are the cache; they stay zero while the arc is straight by its
// convexity or has no edge.
struct TContourArcRec {
  double Convexity;
  TDPoint Center;
  double Angle;
  double Radius;
};

class TContour {
 public:
  TContour() = default;
  TContour(const TContour&) = delete;
  TContour& operator=(const TContour&) = delete;
  TContour(TContour&&) noexcept = default;
  TContour& operator=(TContour&&) noexcept = default;

  // Copies Source; a null Source clears, Source == this does nothing.
  void Assign(const TContour* Source);
  // Empties the contour; memory is kept.
  void Clear();
  // Makes room for this many more commands, Arcs of them arcs, so that
  // appending them moves no record.
  void Reserve(int32_t Commands, int32_t Arcs);

  int32_t PointCount() const { return FPointCount; }
  int32_t CommandCount() const { return FCommands.Count; }
  int32_t ArcCount() const { return FArcs.Count; }

  // Raises "Нет команды с таким индексом" outside [0, CommandCount - 1].
  TComplexCommand GetCommand(int32_t Index) const;
  // Appends; returns the new command's index.
  int32_t AddCommand(const TComplexCommand& Cmd);
  // Inserts before Index (0 to CommandCount; outside, ERecArray).
  void InsertCommand(int32_t Index, const TComplexCommand& Cmd);
  // False, and nothing changed, when Cmd equals the present command
  // (CommandsEqual). The arcs are refreshed only once the new command is in
  // place, so no neighbour is degraded by a transient state.
  bool ReplaceCommand(int32_t Index, const TComplexCommand& Cmd);
  void DeleteCommand(int32_t Index);

  int32_t AddMoveTo(const TDPoint& P) { return AddCommand(MakeMoveTo(P)); }
  int32_t AddLineTo(const TDPoint& P) { return AddCommand(MakeLineTo(P)); }
  int32_t AddArcTo(const TDPoint& P, double Convexity) {
    return AddCommand(MakeArcTo(P, Convexity));
  }
  int32_t AddClose() { return AddCommand(MakeClose()); }
  int32_t AddCloseArc(double Convexity) { return AddCommand(MakeCloseArc(Convexity)); }

  // Stored records, checked. The references are valid until the next change.
  const TContourCmdRec& CmdRec(int32_t Index) const {
    return FCommands.Item<TContourCmdRec>(Index);
  }
  const TContourArcRec& ArcRec(uint32_t ArcIndex) const {
    return FArcs.Item<TContourArcRec>(static_cast<int32_t>(ArcIndex));
  }
  // Unchecked views for traversal loops that check their own ranges.
  const TContourCmdRec* CmdData() const {
    return static_cast<const TContourCmdRec*>(FCommands.Data);
  }
  const TContourArcRec* ArcData() const { return static_cast<const TContourArcRec*>(FArcs.Data); }

  // The command that starts the part holding command Index: the nearest
  // ccMoveTo at or before it, or command 0.
  int32_t PartStartOf(int32_t Index) const;
  // End commands of the edge of command Index (see above). PartStart caches
  // the current part's start between calls (-1 when unknown). False when the
  // command yields no edge (index 0, a ccMoveTo or an invalid index).
  bool EdgeEnds(int32_t Index, int32_t& PartStart, int32_t& FromIndex, int32_t& ToIndex) const;

  // Refreshes the arc cache of command Index, degrading it when its end
  // points coincide. Invalid indices and straight edges are left alone.
  void RecalcArc(int32_t Index);
  // Refreshes the arcs that depend on a command of kind K inserted at or
  // deleted from Index: its own and its successor's, and, when a part start
  // changed, every close command of the part and the command after each.
  void RecalcAround(int32_t Index, TComplexCommandKind K);

 private:
  void InsertRec(int32_t Index, const TComplexCommand& Cmd);
  TComplexCommandKind RemoveRec(int32_t Index);

  int32_t FPointCount = 0;
  TRecArray FCommands{sizeof(TContourCmdRec)};
  TRecArray FArcs{sizeof(TContourArcRec)};
};

// The contour has commands and its last one is a close command.
bool LastIsClose(const TContour& Contour);

}  // namespace geo
