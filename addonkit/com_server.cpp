#include "addonkit/com_server.h"

#include "addonkit/addon_factory.h"
#include "addonkit/module_state.h"
#include "compat/module_file.h"
#include "compat/registry.h"

namespace kx {

namespace {

std::unique_ptr<TComServer>& ServerSlot() {
  static std::unique_ptr<TComServer> Server;
  return Server;
}

}  // namespace

TComServer::TComServer() = default;

TComServer::~TComServer() {
  // Last registered first, the reverse of creation.
  while (!FFactories.empty()) FFactories.pop_back();
}

TKxAddonFactory* TComServer::AddFactory(std::unique_ptr<TKxAddonFactory> Factory) {
  FFactories.push_back(std::move(Factory));
  return FFactories.back().get();
}

TKxAddonFactory* TComServer::FindFactory(const GUID& ClassID) const {
  for (const auto& F : FFactories)
    if (F->ClassID == ClassID) return F.get();
  return nullptr;
}

int TComServer::CountFactory(bool Increment) {
  return Increment ? ++FFactoryCount : --FFactoryCount;
}

int TComServer::ObjectCount() const {
  return ModuleState().ObjectCount;
}

void TComServer::UpdateRegistry(bool Register) const {
  compat::TRegistry Registry;
  const std::string Path = compat::RegisteredModulePath(ModuleFileName());
  for (const auto& F : FFactories) {
    const std::string Key = "CLSID\\" + compat::GuidToString(F->ClassID);
    if (Register) {
      Registry.WriteString(compat::TRootKey::ClassesRoot, Key, "", F->Description);
      Registry.WriteString(compat::TRootKey::ClassesRoot, Key + "\\InprocServer32", "", Path);
    } else {
      Registry.DeleteKey(compat::TRootKey::ClassesRoot, Key);
    }
  }
  Registry.Save();
}

std::string TComServer::ModuleFileName() {
  return compat::ModuleFileName();
}

TComServer* ComServer() {
  return ServerSlot().get();
}

TComServer& EnsureComServer() {
  auto& Slot = ServerSlot();
  if (!Slot) Slot = std::make_unique<TComServer>();
  return *Slot;
}

void DestroyComServer() {
  ServerSlot().reset();
}

}  // namespace kx
