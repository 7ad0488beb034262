// The module's COM server object: its class factories and the counts that
// decide whether the module may be unloaded.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "compat/com.h"

namespace kx {

class TKxAddonFactory;

class TComServer {
 public:
  TComServer();
  // Destroys the factories (and with them any add-on still attached).
  ~TComServer();
  TComServer(const TComServer&) = delete;
  TComServer& operator=(const TComServer&) = delete;

  TKxAddonFactory* AddFactory(std::unique_ptr<TKxAddonFactory> Factory);
  // Null when no factory serves ClassID.
  TKxAddonFactory* FindFactory(const GUID& ClassID) const;
  const std::vector<std::unique_ptr<TKxAddonFactory>>& Factories() const { return FFactories; }

  // References held on the factories from outside.
  int FactoryCount() const { return FFactoryCount; }
  int CountFactory(bool Increment);
  int ObjectCount() const;
  bool CanUnloadNow() const { return ObjectCount() == 0 && FactoryCount() == 0; }

  // Writes or removes, for every factory, HKEY_CLASSES_ROOT\CLSID\{ClassID}
  // with the description and its InprocServer32 with the module's path.
  // Raises on failure.
  void UpdateRegistry(bool Register) const;

  // Full path of the file this code was loaded from.
  static std::string ModuleFileName();

 private:
  std::vector<std::unique_ptr<TKxAddonFactory>> FFactories;
  int FFactoryCount = 0;
};

// The module's server object; null before CreateComServer and after
// DestroyComServer.
TComServer* ComServer();
TComServer& EnsureComServer();
void DestroyComServer();

}  // namespace kx
