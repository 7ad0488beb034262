// Registration of the module's add-ons in the host's add-on registry.
#pragma once

#include <string>
#include <string_view>

namespace kx {

inline constexpr char AddOnsKey[] = "\\Software\\Tavlo\\GIS\\AddOns";
inline constexpr char AppliedAddOnsKey[] = "\\Software\\Tavlo\\GIS\\AppliedAddOns";

// Joins two key paths: empty parts are dropped and exactly one backslash
// stands between the two.
std::string JoinKey(std::string_view Left, std::string_view Right);

// Writes, for every add-on of the module in creation order, the key
// <base>\{ClassID} under HKEY_LOCAL_MACHINE with the Description as default
// value and "Active" = "1" or "0". The base is the AddOns key, or the
// AppliedAddOns key joined with Applied when that is given. Each add-on is
// saved before the next one is handled; raises on the first failure.
void RegisterAddOns(const char* Applied, bool Active);

}  // namespace kx
