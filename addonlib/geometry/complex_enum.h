// TGComplexEnumerater: walks a contour's commands and yields its edges,
// enforcing the command sequence rules.
#pragma once

#include <cstdint>

#include "addonlib/geometry/connect_full.h"
#include "addonlib/geometry/contour.h"

namespace geo {

class TGComplexEnumerater {
 public:
  // The contour must outlive the enumerator and stay unchanged while it runs.
  explicit TGComplexEnumerater(const TContour& AContour) : Contour(AContour) {}

  // Advances to the next command that yields an edge; False at the end.
  // Edges whose ends are the same point are passed over. Raises
  // "Первая команда не должна быть 'Замкнуть'" for a close command in first
  // position and "Две команды 'Замкнуть подряд'" for a close that follows a
  // close (a ccMoveTo in between does not separate them).
  bool Next(TGConnectFull& Conn);

 private:
  const TContour& Contour;
  int32_t Pos = 0;
  TDPoint Start{0, 0};
  TDPoint Current{0, 0};
  bool CloseSeen = false;
};

}  // namespace geo
