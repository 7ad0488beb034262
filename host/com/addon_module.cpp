#include "host/com/addon_module.h"

#include "host/com/module_loader.h"

namespace host {

namespace {

template <class T>
T Entry(void* Handle, const char* Name, const std::string& Path) {
  void* P = ModuleSymbol(Handle, Name);
  if (!P) throw EHostError(Path + ": no entry point " + Name);
  return reinterpret_cast<T>(P);
}

}  // namespace

THostModule::THostModule(const std::string& Path) : FPath(Path) {
  FHandle = LoadModuleFile(Path);
  try {
    KxDllRegisterAddOn = Entry<TKxDllRegisterAddOn>(FHandle, "KxDllRegisterAddOn", Path);
    DllUnregisterServer = Entry<TDllFunction>(FHandle, "DllUnregisterServer", Path);
    DllRegisterServer = Entry<TDllFunction>(FHandle, "DllRegisterServer", Path);
    DllCanUnloadNow = Entry<TDllFunction>(FHandle, "DllCanUnloadNow", Path);
    DllGetClassObject = Entry<TDllGetClassObject>(FHandle, "DllGetClassObject", Path);
  } catch (...) {
    FreeModuleFile(FHandle);
    throw;
  }
}

THostModule::~THostModule() {
  TryUnload();
}

void* THostModule::Symbol(const char* Name) const {
  return FHandle ? ModuleSymbol(FHandle, Name) : nullptr;
}

bool THostModule::TryUnload() {
  if (!FHandle) return true;
  if (DllCanUnloadNow() != S_OK) return false;
  FreeModuleFile(FHandle);
  FHandle = nullptr;
  return true;
}

}  // namespace host
