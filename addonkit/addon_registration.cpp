#include "addonkit/addon_registration.h"

#include "addonkit/custom_addon.h"
#include "addonkit/module_state.h"
#include "compat/registry.h"

namespace kx {

std::string JoinKey(std::string_view Left, std::string_view Right) {
  if (Left.empty()) return std::string(Right);
  if (Right.empty()) return std::string(Left);
  const bool LeftSep = Left.back() == '\\';
  const bool RightSep = Right.front() == '\\';
  if (LeftSep && RightSep) return std::string(Left) + std::string(Right.substr(1));
  if (LeftSep || RightSep) return std::string(Left) + std::string(Right);
  return std::string(Left) + '\\' + std::string(Right);
}

void RegisterAddOns(const char* Applied, bool Active) {
  const std::string Base = (Applied && *Applied) ? JoinKey(AppliedAddOnsKey, Applied) : AddOnsKey;
  // A copy: registering must not be disturbed by add-ons coming or going.
  const std::vector<TKxCustomAddon*> AddOns = ModuleState().AddOns;
  for (TKxCustomAddon* Addon : AddOns) {
    TKxAddOnInfo Info{};
    Addon->GetInfo(Info);
    const std::string Key = JoinKey(Base, compat::GuidToString(Info.ClassID));
    try {
      compat::TRegistry Registry;
      Registry.CreateKey(compat::TRootKey::LocalMachine, Key);
      Registry.WriteString(compat::TRootKey::LocalMachine, Key, "", Info.Description.ToUtf8());
      Registry.WriteString(compat::TRootKey::LocalMachine, Key, "Active", Active ? "1" : "0");
      Registry.Save();
    } catch (const compat::ERegistryError&) {
      throw core::Exception("Ошибка при регистрации расширения");
    }
  }
}

}  // namespace kx
