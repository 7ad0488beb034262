// Point in contour by crossings of a horizontal line, with the vertex and
// tangency rules that keep touching points from counting.
#pragma once

#include <cstdint>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"
#include "addonlib/geometry/edge_iter.h"
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

}  // namespace geo
