#include "addonlib/geometry/primitives.h"

namespace geo {

const double ConnectTolerance = 1E-9;

}  // namespace geo
