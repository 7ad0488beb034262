// Failures of host operations, and the guard that turns them into an
// HRESULT and a last-error text at the COM boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

#include "core/exception.h"
#include "compat/com.h"
#include "host/host_error_info.h"

namespace host {

class EHostError : public core::Exception {
 public:
  explicit EHostError(const std::string& Message, HRESULT ACode = E_FAIL)
      : Exception(Message), Code(ACode) {}
  HRESULT Code;
};

// Raises E_POINTER for a missing argument.
template <class T>
T& Required(T* Arg, const char* Name) {
  if (!Arg) throw EHostError(std::string("Не задан аргумент ") + Name, E_POINTER);
  return *Arg;
}

// Index as a vector position; E_INVALIDARG outside [0, Count).
inline std::size_t CheckIndex(std::int32_t Index, std::size_t Count, const char* What) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= Count)
    throw EHostError(std::string(What) + ": индекс " + std::to_string(Index) + " вне границ [0, " +
                         std::to_string(Count) + ")",
                     E_INVALIDARG);
  return static_cast<std::size_t>(Index);
}

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
