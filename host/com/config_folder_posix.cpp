#include <cstdlib>

#include "host/com/config_folder.h"

namespace host {

std::string UserConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base
  // directory rules say.
  if (const char* Config = std::getenv("XDG_CONFIG_HOME"); Config && *Config == '/') return Config;
  if (const char* Home = std::getenv("HOME"); Home && *Home) return std::string(Home) + "/.config";
  return ".config";
}

}  // namespace host
