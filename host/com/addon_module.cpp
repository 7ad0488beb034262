#include "host/com/addon_module.h"

#include <dlfcn.h>

namespace host {

namespace {

template <class T>
T Entry(void* Handle, const char* Name, const std::string& Path) {
  void* P = dlsym(Handle, Name);
  if (!P) throw EHostError(Path + ": no entry point " + Name);
  return reinterpret_cast<T>(P);
}

}  // namespace

THostModule::THostModule(const std::string& Path) : FPath(Path) {
  FHandle = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char* Error = dlerror();
    throw EHostError(Error ? Error : ("Cannot load " + Path));
  }
  try {
    KxDllRegisterAddOn = Entry<TKxDllRegisterAddOn>(FHandle, "KxDllRegisterAddOn", Path);
    DllUnregisterServer = Entry<TDllFunction>(FHandle, "DllUnregisterServer", Path);
    DllRegisterServer = Entry<TDllFunction>(FHandle, "DllRegisterServer", Path);
    DllCanUnloadNow = Entry<TDllFunction>(FHandle, "DllCanUnloadNow", Path);
    DllGetClassObject = Entry<TDllGetClassObject>(FHandle, "DllGetClassObject", Path);
  } catch (...) {
    dlclose(FHandle);
    throw;
  }
}

THostModule::~THostModule() {
  TryUnload();
}

void* THostModule::Symbol(const char* Name) const {
  return FHandle ? dlsym(FHandle, Name) : nullptr;
}

bool THostModule::TryUnload() {
  if (!FHandle) return true;
  if (DllCanUnloadNow() != S_OK) return false;
  dlclose(FHandle);
  FHandle = nullptr;
  return true;
}

}  // namespace host
