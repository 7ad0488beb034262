// Loading and unloading of the module: the COM server object, the module's
// cursors and the trace add-on come to life when the module is loaded; at
// unload the add-on goes first and the class factories after it.
#include <QtGlobal>

#include "addon/trace_addon.h"
#include "addonkit/com_server.h"
#include "addonkit/cursors.h"

// Outside any namespace, as the resource initialiser is a global function.
// The resource registration of this library and the add-on's creation are
// both static initialisations; this makes sure the bitmaps come first.
static void InitResources() {
  Q_INIT_RESOURCE(trace);
}

namespace {

struct TTraceModule {
  TTraceModule() {
    // Nothing may escape into the host's dlopen; a module that failed to
    // start simply offers no add-on.
    try {
      InitResources();
      kx::EnsureComServer();
      kx::RegisterModuleCursors();
      // Owned by its class factory link; destroyed explicitly below, first.
      kx::TraceAddOn = new kx::TTraceAddOn;
    } catch (...) {
    }
  }
  ~TTraceModule() {
    delete kx::TraceAddOn;
    kx::DestroyComServer();
  }
};

TTraceModule Module;

}  // namespace
