// Reading a whole file by a UTF-8 path, on any system.
#pragma once

#include <filesystem>
#include <string>

namespace host {

// A path from UTF-8 text, whatever the system's narrow encoding.
inline std::filesystem::path Utf8Path(const std::string& Text) {
  return std::filesystem::path(std::u8string(Text.begin(), Text.end()));
}

// The bytes of the file at Path; false with the system's reason when it
// cannot be read (a folder cannot).
bool ReadFileBytes(const std::string& Path, std::string& Bytes, std::string& Reason);

}  // namespace host
