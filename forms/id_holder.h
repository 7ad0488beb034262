// What a node of the project tree stands for: a map, a layer or a style.
#pragma once

#include <cstdint>

#include "hostapi/kx_records.h"

namespace forms {

enum TProjectKind : std::uint8_t { pkMap = 0, pkLayer = 1, pkStyle = 2 };

class TIDHolder {
 public:
  TIDHolder(const kx::TKxID& AID, std::uint8_t AKind) : ID(AID), Kind(AKind) {}

  kx::TKxID ID;
  std::uint8_t Kind;
};

}  // namespace forms
