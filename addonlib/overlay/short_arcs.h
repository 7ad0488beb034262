// Result arcs shorter than the point tolerance. A contour holds such an arc
// as its chord (it finds no centre for ends it takes for one point), which
// on a small circle strays far from the arc: a zone a few millionths wide
// would lose its round ends. Where the chord strays more than a millionth
// of the radius, the arc is written as chords that stay within that.
#pragma once

#include "addonlib/geometry/contour.h"

namespace geoalg::overlay {

// The largest turn of one chord: it strays 1e-6 of the radius from its arc.
inline constexpr double ShortArcStep = 2.8284e-3;

// Appends the arc from the contour's current point From to To (convexity
// Convexity) as an arc command, or as chords where it is shorter than the
// point tolerance and turns by more than ShortArcStep. Close closes the
// part with the arc (its last chord a close command).
void AddResultArc(geo::TContour& C, const geo::TDPoint& From, const geo::TDPoint& To,
                  double Convexity, bool Close);

}  // namespace geoalg::overlay
