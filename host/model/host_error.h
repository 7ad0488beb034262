// Failures of host operations: an exception with the HRESULT the COM
// boundary answers with (com/host_call.h turns it into the answer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "compat/com.h"
#include "core/exception.h"

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

}  // namespace host
