// The project both chooser suites pick from.
#pragma once

#include <utility>

#include "host/model/map_model.h"

// Two maps; the style "S2" belongs to a layer of each, and both maps have a
// layer "Дороги".
inline void AddTowns(host::THostProject& P) {
  using host::MakeID;
  P.AddMap(MakeID("M1"), "Город");
  P.AddLayer(MakeID("M1"), MakeID("L1"), "Дороги");
  P.AddLayer(MakeID("M1"), MakeID("L2"), "Здания");
  P.AddMap(MakeID("M2"), "Пригород");
  P.AddLayer(MakeID("M2"), MakeID("L3"), "Дороги");
  for (const auto& [ID, Name] : {std::pair{"S1", "Асфальт"}, {"S2", "Грунт"}, {"S3", "Жилые"}}) {
    host::THostStyle S;
    S.ID = MakeID(ID);
    S.Name = Name;
    P.AddStyle(S);
  }
  for (const auto& [Layer, Style] :
       {std::pair{"L1", "S1"}, {"L1", "S2"}, {"L2", "S3"}, {"L3", "S2"}})
    P.AttachStyle(MakeID(Layer), MakeID(Style));
}
