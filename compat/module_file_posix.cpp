#include <dlfcn.h>

#include <climits>
#include <cstdlib>

#include "compat/module_file.h"

namespace compat {

namespace {
void* Instance = nullptr;
}

std::string ModuleFileName() {
  Dl_info Info{};
  if (!dladdr(reinterpret_cast<const void*>(&ModuleFileName), &Info) || !Info.dli_fname) return {};
  char Full[PATH_MAX];
  return realpath(Info.dli_fname, Full) ? std::string(Full) : std::string(Info.dli_fname);
}

std::string RegisteredModulePath(const std::string& Path) {
  return Path;
}

void SetModuleInstance(void* AInstance) {
  Instance = AInstance;
}

void* ModuleInstance() {
  return Instance;
}

}  // namespace compat
