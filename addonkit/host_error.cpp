#include "addonkit/host_error.h"

#include "addonkit/module_state.h"

namespace kx {

void ReportError(std::string_view Source, std::string_view Message) noexcept {
  try {
    IKxErrorInfo* Info = ModuleState().ErrorInfo.Get();
    if (!Info) return;
    const TKxText S = TKxText::FromUtf8(Source);
    const TKxText M = TKxText::FromUtf8(Message);
    Info->SetLastError(&S, &M);
  } catch (...) {
    // The report itself must not break the guard.
  }
}

}  // namespace kx
