// What a zone can be built to: a millionth of its width, the source read as
// the kernel reads it (points closer than the point tolerance are one).
// Where doubles at the source's coordinates cannot hold that, or the point
// tolerance swallows a part or moves the zone by more, the build is refused
// with a message naming the limit, rather than answered wrongly.
#pragma once

#include "addonlib/geometry/contour.h"

namespace trace {

// The share of the width the zone is right to.
inline constexpr double ZoneAccuracy = 1e-6;

// The fewest spacings of doubles (at the coordinates' magnitude) a width
// must span: the outline's points, rounded to doubles, are then off by a
// few ten-millionths of the width at most (measured: half a spacing, so
// 1.2e-7). The engine also joins the outline's own points that come within
// 16 spacings of each other; that moves no side of the zone across.
inline constexpr double ZoneWidthSpacings = 0x1p22;

// Raises core::Exception where the zone of Source at Width reaches beyond
// the range of numbers, or falls short of ZoneAccuracy: a part all of whose points lie within the
// point tolerance of each other (no edge to the kernel, so no zone), two points closer than the
// point tolerance but more than ZoneAccuracy of the width apart (taken as
// one, they move the zone by that much), or a width below ZoneWidthSpacings
// spacings of doubles at the source's coordinates.
void CheckZoneLimits(const geo::TContour& Source, double Width);

}  // namespace trace
