// Loading a module file, one file per system: dlopen on Linux, LoadLibraryW
// on Windows.
#pragma once

#include <string>

namespace host {

// The module's handle; raises EHostError with the system's reason.
void* LoadModuleFile(const std::string& Path);
// A symbol of the module, or null.
void* ModuleSymbol(void* Handle, const char* Name);
void FreeModuleFile(void* Handle);

}  // namespace host
