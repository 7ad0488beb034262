// The registry: the system's own on Windows; elsewhere a stand-in that keeps
// keys and string values in a text file in the ".reg" format. The stand-in
// writes every change to a temporary file that then replaces the old one, so
// a crash or a failed write never leaves the registry half written and never
// loses a key that was there.
#pragma once

#include <memory>
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
  // The stand-in reads FileName when it exists; a file that is not a
  // registry export is an error rather than something to overwrite. The
  // system registry has no file: FileName is empty there.
  explicit TRegistry(std::string FileName = DefaultFileName());
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // TRACE_REGISTRY_FILE, else registry.reg in the user's configuration
  // folder; empty for the system registry.
  static std::string DefaultFileName();

  const std::string& FileName() const;

  // Key paths: parts separated by single backslashes, compared without
  // regard to letter case; one leading and one trailing backslash are
  // allowed. An empty part raises ERegistryError.
  bool KeyExists(TRootKey Root, std::string_view Key) const;
  std::vector<std::string> SubKeys(TRootKey Root, std::string_view Key) const;
  // Name "" is the key's default value. Nothing when the key or the value is
  // missing or the value is not a string.
  std::optional<std::string> ReadString(TRootKey Root, std::string_view Key,
                                        std::string_view Name) const;

  // The stand-in keeps changes in memory until Save; the system registry
  // takes them at once and raises ERegistryError when it refuses one.
  void CreateKey(TRootKey Root, std::string_view Key);
  void WriteString(TRootKey Root, std::string_view Key, std::string_view Name,
                   std::string_view Value);
  // Removes the key with all its subkeys; false when there was none.
  bool DeleteKey(TRootKey Root, std::string_view Key);

  // The stand-in writes the whole registry atomically; raises
  // ERegistryError on failure, leaving the file as it was.
  void Save() const;

 private:
  struct TStore;  // the platform's own state
  std::unique_ptr<TStore> FStore;
};

}  // namespace compat
