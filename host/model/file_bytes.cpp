#include "host/model/file_bytes.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace host {

bool ReadFileBytes(const std::string& Path, std::string& Bytes, std::string& Reason) {
  const std::filesystem::path File = Utf8Path(Path);
  std::error_code Error;
  if (std::filesystem::is_directory(File, Error)) {
    Reason = std::make_error_code(std::errc::is_a_directory).message();
    return false;
  }
  errno = 0;
  std::ifstream In(File, std::ios::binary);
  if (!In) {
    Reason = std::error_code(errno ? errno : ENOENT, std::generic_category()).message();
    return false;
  }
  Bytes.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  if (In.bad()) {
    Reason = std::make_error_code(std::errc::io_error).message();
    return false;
  }
  return true;
}

}  // namespace host
