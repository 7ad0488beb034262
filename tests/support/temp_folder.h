// A fresh folder for one test (and reading a file whole), named after the process and the test so
// that suites running at once do not meet, and removed with it.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>
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

  // A file's whole content; empty when it cannot be read.
  static std::string Text(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }

  std::filesystem::path Path;
};

}  // namespace support
