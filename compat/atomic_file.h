// Replacing a file as a whole: the bytes go to a temporary file beside the
// target, are flushed to the disk, and only then take the target's name, so
// a reader (or a restart after a crash) finds the old file or the new one,
// never a mixture. The temporary is removed when anything fails.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/exception.h"

namespace compat {

// A file that could not be written; the old file, if any, is as it was.
// Reason is the system's text ("No space left on device").
class EFileWriteError : public core::Exception {
 public:
  EFileWriteError(std::string APath, std::string AReason)
      : Exception("Cannot write " + APath + ": " + AReason),
        Path(std::move(APath)),
        Reason(std::move(AReason)) {}
  std::string Path;
  std::string Reason;
};

// Whether the file's folder is made when missing.
enum class TFolder { MustExist, Create };

// Writes Bytes as the whole content of Path, in its folder. An
// existing file keeps its permissions; a new one gets the usual ones for
// the process (0666 less the umask). A read-only file, or a file in a
// read-only folder, is refused even for the superuser, whom a rename would
// let through. Raises EFileWriteError.
void WriteFileAtomically(const std::string& Path, std::string_view Bytes,
                         TFolder Folder = TFolder::MustExist);

// For files written by a library that takes only a file name: a fresh
// name beside Target, with its extension (drivers go by it), checked as
// WriteFileAtomically checks a target. Nothing is created. Raises
// EFileWriteError.
std::string ReplacementName(const std::string& Target);

// Each From, complete and closed, synced and then renamed over its To (one
// folder); on a failure the Froms not yet renamed stay for the caller to
// remove. Raises EFileWriteError naming the To.
void ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& FromTo);

}  // namespace compat
