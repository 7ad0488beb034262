// Intersection of straight segments and circular arcs, splitting and measuring
// of edges.
//
// Every routine works to the absolute length tolerance Tol.Work, which the
// union graph derives from the size of its inputs and passes down.
// The intersection routines yield 0, 1 or 2 points in the order found and
// return their count; they write only the points they found, and only after
// everything succeeded, so an exception leaves the caller's variables as
// they were.
#pragma once

#include <cstdint>

#include "addonlib/geometry/connect_full.h"
#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/tolerance.h"
#include "addonlib/geometry/typed_lists.h"

namespace geo {

// Refuses ("Точки расположены близко") an edge not longer than Tol.Work and
// end points of different edges that are within Tol.Work of each other
// without being the same point.
void CheckConnectEnds(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1, const TDPoint& B2,
                      const TTolerance& Tol = TTolerance::Current());

// Distance from Q to its foot on S1-S2 when the foot lies strictly inside the
// segment; false otherwise. A segment of length exactly 0 raises
// "Вырожденная прямая".
bool ProjectOnSegment(const TDPoint& Q, const TDPoint& S1, const TDPoint& S2, double& Dist);

// Proper crossing of two segments, for use once touching ends are excluded. A
// crossing within the tolerance of an end point raises "Допуск большой".
bool IntersectSegmentsProper(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1,
                             const TDPoint& B2, TDPoint& R,
                             const TTolerance& Tol = TTolerance::Current());

// Segment A1-A2 with segment B1-B2: shared ends, ends lying on the other
// segment (collinear overlaps) or the proper crossing.
int32_t IntersectLinesAll(const TDPoint& A1, const TDPoint& A2, const TDPoint& B1,
                          const TDPoint& B2, TDPoint& R1, TDPoint& R2,
                          const TTolerance& Tol = TTolerance::Current());

// Core of the segment-arc case, without the end checks and the snapping.
int32_t IntersectLineWithArcMy(const TDPoint& L1, const TDPoint& L2, const TDPoint& B1,
                               const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                               const TTolerance& Tol = TTolerance::Current());
// Segment L1-L2 with the arc B1-B2; points snapped to the four end points.
int32_t IntersectLineWithArcAll(const TDPoint& L1, const TDPoint& L2, const TDPoint& B1,
                                const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                                const TTolerance& Tol = TTolerance::Current());

// Core of the arc-arc case, without the end checks and the snapping.
int32_t IntersectArcsMy(const TDPoint& A1, const TDPoint& A2, double ConvexityA, const TDPoint& B1,
                        const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                        const TTolerance& Tol = TTolerance::Current());
// Arc A1-A2 with arc B1-B2; points snapped to the four end points.
int32_t IntersectArcsAll(const TDPoint& A1, const TDPoint& A2, double ConvexityA, const TDPoint& B1,
                         const TDPoint& B2, double ConvexityB, TDPoint& R1, TDPoint& R2,
                         const TTolerance& Tol = TTolerance::Current());

// Of two intersection points, the one that is not the reference end of the
// first edge: its second end when that is shared with the other edge, else
// its first end.
TDPoint PickOtherPoint(const TDPoint& First1, const TDPoint& First2, const TDPoint& Other1,
                       const TDPoint& Other2, const TDPoint& R1, const TDPoint& R2);

// One meeting point of two edges (arcs flatter than ConnectTolerance count as
// lines); false when they do not meet.
bool IntersectConnectFull(const TGConnectFull& E, const TGConnectFull& F, TDPoint& P,
                          const TTolerance& Tol = TTolerance::Current());

// Cuts E at X into E1 (P1 to X) and E2 (X to P2), arcs staying on E's circle.
// False, outputs untouched, when X is within T of either end on both axes.
bool SplitConnectFull(const TGConnectFull& E, const TDPoint& X, double T, TGConnectFull& E1,
                      TGConnectFull& E2);

// Chord length of a line, arc length of an arc.
double GetLengthConnectFull(const TGConnectFull& E);

// Normalised bounding rectangle, arc bulges included.
TDRect GetBoundsConnectFull(const TGConnectFull& E);

// The same edge run backwards: ends swapped, an arc's convexity negated.
TGConnectBrief ReverseConnectBrief(const TGConnectBrief& B);

}  // namespace geo
