// Fast point-in-contour tests for large contours, and the nesting of parts.
//
// A contour of 500 points or more is cut into horizontal strips of about 250
// points each, every strip a small contour with its own rectangle, so that a
// point-inside test runs the full point-in-contour walk only on the strips
// whose rectangles hold the point.
#pragma once

#include <memory>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/rec_list.h"
#include "addonlib/geometry/tolerance.h"

namespace geoalg {

using geo::TContour;
using geo::TDPoint;
using geo::TDRect;

// A piece of a contour with the rectangle of what it holds.
class TComplexPart : public TContour {
 public:
  TComplexPart(const TContour& Source, const TDRect& ABounds);

  TDRect Bounds;

  // Inside Bounds (borders included) and inside or on the piece's boundary.
  bool PointInside(const TDPoint& P, const geo::TTolerance& Tol = geo::TTolerance::Current()) const;
};

class TComplexPartList {
 public:
  // Contours below this many points are held whole.
  static constexpr int32_t StripThreshold = 500;
  // Average points per strip.
  static constexpr int32_t PointsPerStrip = 250;

  TDRect Bounds{0, 0, 0, 0};
  bool HasBounds = false;

  // Empties the list and rebuilds it from a contour. Strips are cut when
  // first needed: a point-inside test cuts only the strips whose band can
  // hold the point, which gives the same answers as cutting them all. The
  // strips overlap by twice Tol.Work, and the tests run with Tol.
  void Build(const TContour& Contour, const geo::TTolerance& Tol = geo::TTolerance::Current());
  // False without bounds or outside Bounds; else true when a part holds P.
  bool PointInside(const TDPoint& P) const;

  // The parts in order (every strip cut).
  int32_t Count() const;
  const TComplexPart& Part(int32_t I) const;

 private:
  // Cuts strip K from the source unless done; null when nothing is left in it.
  const TComplexPart* Strip(size_t K) const;
  void CutAll() const;

  geo::TTolerance FTol;
  mutable std::vector<std::unique_ptr<TComplexPart>> FParts;  // all parts, once cut
  mutable bool FAllCut = false;
  TContour FSource;              // the contour being stripped
  std::vector<double> FBottoms;  // each strip's unwidened bottom
  double FHeight = 0;            // strip height
  double FOverlap = 0;           // widening at the bottom and the top
  mutable std::vector<std::unique_ptr<TComplexPart>> FStrips;
  mutable std::vector<uint8_t> FCut;
};

// Nesting depth of each single-part contour: how many of the others hold its
// sample point (inside or on the boundary). The sample is the midpoint of the
// part's first edge, or, when that lies on another part's boundary, of the
// first edge whose midpoint does not; a part without edges longer than the
// point tolerance gets 0. Depths are appended in part order.
void PartNesting(const geo::TContourList& Parts, geo::TLongintList& Depths,
                 const geo::TTolerance& Tol = geo::TTolerance::Current());
// The same asking Locators[i] about Parts[i], so that a caller with more
// points to place keeps the indexes built for the nesting.
void PartNesting(const geo::TContourList& Parts, std::vector<geo::TContourLocator>& Locators,
                 geo::TLongintList& Depths,
                 const geo::TTolerance& Tol = geo::TTolerance::Current());
// Midpoint of the part's first edge; "количество команд < 2" without edges.
TDPoint PartSamplePoint(const TContour& Part);
// The part runs clockwise: its Area is positive.
bool IsClockwise(const TContour& Part);

}  // namespace geoalg
