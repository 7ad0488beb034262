// Loading and unloading of the module as a shared library with Qt resources:
// static initialisation and destruction.
#include <QtGlobal>

#include "addon/module.h"

// Outside any namespace, as the resource initialiser is a global function.
// The resource registration of this library and the add-on's creation are
// both static initialisations; this makes sure the bitmaps come first.
static void InitResources() {
  Q_INIT_RESOURCE(trace);
}

namespace {

struct TTraceModule {
  TTraceModule() {
    InitResources();
    kx::StartTraceModule();
  }
  ~TTraceModule() { kx::StopTraceModule(); }
};

TTraceModule Module;

}  // namespace
