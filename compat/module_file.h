// The module (shared library or program) that this code is linked into.
#pragma once

#include <string>

namespace compat {

// Its full path; empty when the system cannot tell.
std::string ModuleFileName();

// The path a class registration names: on Windows the short form when the
// path holds a blank (as a command line would split it there); elsewhere,
// where there is no short form, the path as it is.
std::string RegisteredModulePath(const std::string& Path);

// The module's instance handle, noted by the module's entry point on
// Windows (DllMain); null until then, and on other systems. The resources
// are loaded through it.
void SetModuleInstance(void* Instance);
void* ModuleInstance();

}  // namespace compat
