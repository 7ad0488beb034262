// The guard at the COM boundary: a host operation's exception becomes an
// HRESULT and a last-error text, so none reaches the add-on.
#pragma once

#include <exception>
#include <new>

#include "host/com/host_error_info.h"
#include "host/model/host_error.h"

namespace host {

// Runs Body (which returns an HRESULT); an exception becomes a failure code
// with its text in Errors, so none crosses the boundary.
template <class F>
HRESULT HostCall(THostErrorInfo& Errors, const char* Source, F&& Body) noexcept {
  try {
    return Body();
  } catch (const EHostError& E) {
    Errors.Report(Source, E.what());
    return E.Code;
  } catch (const std::bad_alloc&) {
    Errors.Report(Source, "Недостаточно памяти");
    return E_OUTOFMEMORY;
  } catch (const std::exception& E) {
    Errors.Report(Source, E.what());
    return E_FAIL;
  } catch (...) {
    Errors.Report(Source, "Неизвестная ошибка");
    return E_FAIL;
  }
}

}  // namespace host
