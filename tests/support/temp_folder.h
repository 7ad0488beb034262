// A fresh folder for one test, named after the process and the test so that
// suites running at once do not meet, and removed with it.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <system_error>

namespace support {

class TTempFolder {
 public:
  TTempFolder() {
    Path = std::filesystem::temp_directory_path() /
           ("trace_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TTempFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(Path, Ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  std::filesystem::path operator/(const std::string& Name) const { return Path / Name; }

  std::filesystem::path Path;
};

}  // namespace support
