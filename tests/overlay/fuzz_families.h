// The families of fuzzed overlay cases (fans, grids, checkerboards, holes,
// integer stars, arcs, stars, degenerate rings, many-contour unions), each
// case made from its seed at a random place and magnitude.
#pragma once

#include <cstdint>
#include <string>

namespace overlay_fuzz {

inline constexpr const char* Families[] = {"fan",  "grid",  "checker",    "holes", "integer",
                                           "arcs", "stars", "degenerate", "union"};

// Makes and checks one case of a family from its seed; true if it passed,
// else Report names the family, the seed, what failed and both inputs.
bool RunCase(const std::string& Family, uint32_t Seed, std::string& Report);

}  // namespace overlay_fuzz
