#include "host/com/settings_store.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "compat/atomic_file.h"
#include "compat/cp1251.h"
#include "host/com/config_folder.h"
#include "host/com/host_call.h"
#include "host/model/file_bytes.h"

namespace host {

namespace {

constexpr char Header[] = "; Trace host settings\n";

// Keys also escape a leading ";", "#" or "[", which would make the line a
// comment or a section header.
std::string Escape(const std::string& S, bool Key) {
  std::string R;
  if (Key && !S.empty() && (S[0] == ';' || S[0] == '#' || S[0] == '[')) R += '\\';
  for (char C : S) {
    switch (C) {
      case '\\':
        R += "\\\\";
        break;
      case '\n':
        R += "\\n";
        break;
      case '\r':
        R += "\\r";
        break;
      case '=':
        R += "\\=";
        break;
      default:
        R += C;
    }
  }
  return R;
}

// False for a backslash not followed by one of \ n r = ; # [.
bool Unescape(std::string_view S, std::string& Out) {
  Out.clear();
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] != '\\') {
      Out += S[I];
      continue;
    }
    if (++I == S.size()) return false;
    switch (S[I]) {
      case '\\':
        Out += '\\';
        break;
      case 'n':
        Out += '\n';
        break;
      case 'r':
        Out += '\r';
        break;
      case '=':
      case ';':
      case '#':
      case '[':
        Out += S[I];
        break;
      default:
        return false;
    }
  }
  return true;
}

// The first '=' that no backslash escapes.
std::size_t FindSeparator(std::string_view Line) {
  for (std::size_t I = 0; I < Line.size(); ++I) {
    if (Line[I] == '\\')
      ++I;
    else if (Line[I] == '=')
      return I;
  }
  return std::string_view::npos;
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF.
bool IsUtf8(std::string_view S) {
  for (std::size_t I = 0; I < S.size();) {
    const auto B = static_cast<unsigned char>(S[I]);
    int More = 0;
    unsigned char Low = 0x80, High = 0xBF;
    if (B < 0x80)
      More = 0;
    else if (B >= 0xC2 && B <= 0xDF)
      More = 1;
    else if (B >= 0xE0 && B <= 0xEF) {
      More = 2;
      if (B == 0xE0) Low = 0xA0;
      if (B == 0xED) High = 0x9F;
    } else if (B >= 0xF0 && B <= 0xF4) {
      More = 3;
      if (B == 0xF0) Low = 0x90;
      if (B == 0xF4) High = 0x8F;
    } else
      return false;
    if (S.size() - I - 1 < static_cast<std::size_t>(More)) return false;
    for (int K = 1; K <= More; ++K) {
      const auto C = static_cast<unsigned char>(S[I + static_cast<std::size_t>(K)]);
      if (C < (K == 1 ? Low : 0x80) || C > (K == 1 ? High : 0xBF)) return false;
    }
    I += static_cast<std::size_t>(More) + 1;
  }
  return true;
}

}  // namespace

THostSettingsStore::THostSettingsStore(THostContextPtr Context, std::string Path)
    : FContext(std::move(Context)), FPath(std::move(Path)) {
  Load();
}

std::string THostSettingsStore::DefaultPath() {
  if (const char* Env = std::getenv("TRACE_HOST_SETTINGS"); Env && *Env) return Env;
  return UserConfigFolder() + "/trace/host-settings.ini";
}

const char* THostSettingsStore::SectionName(std::int32_t Section, std::int32_t Kind) {
  if (Kind != 0)
    throw EHostError("Хранилище настроек: неизвестный вид значения " + std::to_string(Kind),
                     E_INVALIDARG);
  if (Section == 1) return "User";
  if (Section == 0) return "Application";
  throw EHostError("Хранилище настроек: неизвестный раздел " + std::to_string(Section),
                   E_INVALIDARG);
}

