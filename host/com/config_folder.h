// Where the user's configuration files go, one file per system.
#pragma once

#include <string>

namespace host {

// The user's configuration folder (UTF-8): on Linux $XDG_CONFIG_HOME or
// ~/.config, on Windows the local application data folder.
std::string UserConfigFolder();

}  // namespace host
