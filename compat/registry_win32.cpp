// The system registry behind TRegistry: every change goes to the registry at
// once, so Save has nothing left to do.
#include <windows.h>

#include "compat/registry.h"
#include "compat/win32_text.h"

namespace compat {

namespace {

HKEY RootHandle(TRootKey Root) {
  switch (Root) {
    case TRootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TRootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case TRootKey::LocalMachine:
      break;
  }
  return HKEY_LOCAL_MACHINE;
}

// The same key names the stand-in accepts: one leading and one trailing
// backslash allowed, no empty part.
std::wstring KeyName(std::string_view Key) {
  if (!Key.empty() && Key.front() == '\\') Key.remove_prefix(1);
  if (!Key.empty() && Key.back() == '\\') Key.remove_suffix(1);
  if (Key.find("\\\\") != std::string_view::npos ||
      (!Key.empty() && (Key.front() == '\\' || Key.back() == '\\')))
    throw ERegistryError("Invalid key name: " + std::string(Key));
  return Widen(Key);
}

class TKey {
 public:
  TKey(TRootKey Root, std::string_view Key, bool Create, REGSAM Access) {
    const std::wstring Name = KeyName(Key);
    FError = Create ? RegCreateKeyExW(RootHandle(Root), Name.c_str(), 0, nullptr, 0, Access,
                                      nullptr, &FHandle, nullptr)
                    : RegOpenKeyExW(RootHandle(Root), Name.c_str(), 0, Access, &FHandle);
    if (FError != ERROR_SUCCESS) FHandle = nullptr;
  }
  ~TKey() {
    if (FHandle) RegCloseKey(FHandle);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;

  HKEY Handle() const { return FHandle; }
  LONG Error() const { return FError; }

 private:
  HKEY FHandle = nullptr;
  LONG FError = ERROR_SUCCESS;
};

[[noreturn]] void Refused(std::string_view Key, LONG Error) {
  throw ERegistryError("Cannot write registry key " + std::string(Key) + ": " +
                       SystemMessage(static_cast<DWORD>(Error)));
}

}  // namespace

struct TRegistry::TStore {
  std::string FileName;  // stays empty: the system registry has no file
};

TRegistry::TRegistry(std::string) : FStore(std::make_unique<TStore>()) {}

TRegistry::~TRegistry() = default;

std::string TRegistry::DefaultFileName() {
  return {};
}

const std::string& TRegistry::FileName() const {
  return FStore->FileName;
}

bool TRegistry::KeyExists(TRootKey Root, std::string_view Key) const {
  return TKey(Root, Key, false, KEY_READ).Handle() != nullptr;
}

std::vector<std::string> TRegistry::SubKeys(TRootKey Root, std::string_view Key) const {
  std::vector<std::string> Result;
  const TKey K(Root, Key, false, KEY_READ);
  if (!K.Handle()) return Result;
  wchar_t Name[256];
  for (DWORD I = 0;; ++I) {
    DWORD Size = 256;
    if (RegEnumKeyExW(K.Handle(), I, Name, &Size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    Result.push_back(Narrow(std::wstring_view(Name, Size)));
  }
  return Result;
}

std::optional<std::string> TRegistry::ReadString(TRootKey Root, std::string_view Key,
                                                 std::string_view Name) const {
  const TKey K(Root, Key, false, KEY_READ);
  if (!K.Handle()) return std::nullopt;
  const std::wstring ValueName = Widen(Name);
  DWORD Type = 0, Size = 0;
  if (RegQueryValueExW(K.Handle(), ValueName.c_str(), nullptr, &Type, nullptr, &Size) !=
          ERROR_SUCCESS ||
      (Type != REG_SZ && Type != REG_EXPAND_SZ))
    return std::nullopt;
  std::wstring Data(Size / sizeof(wchar_t) + 1, L'\0');
  Size = static_cast<DWORD>(Data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(K.Handle(), ValueName.c_str(), nullptr, &Type,
                       reinterpret_cast<BYTE*>(Data.data()), &Size) != ERROR_SUCCESS)
    return std::nullopt;
  Data.resize(Size / sizeof(wchar_t));
  while (!Data.empty() && Data.back() == L'\0') Data.pop_back();
  return Narrow(Data);
}

void TRegistry::CreateKey(TRootKey Root, std::string_view Key) {
  const TKey K(Root, Key, true, KEY_WRITE);
  if (!K.Handle()) Refused(Key, K.Error());
}

void TRegistry::WriteString(TRootKey Root, std::string_view Key, std::string_view Name,
                            std::string_view Value) {
  const TKey K(Root, Key, true, KEY_WRITE);
  if (!K.Handle()) Refused(Key, K.Error());
  const std::wstring ValueName = Widen(Name);
  const std::wstring Data = Widen(Value);
  const LONG Error = RegSetValueExW(K.Handle(), ValueName.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(Data.c_str()),
                                    static_cast<DWORD>((Data.size() + 1) * sizeof(wchar_t)));
  if (Error != ERROR_SUCCESS) Refused(Key, Error);
}

bool TRegistry::DeleteKey(TRootKey Root, std::string_view Key) {
  const std::wstring Name = KeyName(Key);
  if (!KeyExists(Root, Key)) return false;
  LONG Error = RegDeleteTreeW(RootHandle(Root), Name.c_str());
  if (Error == ERROR_SUCCESS) Error = RegDeleteKeyW(RootHandle(Root), Name.c_str());
  if (Error != ERROR_SUCCESS && Error != ERROR_FILE_NOT_FOUND) Refused(Key, Error);
  return true;
}

void TRegistry::Save() const {}

}  // namespace compat
