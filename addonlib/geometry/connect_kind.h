// The kind of an edge record: straight or arc. Records store it as one byte.
#pragma once

#include <cstdint>

namespace geo {

enum class TConnectKind : uint8_t { Line = 0, Arc = 1 };

}  // namespace geo
