// The registry stand-in: keys and string values kept in a text file in the
// ".reg" format. Every change is written to a temporary file that then
// replaces the old one, so a crash or a failed write never leaves the
// registry half written and never loses a key that was there.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exception.h"

namespace compat {

class ERegistryError : public core::Exception {
 public:
  using core::Exception::Exception;
};

enum class TRootKey { ClassesRoot, CurrentUser, LocalMachine };

class TRegistry {
 public:
  // Reads FileName when it exists; a file that is not a registry export is an
  // error rather than something to overwrite.
  explicit TRegistry(std::string FileName = DefaultFileName());

  // TRACE_REGISTRY_FILE, else registry.reg in the user's configuration folder.
  static std::string DefaultFileName();

  const std::string& FileName() const { return FFileName; }

  // Key paths: parts separated by single backslashes, compared without
  // regard to letter case; one leading and one trailing backslash are
  // allowed. An empty part raises ERegistryError.
  bool KeyExists(TRootKey Root, std::string_view Key) const;
  std::vector<std::string> SubKeys(TRootKey Root, std::string_view Key) const;
  // Name "" is the key's default value. Nothing when the key or the value is
  // missing or the value is not a string.
  std::optional<std::string> ReadString(TRootKey Root, std::string_view Key,
                                        std::string_view Name) const;

  // Changes stay in memory until Save.
  void CreateKey(TRootKey Root, std::string_view Key);
  void WriteString(TRootKey Root, std::string_view Key, std::string_view Name,
                   std::string_view Value);
  // Removes the key with all its subkeys; false when there was none.
  bool DeleteKey(TRootKey Root, std::string_view Key);

  // Writes the whole registry atomically; raises ERegistryError on failure,
  // leaving the file as it was.
  void Save() const;

 private:
  struct TValue {
    std::string Name;
    bool IsString = true;
    std::string Data;  // the text of a string, or the raw data of another type
  };
  struct TKeyLess {
    bool operator()(const std::string& A, const std::string& B) const;
  };
  using TKeys = std::map<std::string, std::vector<TValue>, TKeyLess>;

  static std::string FullPath(TRootKey Root, std::string_view Key);
  void Load();

  std::string FFileName;
  TKeys FKeys;
};

}  // namespace compat
