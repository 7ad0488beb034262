#include "compat/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace compat {

namespace {

// The POSIX version: create a fresh file, write, sync, rename, remove
// (atomic_file_win32.cpp is the Windows one).

std::string SystemReason(int Error) {
  return std::generic_category().message(Error);
}

// A name no other writer (thread or process) of the same target takes.
std::string TemporaryName(const std::string& Path) {
  static std::atomic<unsigned> Counter{0};
  return Path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(Counter++);
}

class TTemporary {
 public:
  explicit TTemporary(const std::string& Target) {
    for (int Attempt = 0; Attempt < 16 && FFd < 0; ++Attempt) {
      FPath = TemporaryName(Target);
      FFd = ::open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (FFd < 0 && errno != EEXIST) break;
    }
    if (FFd < 0) throw EFileWriteError(Target, SystemReason(errno));
  }
  TTemporary(const TTemporary&) = delete;
  TTemporary& operator=(const TTemporary&) = delete;
  // Not renamed: the partial file goes.
  ~TTemporary() {
    if (FFd >= 0) ::close(FFd);
    if (!FRenamed) ::unlink(FPath.c_str());
  }

  // 0 or the errno of the first failure.
  int Write(std::string_view Bytes) {
    while (!Bytes.empty()) {
      const ssize_t N = ::write(FFd, Bytes.data(), Bytes.size());
      if (N < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      Bytes.remove_prefix(static_cast<std::size_t>(N));
    }
    return 0;
  }
  int KeepModeOf(const std::string& Target) {
    struct stat St {};
    if (::stat(Target.c_str(), &St) != 0) return 0;  // a new file
    return ::fchmod(FFd, St.st_mode & 07777) == 0 ? 0 : errno;
  }
  int SyncAndClose() {
    const int Synced = ::fsync(FFd) == 0 ? 0 : errno;
    const int Closed = ::close(FFd) == 0 ? 0 : errno;
    FFd = -1;
    return Synced ? Synced : Closed;
  }
  int RenameTo(const std::string& Target) {
    if (::rename(FPath.c_str(), Target.c_str()) != 0) return errno;
    FRenamed = true;
    return 0;
  }

 private:
  std::string FPath;
  int FFd = -1;
  bool FRenamed = false;
};

// 0 when this process may change Path, else why not. The superuser passes
// every access check, so for it a file or folder without any write
// permission bit counts as read-only too: a rename would silently defeat
// the mode (a rename asks only the folder, so the file is checked here).
int WriteRefusal(const std::string& Path) {
  if (::access(Path.c_str(), W_OK) != 0) return errno;
  struct stat St {};
  if (::stat(Path.c_str(), &St) != 0) return errno;
  const bool NoWriteBit = (St.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  return ::geteuid() == 0 && NoWriteBit ? EACCES : 0;
}

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of('/');
  if (Slash == std::string::npos) return ".";
  return Path.substr(0, Slash == 0 ? 1 : Slash);
}

// The rename is durable once the folder's entry is on the disk; a folder
// that cannot be synced (some file systems refuse) loses nothing already
// written, so that is not a failure.
void SyncFolderOf(const std::string& Path) {
  const int Fd = ::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
}

// A read-only target, or a folder where nothing can be made, raises.
void CheckWritable(const std::string& Path) {
  struct stat St {};
  int Refusal = ::stat(Path.c_str(), &St) == 0 ? WriteRefusal(Path) : 0;
  if (!Refusal) Refusal = WriteRefusal(FolderOf(Path));
  if (Refusal) throw EFileWriteError(Path, SystemReason(Refusal));
}

}  // namespace

std::string ReplacementName(const std::string& Target) {
  CheckWritable(Target);
  const std::filesystem::path P(Target);
  const std::string Ext = P.extension().string();
  std::string Name;
  for (int Attempt = 0; Attempt < 16; ++Attempt) {
    Name = TemporaryName(Target.substr(0, Target.size() - Ext.size())) + Ext;
    struct stat St {};
    if (::lstat(Name.c_str(), &St) != 0) return Name;
  }
  throw EFileWriteError(Target, SystemReason(EEXIST));
}

void ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& FromTo) {
  for (const auto& [From, To] : FromTo) {
    const int Fd = ::open(From.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) throw EFileWriteError(To, SystemReason(errno));
    const int Synced = ::fsync(Fd) == 0 ? 0 : errno;
    ::close(Fd);
    if (Synced) throw EFileWriteError(To, SystemReason(Synced));
  }
  for (const auto& [From, To] : FromTo)
    if (::rename(From.c_str(), To.c_str()) != 0) throw EFileWriteError(To, SystemReason(errno));
  if (!FromTo.empty()) SyncFolderOf(FromTo.front().second);
}

void WriteFileAtomically(const std::string& Path, std::string_view Bytes, TFolder Folder) {
  if (Folder == TFolder::Create) {
    std::error_code Ignored;  // a folder that cannot be made fails below, saying why
    std::filesystem::create_directories(FolderOf(Path), Ignored);
  }
  CheckWritable(Path);
  TTemporary Temp(Path);
  int Error = Temp.Write(Bytes);
  if (!Error) Error = Temp.KeepModeOf(Path);
  if (!Error) Error = Temp.SyncAndClose();
  if (!Error) Error = Temp.RenameTo(Path);
  if (Error) throw EFileWriteError(Path, SystemReason(Error));
  SyncFolderOf(Path);
}

}  // namespace compat
