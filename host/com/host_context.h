// What the host's COM objects share: the project and the last-error slot.
// Results handed to add-ons keep it alive, so they stay usable (and can
// report failures) after the manager is gone.
#pragma once

#include <memory>

#include "host/com/host_error_info.h"
#include "host/model/map_model.h"

namespace host {

struct THostContext {
  THostErrorInfo ErrorInfo;
  THostProject Project;
};

using THostContextPtr = std::shared_ptr<THostContext>;

}  // namespace host
