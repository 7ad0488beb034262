// TPartBuilder: collects the pieces of one part as a reader meets them
// (points joined by straight pieces or by three-point arcs) and writes the
// part into a command contour, open or closed.
#pragma once

#include <vector>

#include "addonlib/geometry/contour.h"

namespace geomio {

class TPartBuilder {
 public:
  // Starts a part at P. A started part is continued instead when P is its
  // current point (the next piece of a compound curve); any other point
  // raises EInputError, since the pieces must join.
  void StartOrJoin(const geo::TDPoint& P);
  bool Started() const { return HasStart; }
  const geo::TDPoint& Current() const { return Cur; }

  // Straight piece to P; a piece of zero length is dropped (one shorter than
  // the point tolerance is kept).
  void LineTo(const geo::TDPoint& P);
  // Arc from the current point through Mid to End, as a bulge arc. Collinear
  // points give a straight piece. End at the current point is the full
  // circle through Mid, written as two counter-clockwise half circles.
  void ArcTo(const geo::TDPoint& Mid, const geo::TDPoint& End);

  // Appends the part as an open chain: ccMoveTo and its pieces. Raises
  // EInputError when it has no piece of non-zero length.
  void EndOpen(geo::TContour& Contour);
  // Appends the part as a closed ring: its last point must be its first
  // (within the kernel's point tolerance); the last piece becomes ccClose or
  // ccCloseArc. Raises EInputError for an unclosed ring or one that encloses
  // nothing; one that only closing within the tolerance flattens is said to
  // be narrower than the tolerance.
  void EndRing(geo::TContour& Contour);

 private:
  struct TPiece {
    geo::TDPoint End;
    double Convexity;
  };
  void Reset();
  // Whether the points as given enclose an area that the closing within the
  // point tolerance flattened.
  bool RawEnclosesArea() const;

  bool HasStart = false;
  geo::TDPoint Start{0, 0};
  geo::TDPoint Cur{0, 0};
  std::vector<TPiece> Pieces;
  std::vector<geo::TDPoint> Raw;  // the points given, arc middles included
};

// Appends Source's commands to Dest.
void AppendCommands(geo::TContour& Dest, const geo::TContour& Source);

}  // namespace geomio
