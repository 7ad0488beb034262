// A small project for tests and examples: one map "M1" ("Город") with two
// layers, four styles (two of them not defining geometry), and three objects
// near (500000, 6000000):
//
//   layer "L1" "Улицы": styles "S1" "Улица" (line), "S3" "Подпись" (no geometry)
//   layer "L2" "Участки": styles "S2" "Участок" (area), "S4" "Штриховка" (area,
//     no geometry)
//   objects "1" (L1: an S1 street with a bend and an arc, plus an S3 label
//   shape), "2" (L2: an S2 parcel with a courtyard hole), "3" (L2: an S2
//   parcel with a curved front and an S4 hatching shape)
#pragma once

#include "host/model/map_model.h"

namespace host {

void AddSmallProject(THostProject& Project);

}  // namespace host
