// The error convention of every method that the host calls on an add-on
// object: nothing escapes; a failure is reported through IKxErrorInfo and
// returned as E_FAIL.
#pragma once

#include <exception>
#include <string_view>
#include <type_traits>

#include "compat/com.h"

namespace kx {

// Reports Source and Message (UTF-8; cut to 255 characters in cp1251) with
// IKxErrorInfo.SetLastError; nothing when the module holds no IKxErrorInfo.
// Never raises.
void ReportError(std::string_view Source, std::string_view Message) noexcept;

// Runs Body; S_OK (or the code Body returns) on success, E_FAIL after
// reporting any exception under Source.
template <class F>
HRESULT HostCallGuard(std::string_view Source, F&& Body) noexcept {
  try {
    if constexpr (std::is_same_v<std::invoke_result_t<F>, HRESULT>) {
      return Body();
    } else {
      Body();
      return S_OK;
    }
  } catch (const std::exception& E) {
    ReportError(Source, E.what());
  } catch (...) {
    ReportError(Source, "Unknown exception");
  }
  return E_FAIL;
}

}  // namespace kx
