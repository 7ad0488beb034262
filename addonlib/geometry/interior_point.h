// Representative points of edges: a middle point, and points well inside an
// arc or an edge for classifying the edge against another contour.
#pragma once

#include "addonlib/geometry/connect_full.h"
#include "addonlib/geometry/edge.h"

namespace geo {

// Midpoint of a straight edge; for an arc the point halfway along it.
TDPoint EdgeMidPoint(const TEdge& E);
// The chord's midpoint for |c| < ConnectTolerance; otherwise the point about
// five eighths along the arc (0.626357899062 of the sweep from P1). An arc
// whose ends coincide has no centre: the midpoint of the ends is returned.
TDPoint InteriorPointOfArc(const TDPoint& P1, const TDPoint& P2, double Convexity);
// For Kind 1 InteriorPointOfArc, else the point a third of the way from P1.
TDPoint InteriorPointOfConnect(const TGConnectFull& C);

}  // namespace geo
