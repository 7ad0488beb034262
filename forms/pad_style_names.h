// Texts by which the pad shows the chosen style and its layer, read from the
// host's project (UTF-8).
#pragma once

#include <string>

#include "hostapi/kx_records.h"

namespace kx {
class TKxCustomAddon;
}

namespace forms {

// The style's name, or Default when StyleID is empty.
std::string ProjectStyleName(kx::TKxCustomAddon& Addon, const kx::TKxID& StyleID,
                             const std::string& Default);
// "[map] layer", or Default when LayerID is empty.
std::string ProjectLayerCaption(kx::TKxCustomAddon& Addon, const kx::TKxID& LayerID,
                                const std::string& Default);
// The first layer of the style's layer list.
kx::TKxID StyleLayerID(kx::TKxCustomAddon& Addon, const kx::TKxID& StyleID);

}  // namespace forms
