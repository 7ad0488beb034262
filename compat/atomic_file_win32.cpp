// Whole-file replacement on Windows: a fresh file beside the target, written
// and flushed, then moved over the target with a write-through move.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "compat/atomic_file.h"
#include "compat/win32_text.h"

namespace compat {

namespace {

std::string TemporaryName(const std::string& Path) {
  static std::atomic<unsigned> Counter{0};
  return Path + ".tmp." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(Counter++);
}

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of("/\\");
  if (Slash == std::string::npos) return ".";
  return Path.substr(0, Slash == 0 ? 1 : Slash);
}

bool Exists(const std::string& Path) {
  return GetFileAttributesW(Widen(Path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A read-only target, or a folder that is missing, raises.
void CheckWritable(const std::string& Path) {
  const DWORD Target = GetFileAttributesW(Widen(Path).c_str());
  if (Target != INVALID_FILE_ATTRIBUTES && (Target & FILE_ATTRIBUTE_READONLY))
    throw EFileWriteError(Path, SystemMessage(ERROR_ACCESS_DENIED));
  const DWORD Folder = GetFileAttributesW(Widen(FolderOf(Path)).c_str());
  if (Folder == INVALID_FILE_ATTRIBUTES) throw EFileWriteError(Path, SystemMessage(GetLastError()));
}

class TTemporary {
 public:
  explicit TTemporary(const std::string& Target) {
    for (int Attempt = 0; Attempt < 16 && FHandle == INVALID_HANDLE_VALUE; ++Attempt) {
      FPath = TemporaryName(Target);
      FHandle = CreateFileW(Widen(FPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      if (FHandle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (FHandle == INVALID_HANDLE_VALUE)
      throw EFileWriteError(Target, SystemMessage(GetLastError()));
  }
  TTemporary(const TTemporary&) = delete;
  TTemporary& operator=(const TTemporary&) = delete;
  // Not moved: the partial file goes.
  ~TTemporary() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
    if (!FMoved) DeleteFileW(Widen(FPath).c_str());
  }

  // 0 or the first failure's code.
  DWORD Write(std::string_view Bytes) {
    while (!Bytes.empty()) {
      const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Bytes.size(), 1u << 30));
      DWORD Written = 0;
      if (!WriteFile(FHandle, Bytes.data(), Chunk, &Written, nullptr)) return GetLastError();
      Bytes.remove_prefix(Written);
    }
    return 0;
  }
  DWORD FlushAndClose() {
    const DWORD Flushed = FlushFileBuffers(FHandle) ? 0 : GetLastError();
    const DWORD Closed = CloseHandle(FHandle) ? 0 : GetLastError();
    FHandle = INVALID_HANDLE_VALUE;
    return Flushed ? Flushed : Closed;
  }
  DWORD MoveTo(const std::string& Target) {
    if (!MoveFileExW(Widen(FPath).c_str(), Widen(Target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return GetLastError();
    FMoved = true;
    return 0;
  }

 private:
  std::string FPath;
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  bool FMoved = false;
};

}  // namespace

std::string ReplacementName(const std::string& Target) {
  CheckWritable(Target);
  const std::filesystem::path P(Target);
  const std::string Ext = P.extension().string();
  for (int Attempt = 0; Attempt < 16; ++Attempt) {
    std::string Name = TemporaryName(Target.substr(0, Target.size() - Ext.size())) + Ext;
    if (!Exists(Name)) return Name;
  }
  throw EFileWriteError(Target, SystemMessage(ERROR_FILE_EXISTS));
}

void ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& FromTo) {
  for (const auto& [From, To] : FromTo) {
    const HANDLE H = CreateFileW(Widen(From).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (H == INVALID_HANDLE_VALUE) throw EFileWriteError(To, SystemMessage(GetLastError()));
    const DWORD Flushed = FlushFileBuffers(H) ? 0 : GetLastError();
    CloseHandle(H);
    if (Flushed) throw EFileWriteError(To, SystemMessage(Flushed));
  }
  for (const auto& [From, To] : FromTo)
    if (!MoveFileExW(Widen(From).c_str(), Widen(To).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw EFileWriteError(To, SystemMessage(GetLastError()));
}

void WriteFileAtomically(const std::string& Path, std::string_view Bytes, TFolder Folder) {
  if (Folder == TFolder::Create) {
    std::error_code Ignored;  // a folder that cannot be made fails below, saying why
    std::filesystem::create_directories(std::filesystem::u8path(FolderOf(Path)), Ignored);
  }
  CheckWritable(Path);
  TTemporary Temp(Path);
  DWORD Error = Temp.Write(Bytes);
  if (!Error) Error = Temp.FlushAndClose();
  if (!Error) Error = Temp.MoveTo(Path);
  if (Error) throw EFileWriteError(Path, SystemMessage(Error));
}

}  // namespace compat
