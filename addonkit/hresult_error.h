// Failures of calls into the host.
#pragma once

#include "compat/com.h"
#include "core/exception.h"

namespace kx {

// A host call returned a failure code; the message is the host's last error
// text, ". [", its source and "]".
class EHResultError : public core::Exception {
 public:
  EHResultError(const std::string& Message, HRESULT Code) : Exception(Message), FCode(Code) {}
  HRESULT Code() const { return FCode; }

 private:
  HRESULT FCode;
};

// A host object lacks an interface that the module needs.
class EIntfCastError : public core::Exception {
 public:
  using Exception::Exception;
};

// Raises EHResultError for a failure code; returns the code otherwise, so
// that S_FALSE can be told from S_OK.
HRESULT OleCheck(HRESULT Code);

}  // namespace kx
