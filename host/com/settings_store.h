// The host's persistent settings store: named text values in sections,
// kept in an INI file whose path the host chooses. The file is read once,
// when the store is created, and written whole through a temporary file
// and a rename after every change, so it is never left half written.
//
// The two leading arguments of ReadValue / WriteValue: the section (1: the
// user's settings, [User]; 0: the application's, [Application]) and the
// kind of value (0: text). Keys and values are UTF-8 in the file; "\\",
// "\n", "\r" and "=" are written as backslash escapes, and so is a ";",
// "#" or "[" that begins a key, so that every key written reads back.
//
// A file that cannot be read as such (a line without "=", a bad escape, a
// key outside any section, a repeated key, text that is not UTF-8, a last
// line without its end) is told once by LoadError, with the file's name and
// the line; the store then starts empty, so every value reads as its
// default, and the first change moves the damaged file aside (DamagedPath)
// before writing the new one.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "host/com/host_context.h"
#include "host/com/host_iids.h"
#include "host/com/host_object.h"
#include "hostapi/orvex_interfaces.h"

namespace host {

class THostSettingsStore
    : public THostDispatchObject<kx::IOrvexSettingsStore, IID_HostSettingsStore> {
 public:
  THostSettingsStore(THostContextPtr Context, std::string Path);

  HRESULT STDMETHODCALLTYPE ReadValue(std::int32_t Section, std::int32_t Kind,
                                      const kx::TKxText* Key, const kx::TKxText* Default,
                                      kx::TKxText* Value) override;
  HRESULT STDMETHODCALLTYPE WriteValue(std::int32_t Section, std::int32_t Kind,
                                       const kx::TKxText* Key, const kx::TKxText* Value) override;

  const std::string& Path() const { return FPath; }
  // Empty when the file was read (or did not exist), or once a change
  // replaced the damaged file.
  const std::string& LoadError() const { return FLoadError; }
  std::string DamagedPath() const;
  // UTF-8 key and value; raise EHostError like the COM calls fail.
  std::optional<std::string> Value(std::int32_t Section, const std::string& Key) const;
  void SetValue(std::int32_t Section, const std::string& Key, const std::string& Value);

  // The default path: TRACE_HOST_SETTINGS, else trace/host-settings.ini in
  // the user's configuration folder.
  static std::string DefaultPath();

 private:
  using TSections = std::map<std::string, std::map<std::string, std::string>>;
  static const char* SectionName(std::int32_t Section, std::int32_t Kind);
  void Load();
  void Save(const TSections& Data) const;

  THostContextPtr FContext;
  std::string FPath;
  std::string FLoadError;
  TSections FData;
};

}  // namespace host
