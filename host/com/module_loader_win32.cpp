#include <windows.h>

#include "compat/win32_text.h"
#include "host/com/module_loader.h"
#include "host/model/host_error.h"

namespace host {

void* LoadModuleFile(const std::string& Path) {
  const HMODULE Module = LoadLibraryW(compat::Widen(Path).c_str());
  if (!Module)
    throw EHostError("Cannot load " + Path + ": " + compat::SystemMessage(GetLastError()));
  return reinterpret_cast<void*>(Module);
}

void* ModuleSymbol(void* Handle, const char* Name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(Handle), Name));
}

void FreeModuleFile(void* Handle) {
  FreeLibrary(static_cast<HMODULE>(Handle));
}

}  // namespace host
