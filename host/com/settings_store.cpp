#include "host/com/settings_store.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "compat/atomic_file.h"
#include "compat/cp1251.h"
#include "host/com/host_call.h"

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

bool IsUtf8(std::string_view S) {
  return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size())).toUtf8() ==
         QByteArray(S.data(), static_cast<qsizetype>(S.size()));
}

}  // namespace

THostSettingsStore::THostSettingsStore(THostContextPtr Context, std::string Path)
    : FContext(std::move(Context)), FPath(std::move(Path)) {
  Load();
}

std::string THostSettingsStore::DefaultPath() {
  if (const char* Env = std::getenv("TRACE_HOST_SETTINGS"); Env && *Env) return Env;
  const QString Dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return (Dir + QStringLiteral("/trace/host-settings.ini")).toStdString();
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
  QFile File(QString::fromStdString(FPath));
  if (!File.exists()) return;
  const auto Fail = [&](int Line, const std::string& What) {
    FData.clear();
    FLoadError = "Файл настроек " + FPath + (Line ? ", строка " + std::to_string(Line) : "") +
                 ": " + What + ". Действуют настройки по умолчанию; при первом изменении файл " +
                 "сохраняется как " + DamagedPath();
  };
  if (!File.open(QIODevice::ReadOnly)) return Fail(0, "не читается");
  const QByteArray Bytes = File.readAll();
  const std::string_view Text(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
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
  if (!FLoadError.empty() && std::rename(FPath.c_str(), DamagedPath().c_str()) != 0 &&
      errno != ENOENT)
    throw EHostError("Файл настроек " + FPath + " не переименован в " + DamagedPath() + ": " +
                     std::generic_category().message(errno));
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
