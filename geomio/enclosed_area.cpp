#include "geomio/enclosed_area.h"

#include <cmath>

#include "geomio/contour_layout.h"

namespace geomio {

double EnclosedArea(const geo::TContour& Contour, TNesting Nesting) {
  const TContourLayout L = LayOutContour(Contour, Nesting);
  long double Sum = 0;
  for (const TLayoutPart& Part : L.Parts) {
    if (!Part.Closed) continue;
    // The part's own orientation says nothing about its role; its depth does.
    const long double A = std::fabs(PartArea(Part));
    Sum += Part.Depth % 2 == 0 ? A : -A;
  }
  return static_cast<double>(Sum);
}

}  // namespace geomio
