// What the host's add-on registry says: the add-ons registered under
// \Software\Tavlo\GIS\AddOns (or under an applied name), and for each the
// module that serves its class.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compat/guid.h"
#include "compat/registry.h"

namespace host {

struct THostAddOnEntry {
  GUID ClassID;
  std::string Description;
  bool Active = false;
  // From HKEY_CLASSES_ROOT\CLSID\{ClassID}\InprocServer32; empty when the
  // class is not registered.
  std::string ModulePath;
};

// Keys that are not class IDs are skipped.
std::vector<THostAddOnEntry> FindAddOns(const compat::TRegistry& Registry,
                                        std::string_view Applied = {});

}  // namespace host
