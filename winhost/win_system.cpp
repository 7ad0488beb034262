#include "winhost/win_system.h"

#include "compat/win32_text.h"
#include "winhost/win_steps.h"

namespace winhost {

namespace {

// An open registry key, closed at the end of its scope.
class TKey {
 public:
  TKey(HKEY Root, const std::wstring& Key) {
    if (RegOpenKeyExW(Root, Key.c_str(), 0, KEY_READ, &FKey) != ERROR_SUCCESS) FKey = nullptr;
  }
  ~TKey() {
    if (FKey) RegCloseKey(FKey);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY Get() const { return FKey; }

 private:
  HKEY FKey = nullptr;
};

}  // namespace

std::optional<std::wstring> RegString(HKEY Root, const std::wstring& Key, const wchar_t* Name) {
  const TKey K(Root, Key);
  if (!K.Get()) return std::nullopt;
  DWORD Type = 0, Size = 0;
  if (RegQueryValueExW(K.Get(), Name, nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS ||
      (Type != REG_SZ && Type != REG_EXPAND_SZ))
    return std::nullopt;
  std::wstring Value(Size / sizeof(wchar_t) + 1, L'\0');
  Size = static_cast<DWORD>(Value.size() * sizeof(wchar_t));
  if (RegQueryValueExW(K.Get(), Name, nullptr, &Type, reinterpret_cast<BYTE*>(Value.data()),
                       &Size) != ERROR_SUCCESS)
    return std::nullopt;
  Value.resize(Size / sizeof(wchar_t));
  while (!Value.empty() && Value.back() == L'\0') Value.pop_back();
  return Value;
}

bool RegKeyExists(HKEY Root, const std::wstring& Key) {
  return TKey(Root, Key).Get() != nullptr;
}

// The names Enum gives, by index, until it fails (value names are at most
// 16383 characters, key names 255).
template <class TEnum>
std::vector<std::wstring> RegNames(HKEY Root, const std::wstring& Key, TEnum Enum) {
  std::vector<std::wstring> Names;
  const TKey K(Root, Key);
  if (!K.Get()) return Names;
  std::wstring Name(16384, L'\0');
  for (DWORD I = 0;; ++I) {
    DWORD Length = static_cast<DWORD>(Name.size());
    if (Enum(K.Get(), I, Name.data(), &Length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    Names.emplace_back(Name.data(), Length);
  }
  return Names;
}

std::vector<std::wstring> RegValueNames(HKEY Root, const std::wstring& Key) {
  return RegNames(Root, Key, RegEnumValueW);
}

std::vector<std::wstring> RegSubKeys(HKEY Root, const std::wstring& Key) {
  return RegNames(Root, Key, RegEnumKeyExW);
}

DWORD RunProcess(const std::wstring& CommandLine) {
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Process{};
  std::wstring Line = CommandLine;  // CreateProcessW may write to it
  if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup,
                      &Process))
    throw EStepFailed(
        HRESULT_FROM_WIN32(GetLastError()),
        "cannot start " + Utf8(CommandLine) + ": " + compat::SystemMessage(GetLastError()));
  WaitForSingleObject(Process.hProcess, INFINITE);
  DWORD Code = 0;
  GetExitCodeProcess(Process.hProcess, &Code);
  CloseHandle(Process.hThread);
  CloseHandle(Process.hProcess);
  return Code;
}

std::wstring FullPath(const std::wstring& Path) {
  const DWORD N = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
  if (N == 0) return Path;
  std::wstring Full(N, L'\0');
  const DWORD Got = GetFullPathNameW(Path.c_str(), N, Full.data(), nullptr);
  Full.resize(Got);
  return Full;
}

std::wstring ShortPath(const std::wstring& Path) {
  const DWORD N = GetShortPathNameW(Path.c_str(), nullptr, 0);
  if (N == 0) return Path;
  std::wstring Short(N, L'\0');
  const DWORD Got = GetShortPathNameW(Path.c_str(), Short.data(), N);
  Short.resize(Got);
  return Short;
}

bool SameText(const std::wstring& A, const std::wstring& B) {
  return CompareStringOrdinal(A.c_str(), static_cast<int>(A.size()), B.c_str(),
                              static_cast<int>(B.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Wide(const std::string& Utf8) {
  return compat::Widen(Utf8);
}

std::string Utf8(const std::wstring& Text) {
  return compat::Narrow(Text);
}

TMainWindow::TMainWindow() {
  static const wchar_t ClassName[] = L"TraceWinTestHost";
  WNDCLASSW Class{};
  Class.lpfnWndProc = DefWindowProcW;
  Class.hInstance = GetModuleHandleW(nullptr);
  Class.lpszClassName = ClassName;
  RegisterClassW(&Class);  // a second registration fails harmlessly
  FHandle = CreateWindowExW(0, ClassName, L"Trace test host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 800, 600, nullptr, nullptr, Class.hInstance, nullptr);
}

TMainWindow::~TMainWindow() {
  if (FHandle) DestroyWindow(FHandle);
}

}  // namespace winhost
