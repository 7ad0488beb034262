#include <dlfcn.h>

#include "host/com/module_loader.h"
#include "host/model/host_error.h"

namespace host {

void* LoadModuleFile(const std::string& Path) {
  void* Handle = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!Handle) {
    const char* Error = dlerror();
    throw EHostError(Error ? Error : ("Cannot load " + Path));
  }
  return Handle;
}

void* ModuleSymbol(void* Handle, const char* Name) {
  return dlsym(Handle, Name);
}

void FreeModuleFile(void* Handle) {
  dlclose(Handle);
}

}  // namespace host
