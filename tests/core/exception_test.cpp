#include "core/exception.h"

#include <gtest/gtest.h>

namespace {

TEST(Exception, AssertionMessageNamesTextUnitAndLine) {
  EXPECT_EQ(core::AssertionMessage("Invalid params", "/a/b/geometry\\unit.cpp", 42),
            "Invalid params (unit.cpp, line 42)");
  try {
    TRACE_ASSERT_MSG(1 + 1 == 3, "Sum");
    FAIL() << "no exception";
  } catch (const core::EAssertionFailed& E) {
    EXPECT_EQ(E.Message(), "Sum (exception_test.cpp, line " + std::to_string(__LINE__ - 3) + ")");
  }
  EXPECT_NO_THROW(TRACE_ASSERT(true));
}

}  // namespace