void THostSettingsStore::Load() {
  FData.clear();
  FLoadError.clear();
  const std::filesystem::path File = Utf8Path(FPath);
  std::error_code Error;
  if (!std::filesystem::exists(File, Error)) return;
  const auto Fail = [&](int Line, const std::string& What) {
    FData.clear();
    FLoadError = "Файл настроек " + FPath + (Line ? ", строка " + std::to_string(Line) : "") +
                 ": " + What + ". Действуют настройки по умолчанию; при первом изменении файл " +
                 "сохраняется как " + DamagedPath();
  };
  std::string Bytes, Reason;
  if (!ReadFileBytes(FPath, Bytes, Reason)) return Fail(0, "не читается");
  const std::string_view Text(Bytes);
  if (!Text.empty() && Text.back() != '\n')
    return Fail(static_cast<int>(std::count(Text.begin(), Text.end(), '\n')) + 1,
                "файл обрывается посреди строки");
  std::map<std::string, std::string>* Current = nullptr;
  int LineNo = 0;
  std::size_t Pos = 0;
  while (Pos < Text.size()) {
    const std::size_t End = Text.find('\n', Pos);
    std::string_view Line = Text.substr(Pos, End - Pos);
    Pos = End + 1;
    ++LineNo;
    if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
    if (!IsUtf8(Line)) return Fail(LineNo, "текст не в UTF-8");
    if (Line.empty() || Line.front() == ';' || Line.front() == '#') continue;
    if (Line.front() == '[') {
      if (Line.size() < 3 || Line.back() != ']') return Fail(LineNo, "неверный заголовок раздела");
      Current = &FData[std::string(Line.substr(1, Line.size() - 2))];
      continue;
    }
    const std::size_t Eq = FindSeparator(Line);
    if (Eq == std::string_view::npos) return Fail(LineNo, "нет знака «=»");
    if (!Current) return Fail(LineNo, "значение вне раздела");
    std::string Key, Value;
    if (!Unescape(Line.substr(0, Eq), Key) || !Unescape(Line.substr(Eq + 1), Value))
      return Fail(LineNo, "неверная escape-последовательность");
    if (Key.empty()) return Fail(LineNo, "пустой ключ");
    if (!Current->emplace(std::move(Key), std::move(Value)).second)
      return Fail(LineNo, "ключ повторяется");
  }
}

std::string THostSettingsStore::DamagedPath() const {
  return FPath + ".damaged";
}

void THostSettingsStore::Save(const TSections& Data) const {
  std::string Text = Header;
  for (const auto& [Section, Values] : Data) {
    Text += "\n[" + Section + "]\n";
    for (const auto& [Key, Value] : Values)
      Text += Escape(Key, true) + "=" + Escape(Value, false) + "\n";
  }
  try {
    compat::WriteFileAtomically(FPath, Text, compat::TFolder::Create);
  } catch (const compat::EFileWriteError& E) {
    throw EHostError("Файл настроек " + FPath + " не записан: " + E.Reason);
  }
}

std::optional<std::string> THostSettingsStore::Value(std::int32_t Section,
                                                     const std::string& Key) const {
  const char* Name = SectionName(Section, 0);
  const auto S = FData.find(Name);
  if (S == FData.end()) return std::nullopt;
  const auto V = S->second.find(Key);
  if (V == S->second.end()) return std::nullopt;
  return V->second;
}

void THostSettingsStore::SetValue(std::int32_t Section, const std::string& Key,
                                  const std::string& Value) {
  const char* Name = SectionName(Section, 0);
  if (Key.empty()) throw EHostError("Хранилище настроек: пустой ключ", E_INVALIDARG);
  TSections Next = FData;
  Next[Name][Key] = Value;
  // The damaged file is kept aside rather than overwritten: what it held
  // may still be worth reading.
  if (!FLoadError.empty()) {
    std::error_code Error;
    std::filesystem::rename(Utf8Path(FPath), Utf8Path(DamagedPath()), Error);
    if (Error && Error != std::errc::no_such_file_or_directory)
      throw EHostError("Файл настроек " + FPath + " не переименован в " + DamagedPath() + ": " +
                       Error.message());
  }
  FLoadError.clear();
  Save(Next);  // the store changes only once the file holds the change
  FData = std::move(Next);
}

HRESULT THostSettingsStore::ReadValue(std::int32_t Section, std::int32_t Kind,
                                      const kx::TKxText* Key, const kx::TKxText* Default,
                                      kx::TKxText* Value) {
  return HostCall(FContext->ErrorInfo, "IOrvexSettingsStore.ReadValue", [&] {
    const kx::TKxText& K = Required(Key, "Key");
    const kx::TKxText& D = Required(Default, "Default");
    kx::TKxText& Out = Required(Value, "Value");
    SectionName(Section, Kind);
    const auto V = this->Value(Section, K.ToUtf8());
    if (V)
      Out.AssignUtf8(*V);
    else
      Out = D;
    return S_OK;
  });
}

HRESULT THostSettingsStore::WriteValue(std::int32_t Section, std::int32_t Kind,
                                       const kx::TKxText* Key, const kx::TKxText* Value) {
  return HostCall(FContext->ErrorInfo, "IOrvexSettingsStore.WriteValue", [&] {
    const kx::TKxText& K = Required(Key, "Key");
    const kx::TKxText& V = Required(Value, "Value");
    SectionName(Section, Kind);
    SetValue(Section, K.ToUtf8(), V.ToUtf8());
    return S_OK;
  });
}

}  // namespace host
