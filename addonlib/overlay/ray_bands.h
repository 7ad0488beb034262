// Edges of a labelled graph filed by horizontal bands of y, for rays cast
// from a point to the left: the windings there, or the nearest edge hit.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "addonlib/overlay/labelling.h"

namespace geoalg::overlay {

class TRayBands {
 public:
  // Files the edges listed (indices into G.Edges); G and Pieces must outlive it.
  TRayBands(const TLabelledGraph& G, const std::vector<TPiece>& Pieces,
            const std::vector<int32_t>& EdgeIds);

  // Winding numbers at P, summed over the filed edges that the ray from P to
  // the left crosses (half-open in y, so a ray through a vertex counts once).
  std::array<int32_t, 2> WindingAt(const TDPoint& P) const;
  // The filed edge that the ray from P to the left meets first, -1 if none.
  int32_t NearestLeft(const TDPoint& P) const;

 private:
  size_t Band(double Y) const;
  // x where the edge meets the line at height Y, if it crosses the ray from
  // P; false otherwise.
  bool Crossing(int32_t E, const TDPoint& P, double& X) const;

  const TLabelledGraph& FG;
  const std::vector<TPiece>& FPieces;
  double FY1 = 0, FHeight = 1;
  std::vector<int32_t> FStart;
  std::vector<int32_t> FItems;
};

}  // namespace geoalg::overlay
