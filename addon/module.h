// The module's life: the COM server object, the module's cursors and the
// trace add-on come to life when the module is loaded; at unload the add-on
// goes first and the class factories after it. Each platform calls these
// from its own load and unload hook.
#pragma once

namespace kx {

// Nothing escapes: a module that failed to start simply offers no add-on.
void StartTraceModule() noexcept;
void StopTraceModule() noexcept;

}  // namespace kx
