// The system's general exception and the assertion machinery.
//
// Every error of the kernel, the algebra and the trace engine is an exception
// derived from core::Exception carrying a UTF-8 message. Nothing below the
// host boundary catches; the boundary turns them into E_FAIL.
#pragma once

#include <stdexcept>
#include <string>

namespace core {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  std::string Message() const { return what(); }
};

// Failed precondition check; message "<text> (<unit>, line <n>)".
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
};

// Failed conversion or assignment between incompatible objects.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Builds "%s (%s, line %d)" from the assertion text, the source file's name
// (without its folders) and the line.
std::string AssertionMessage(const char* Text, const char* File, int Line);

[[noreturn]] void RaiseAssertion(const char* Text, const char* File, int Line);

}  // namespace core

// Precondition check that is always on.
#define TRACE_ASSERT_MSG(cond, text)                                 \
  do {                                                               \
    if (!(cond)) ::core::RaiseAssertion((text), __FILE__, __LINE__); \
  } while (0)

#define TRACE_ASSERT(cond) TRACE_ASSERT_MSG(cond, "Assertion failure")
