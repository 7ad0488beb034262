#include <windows.h>

#include "compat/module_file.h"
#include "compat/win32_text.h"

namespace compat {

namespace {

HINSTANCE Instance = nullptr;

// The module holding this code when DllMain has not named it (a program).
HMODULE ContainingModule() {
  HMODULE Module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ContainingModule), &Module);
  return Module;
}

}  // namespace

std::string ModuleFileName() {
  const HMODULE Module = Instance ? Instance : ContainingModule();
  std::wstring Path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD N = GetModuleFileNameW(Module, Path.data(), static_cast<DWORD>(Path.size()));
    if (N == 0) return {};
    if (N < Path.size()) {
      Path.resize(N);
      return Narrow(Path);
    }
    Path.resize(Path.size() * 2);
  }
}

std::string RegisteredModulePath(const std::string& Path) {
  if (Path.find(' ') == std::string::npos) return Path;
  const std::wstring Long = Widen(Path);
  const DWORD N = GetShortPathNameW(Long.c_str(), nullptr, 0);
  if (N == 0) return Path;  // no short names on this volume: the path as it is
  std::wstring Short(N, L'\0');
  const DWORD M = GetShortPathNameW(Long.c_str(), Short.data(), N);
  if (M == 0 || M >= N) return Path;
  Short.resize(M);
  return Narrow(Short);
}

void SetModuleInstance(void* AInstance) {
  Instance = static_cast<HINSTANCE>(AInstance);
}

void* ModuleInstance() {
  return Instance;
}

}  // namespace compat
