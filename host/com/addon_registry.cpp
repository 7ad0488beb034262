#include "host/com/addon_registry.h"

namespace host {

std::vector<THostAddOnEntry> FindAddOns(const compat::TRegistry& Registry,
                                        std::string_view Applied) {
  using compat::TRootKey;
  while (!Applied.empty() && Applied.front() == '\\') Applied.remove_prefix(1);
  const std::string Base = Applied.empty()
                               ? std::string("Software\\Tavlo\\GIS\\AddOns")
                               : "Software\\Tavlo\\GIS\\AppliedAddOns\\" + std::string(Applied);
  std::vector<THostAddOnEntry> Result;
  if (!Registry.KeyExists(TRootKey::LocalMachine, Base)) return Result;
  for (const std::string& Sub : Registry.SubKeys(TRootKey::LocalMachine, Base)) {
    const auto ClassID = compat::TryParseGuid(Sub);
    if (!ClassID) continue;
    const std::string Key = Base + "\\" + Sub;
    THostAddOnEntry Entry;
    Entry.ClassID = *ClassID;
    Entry.Description = Registry.ReadString(TRootKey::LocalMachine, Key, "").value_or("");
    Entry.Active = Registry.ReadString(TRootKey::LocalMachine, Key, "Active").value_or("0") != "0";
    Entry.ModulePath =
        Registry
            .ReadString(TRootKey::ClassesRoot,
                        "CLSID\\" + compat::GuidToString(*ClassID) + "\\InprocServer32", "")
            .value_or("");
    Result.push_back(std::move(Entry));
  }
  return Result;
}

}  // namespace host
