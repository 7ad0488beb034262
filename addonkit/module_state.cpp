#include "addonkit/module_state.h"

namespace kx {

TKxModuleState& ModuleState() {
  static TKxModuleState State;
  return State;
}

}  // namespace kx
