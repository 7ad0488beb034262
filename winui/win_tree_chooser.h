// The project tree chooser as a native modal window: a view of
// forms::TProjectTreeModel in a tree view with the nodes' icons.
#pragma once

#include <cstdint>
#include <string>

#include "addonkit/custom_addon.h"

namespace winui {

// True when the user confirmed a node of Kind whose ID differs from ID,
// which then holds it.
bool ChooseFromProjectTree(kx::TKxCustomAddon& Addon, const std::string& Caption, std::uint8_t Kind,
                           kx::TKxID& ID);

}  // namespace winui
