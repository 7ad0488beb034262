// Point in contour by crossings of a horizontal line, with the vertex and
// tangency rules that keep touching points from counting.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/interval_index.h"
#include "addonlib/geometry/point_array.h"

namespace geo {

// Raw meeting points of one edge with the line y = Y (Points is reset first):
// a straight edge lying along the line within Tol gives both ends; a line
// touching an arc within Tol gives the touching point; an arc candidate
// counts when it lies in the arc's span or within Tol of an end.
void EdgeLineIntersect(const TEdge& E, TDPointArray& Points, double Tol, double Y);
// Appends the crossings of one closed part (an open part gives none) with
// the line y = Y, in edge order. Edges lying along the line are left out; a
// point at an edge's end counts, if at all, as the next edge's start; a
// tangent touch of an arc does not count; a vertex counts only when the
// boundary passes through the line there (decided by the neighbouring edges'
// directions, and for an arc meeting the vertex horizontally by the side of
// its centre). Works in one pass with no storage per edge.
void HorizontalIntersections(const TPartIter& Part, TDPointArray& Points, double Tol, double Y);
// Where a point lies against a contour; the values are the codes the
// system has always used.
enum class TPointPlace : int32_t { Outside = 0, Inside = 1, Boundary = 2 };

// On the boundary of a closed part (within ConnectTolerance), inside or
// outside; open parts contain nothing. Linear in the number of edges and
// allocation-free. Context gives the angular slack of the arc test.
TPointPlace PointInContour(const TContour& Contour, const TDPoint& P,
                           const TTolerance& Context = TTolerance::Current());

// Many point locations against one contour, each with PointInContour's
// answer. Once a contour has been tested a few times its closed parts'
// edges are indexed by the heights they span (widened by every tolerance of
// the tests), so that a test looks only at the edges the line y = P.Y can
// meet right of P; small contours are always walked whole. Holds on to the
// contour, which must outlive the locator unchanged.
class TContourLocator {
 public:
  // Contours of fewer commands are never indexed: walking them costs no more.
  static constexpr int32_t IndexThreshold = 48;
  // Tests walked whole before the index is built: a ring asked once or
  // twice does not repay the sorting.
  static constexpr int32_t PlainTests = 2;

  explicit TContourLocator(const TContour& Contour) : FContour(&Contour) {}

  TPointPlace Locate(const TDPoint& P, const TTolerance& Context = TTolerance::Current());
  // Builds the index now, whatever the contour's size, for tests in Context
  // or any with a smaller Work; tests with a larger one walk the contour.
  // A contour with an arc of no sweep is never indexed.
  void Prepare(const TTolerance& Context = TTolerance::Current());
  bool Indexed() const { return FIndexed; }

 private:
  // The kept edge before edge I of its part, cyclically (I itself if none).
  const TEdge& PrevKept(int32_t I, double Tol, double Y) const;

  const TContour* FContour;
  int32_t FTests = 0;
  bool FIndexed = false;
  bool FPlainOnly = false;
  double FWork = 0;                 // the arcs' reach allows for this much angular slack
  std::vector<TEdge> FEdges;        // closed parts' edges as the walk yields them
  std::vector<double> FXHi;         // right of it an edge adds nothing to a test
  std::vector<double> FStartAngle;  // an arc's angle at its start
  std::vector<int32_t> FPartOf;     // each edge's part
  std::vector<int32_t> FPartFirst;  // each part's first edge, and the end
  TIntervalIndex FIndex;
};

}  // namespace geo
