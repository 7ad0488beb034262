// The module-wide trace state, apart from the add-on object, so that the
// pad's model and the editor can use it without the add-on's bitmap and
// stream code (which needs the platform's image support).
#include "addon/trace_addon.h"

namespace kx {

TTraceAddOn* TraceAddOn = nullptr;
TTracePadLink* TracePadForm = nullptr;
TTracePadCreator TracePadCreator = nullptr;
TKxID NewObjectStyleID{};
TKxID NewObjectLayerID{};

}  // namespace kx
