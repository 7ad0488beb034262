// Loading and unloading of the module as a Windows DLL: the system calls
// DllMain, which notes the module's instance (its resources are loaded
// through it) before the add-on comes to life.
#include <windows.h>

#include "addon/module.h"
#include "compat/module_file.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  switch (Reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(Instance);
      compat::SetModuleInstance(Instance);
      kx::StartTraceModule();
      break;
    case DLL_PROCESS_DETACH:
      kx::StopTraceModule();
      compat::SetModuleInstance(nullptr);
      break;
    default:
      break;
  }
  return TRUE;
}
