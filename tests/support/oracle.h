// Independent geometry for checking the contour algebra: contours are walked
// command by command here, arcs computed from their bulge by a formula of
// our own, and areas, membership and distances taken from that, without the
// kernel's traversal and measures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace oracle {

using geo::TContour;
using geo::TDPoint;

struct Edge {
  TDPoint A, B;
  double Bulge;  // 0 straight
};

// The closed rings of a contour (open parts are closed by a straight edge).
std::vector<std::vector<Edge>> Rings(const TContour& C);

// Every edge of every part in order; an open part has no closing edge.
std::vector<Edge> Edges(const TContour& C);

// Signed area of one ring, exact for arcs (positive counter-clockwise).
double RingArea(const std::vector<Edge>& Ring);

// Points along the ring, arcs cut into pieces no longer than Step radians.
std::vector<TDPoint> Linearise(const std::vector<Edge>& Ring, double Step = 0.002);

// P inside the polygon, even-odd.
bool InPolygon(const std::vector<TDPoint>& Poly, const TDPoint& P);

// A point on the ring away from its vertices: the middle of its longest edge.
TDPoint PointOnRing(const std::vector<Edge>& Ring);

// Even-odd membership over all rings of the contour (linearised).
class Membership {
 public:
  explicit Membership(const TContour& C);
  bool Inside(const TDPoint& P) const;
  // Distance from P to the exact boundary (arcs as arcs).
  double Distance(const TDPoint& P) const;

 private:
  std::vector<std::vector<TDPoint>> FPolys;
  std::vector<Edge> FEdges;
};

// Empty when every hole (a counter-clockwise ring) is written after the
// outer ring (clockwise) that holds it, the smallest around a point of the
// hole, before the next outer ring; else where it is not.
std::string NestingFault(const TContour& C);

// Area enclosed under the even-odd rule: rings nested an even number of times
// add, the others subtract.
double EnclosedArea(const TContour& C);

// Area read from the rings' orientation, as the overlay engine writes them
// (outer rings clockwise, holes counter-clockwise): robust where rings run a
// hair apart or hold points closer than 1e-9, which the nesting misreads.
double OrientedArea(const TContour& C);

// Distance from P to an edge, arcs exact.
double EdgeDistance(const Edge& E, const TDPoint& P);

// WKT MULTIPOLYGON of a straight-edged contour (one polygon per ring; valid
// for GEOS when the rings do not nest).
std::string ToWkt(const TContour& C);

// Area of the union of GEOS buffers (QuadSegs segments per quarter circle)
// of every edge of C, arcs linearised finely, together with the interior of
// C's closed rings.
double GeosPiecewiseBufferArea(const TContour& C, double Width, int QuadSegs);

// Area of A <op> B computed by GEOS (op 0 union, 1 intersection, 2 difference,
// 3 symmetric difference), the inputs given as sets of non-nested rings
// (holes expressed by even-odd through symmetric differences of rings).
double GeosArea(const TContour& A, const TContour& B, int Op);

// Area of the union of all contours by GEOS, each read as GeosArea reads it.
double GeosUnionArea(const std::vector<const TContour*>& Inputs);

// Why GEOS finds the polygon of C's first ring invalid, arcs cut into pieces
// of at most Step radians; empty when it is valid.
std::string GeosInvalidReason(const TContour& C, double Step);

}  // namespace oracle
