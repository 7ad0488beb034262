// What the buffer zone tests share: the zone both ways (through the overlay
// engine and sector by sector) and the check of a zone against distances to
// its source.
#pragma once

#include <random>

#include "addonlib/geometry/contour.h"

namespace overlay_zone {

using geo::TContour;
using geo::TDPoint;

TContour EngineZone(const TContour& Source, double W);
TContour ReferenceZone(const TContour& Source, double W);
// The contour moved by (DX, DY).
TContour Moved(const TContour& C, double DX, double DY);
bool HasArcs(const TContour& C);
// Every outline vertex at the width from the source, and every random point
// clear of the outline inside exactly when nearer than the width or inside the
// source's interior (its closed parts read by their nesting: holes open).
void CheckZone(std::mt19937& Rng, const TContour& Source, double W, const TContour& Z);

inline const TDPoint Far{500000, 6000000};

}  // namespace overlay_zone
