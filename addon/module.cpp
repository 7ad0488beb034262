#include "addon/module.h"

#include "addon/trace_addon.h"
#include "addonkit/com_server.h"
#include "addonkit/cursors.h"

namespace kx {

void StartTraceModule() noexcept {
  try {
    EnsureComServer();
    RegisterModuleCursors();
    // Owned by its class factory link; destroyed explicitly at unload, first.
    TraceAddOn = new TTraceAddOn;
  } catch (...) {
  }
}

void StopTraceModule() noexcept {
  delete TraceAddOn;
  DestroyComServer();
}

}  // namespace kx
