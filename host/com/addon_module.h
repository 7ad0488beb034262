// A module loaded by the host and its five entry points.
#pragma once

#include <string>

#include "compat/com.h"
#include "host/model/host_error.h"

namespace host {

class THostModule {
 public:
  using TKxDllRegisterAddOn = HRESULT(STDAPICALLTYPE*)(const char* Applied, BOOL Active);
  using TDllFunction = HRESULT(STDAPICALLTYPE*)();
  using TDllGetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID ClassID, REFIID Iid, void** Obj);

  // Loads the module; raises EHostError when it cannot be loaded or lacks an
  // entry point.
  explicit THostModule(const std::string& Path);
  // Unloads the module only when it says it can be; otherwise it stays, as
  // objects of it are still alive.
  ~THostModule();
  THostModule(const THostModule&) = delete;
  THostModule& operator=(const THostModule&) = delete;

  const std::string& Path() const { return FPath; }
  void* Handle() const { return FHandle; }
  // A symbol of the module, or null.
  void* Symbol(const char* Name) const;
  // Unloads now if the module allows it; true when it did.
  bool TryUnload();

  TKxDllRegisterAddOn KxDllRegisterAddOn = nullptr;
  TDllFunction DllUnregisterServer = nullptr;
  TDllFunction DllRegisterServer = nullptr;
  TDllFunction DllCanUnloadNow = nullptr;
  TDllGetClassObject DllGetClassObject = nullptr;

 private:
  std::string FPath;
  void* FHandle = nullptr;
};

}  // namespace host
