// What the test host asks of Windows directly: registry values by the
// Win32 API, processes, paths and a main window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace winhost {

// A string value (Name null: the key's default); nothing when the key or the
// value is missing or the value is not a string.
std::optional<std::wstring> RegString(HKEY Root, const std::wstring& Key, const wchar_t* Name);
bool RegKeyExists(HKEY Root, const std::wstring& Key);
std::vector<std::wstring> RegValueNames(HKEY Root, const std::wstring& Key);
std::vector<std::wstring> RegSubKeys(HKEY Root, const std::wstring& Key);

// Runs CommandLine, waits for it and returns its exit code; raises
// EStepFailed when it cannot be started.
DWORD RunProcess(const std::wstring& CommandLine);

// The full path of Path (a rooted path takes the current drive); its short
// form, when the system gives one.
std::wstring FullPath(const std::wstring& Path);
std::wstring ShortPath(const std::wstring& Path);
bool SameText(const std::wstring& A, const std::wstring& B);  // letter case aside

std::wstring Wide(const std::string& Utf8);
std::string Utf8(const std::wstring& Text);

// A hidden top-level window to give the add-on as the host's main window.
class TMainWindow {
 public:
  TMainWindow();
  ~TMainWindow();
  TMainWindow(const TMainWindow&) = delete;
  TMainWindow& operator=(const TMainWindow&) = delete;
  HWND Handle() const { return FHandle; }

 private:
  HWND FHandle = nullptr;
};

}  // namespace winhost
