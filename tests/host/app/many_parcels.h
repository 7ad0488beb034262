// Many parcels added to the small project's layer L2, each a square with an
// arc side, so that a save or an export of them takes a while and a large
// file.
#pragma once

#include "host/model/host_contour.h"
#include "host/model/map_model.h"

namespace host::test {

inline void AddParcels(THostProject& P, int Count) {
  const TKxID L2 = MakeID("L2"), S2 = MakeID("S2");
  for (int K = 0; K < Count; ++K) {
    const double X = 500000 + (K % 100) * 30, Y = 6001000 + (K / 100) * 30;
    P.AddObject(L2, {{S2,
                      {HostMoveTo(X, Y), HostLineTo(X + 20, Y), HostLineTo(X + 20, Y + 20),
                       HostArcTo(X, Y + 20, 0.3), HostClose()}}});
  }
}

}  // namespace host::test
