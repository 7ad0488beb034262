#include "compat/registry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "compat/atomic_file.h"

namespace compat {

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";

char Fold(char C) {
  return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}

std::string Folded(std::string_view S) {
  std::string R(S);
  std::transform(R.begin(), R.end(), R.begin(), Fold);
  return R;
}

bool SameText(std::string_view A, std::string_view B) {
  return Folded(A) == Folded(B);
}

// A key path may start (absolute) and end with one backslash; an empty part
// inside it is an invalid name, as in the Windows registry.
std::string NormalizeKey(std::string_view Key) {
  if (!Key.empty() && Key.front() == '\\') Key.remove_prefix(1);
  if (!Key.empty() && Key.back() == '\\') Key.remove_suffix(1);
  if (Key.find("\\\\") != std::string_view::npos ||
      (!Key.empty() && (Key.front() == '\\' || Key.back() == '\\')))
    throw ERegistryError("Invalid key name: " + std::string(Key));
  return std::string(Key);
}

const char* RootName(TRootKey Root) {
  switch (Root) {
    case TRootKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case TRootKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case TRootKey::LocalMachine:
      break;
  }
  return "HKEY_LOCAL_MACHINE";
}

std::string Quote(std::string_view S) {
  std::string R = "\"";
  for (char C : S) {
    if (C == '\\' || C == '"') R += '\\';
    R += C;
  }
  return R + '"';
}

// Reads a quoted string starting at Pos (at the opening quote); returns the
// position after the closing quote, or npos when it is not closed.
std::size_t Unquote(const std::string& Line, std::size_t Pos, std::string& Out) {
  Out.clear();
  for (std::size_t I = Pos + 1; I < Line.size(); ++I) {
    if (Line[I] == '\\' && I + 1 < Line.size()) {
      Out += Line[++I];
    } else if (Line[I] == '"') {
      return I + 1;
    } else {
      Out += Line[I];
    }
  }
  return std::string::npos;
}

struct TValue {
  std::string Name;
  bool IsString = true;
  std::string Data;  // the text of a string, or the raw data of another type
};
struct TKeyLess {
  bool operator()(const std::string& A, const std::string& B) const {
    return Folded(A) < Folded(B);
  }
};
using TKeys = std::map<std::string, std::vector<TValue>, TKeyLess>;

std::string FullPath(TRootKey Root, std::string_view Key) {
  std::string Path = RootName(Root);
  const std::string Rest = NormalizeKey(Key);
  if (!Rest.empty()) Path += '\\' + Rest;
  return Path;
}

}  // namespace

struct TRegistry::TStore {
  std::string FileName;
  TKeys Keys;
  void Load();
};

TRegistry::TRegistry(std::string FileName) : FStore(std::make_unique<TStore>()) {
  FStore->FileName = std::move(FileName);
  FStore->Load();
}

TRegistry::~TRegistry() = default;

const std::string& TRegistry::FileName() const {
  return FStore->FileName;
}

std::string TRegistry::DefaultFileName() {
  if (const char* File = std::getenv("TRACE_REGISTRY_FILE"); File && *File) return File;
  std::filesystem::path Base;
  if (const char* Config = std::getenv("XDG_CONFIG_HOME"); Config && *Config)
    Base = Config;
  else if (const char* Home = std::getenv("HOME"); Home && *Home)
    Base = std::filesystem::path(Home) / ".config";
  else
    Base = std::filesystem::temp_directory_path();
  return (Base / "trace" / "registry.reg").string();
}

void TRegistry::TStore::Load() {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) return;  // a registry that does not exist yet is empty
  std::string Line;
  bool SawHeader = false;
  std::vector<TValue>* Current = nullptr;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (!SawHeader) {
      // Tolerate a byte order mark before the header.
      if (Line.rfind("\xEF\xBB\xBF", 0) == 0) Line.erase(0, 3);
      if (Line.empty()) continue;
      if (Line != Header) throw ERegistryError("Not a registry file: " + FileName);
      SawHeader = true;
      continue;
    }
    if (Line.empty() || Line[0] == ';') continue;
    if (Line[0] == '[') {
      const auto End = Line.rfind(']');
      if (End == std::string::npos) throw ERegistryError("Malformed key line in " + FileName);
      std::string Key = NormalizeKey(std::string_view(Line).substr(1, End - 1));
      if (!Key.empty() && Key[0] == '-') {
        // A removal entry: nothing to keep.
        Current = nullptr;
        continue;
      }
      Current = &Keys[Key];
      continue;
    }
    if (!Current) continue;
    TValue Value;
    std::size_t Pos = 0;
    if (Line[0] == '@') {
      Pos = 1;
    } else if (Line[0] == '"') {
      Pos = Unquote(Line, 0, Value.Name);
      if (Pos == std::string::npos) throw ERegistryError("Malformed value in " + FileName);
    } else {
      throw ERegistryError("Malformed value in " + FileName);
    }
    if (Pos >= Line.size() || Line[Pos] != '=')
      throw ERegistryError("Malformed value in " + FileName);
    ++Pos;
    if (Pos < Line.size() && Line[Pos] == '"') {
      if (Unquote(Line, Pos, Value.Data) == std::string::npos)
        throw ERegistryError("Malformed value in " + FileName);
    } else {
      // Other value types are kept as they are, continuation lines included.
      Value.IsString = false;
      Value.Data = Line.substr(Pos);
      while (!Value.Data.empty() && Value.Data.back() == '\\' && std::getline(In, Line)) {
        if (!Line.empty() && Line.back() == '\r') Line.pop_back();
        Value.Data += '\n' + Line;
      }
    }
    auto Same = std::find_if(Current->begin(), Current->end(),
                             [&](const TValue& V) { return SameText(V.Name, Value.Name); });
    if (Same != Current->end())
      *Same = std::move(Value);
    else
      Current->push_back(std::move(Value));
  }
  if (!SawHeader && In.bad()) throw ERegistryError("Cannot read " + FileName);
}

bool TRegistry::KeyExists(TRootKey Root, std::string_view Key) const {
  const std::string Path = FullPath(Root, Key);
  if (FStore->Keys.count(Path)) return true;
  // A key that only has subkeys exists too.
  const std::string Prefix = Folded(Path) + '\\';
  for (const auto& [Name, Values] : FStore->Keys)
    if (Folded(Name).rfind(Prefix, 0) == 0) return true;
  return false;
}

std::vector<std::string> TRegistry::SubKeys(TRootKey Root, std::string_view Key) const {
  const std::string Path = FullPath(Root, Key);
  const std::string Prefix = Folded(Path) + '\\';
  std::vector<std::string> Result;
  std::set<std::string> Seen;
  for (const auto& [Name, Values] : FStore->Keys) {
    if (Folded(Name).rfind(Prefix, 0) != 0) continue;
    std::string Child = Name.substr(Prefix.size());
    Child = Child.substr(0, Child.find('\\'));
    if (Seen.insert(Folded(Child)).second) Result.push_back(Child);
  }
  return Result;
}

std::optional<std::string> TRegistry::ReadString(TRootKey Root, std::string_view Key,
                                                 std::string_view Name) const {
  const auto It = FStore->Keys.find(FullPath(Root, Key));
  if (It == FStore->Keys.end()) return std::nullopt;
  for (const TValue& V : It->second)
    if (SameText(V.Name, Name)) return V.IsString ? std::optional(V.Data) : std::nullopt;
  return std::nullopt;
}

void TRegistry::CreateKey(TRootKey Root, std::string_view Key) {
  FStore->Keys[FullPath(Root, Key)];
}

void TRegistry::WriteString(TRootKey Root, std::string_view Key, std::string_view Name,
                            std::string_view Value) {
  auto& Values = FStore->Keys[FullPath(Root, Key)];
  TValue New{std::string(Name), true, std::string(Value)};
  auto Same = std::find_if(Values.begin(), Values.end(),
                           [&](const TValue& V) { return SameText(V.Name, Name); });
  if (Same != Values.end())
    *Same = std::move(New);
  else if (Name.empty())
    Values.insert(Values.begin(), std::move(New));  // the default value comes first
  else
    Values.push_back(std::move(New));
}

bool TRegistry::DeleteKey(TRootKey Root, std::string_view Key) {
  const std::string Path = FullPath(Root, Key);
  const std::string Folder = Folded(Path);
  bool Found = false;
  for (auto It = FStore->Keys.begin(); It != FStore->Keys.end();) {
    const std::string Name = Folded(It->first);
    if (Name == Folder || Name.rfind(Folder + '\\', 0) == 0) {
      It = FStore->Keys.erase(It);
      Found = true;
    } else {
      ++It;
    }
  }
  return Found;
}

void TRegistry::Save() const {
  std::ostringstream Out;
  Out << Header << "\r\n\r\n";
  for (const auto& [Key, Values] : FStore->Keys) {
    Out << '[' << Key << "]\r\n";
    for (const TValue& V : Values) {
      Out << (V.Name.empty() ? std::string("@") : Quote(V.Name)) << '=';
      Out << (V.IsString ? Quote(V.Data) : V.Data) << "\r\n";
    }
    Out << "\r\n";
  }
  const std::string Text = Out.str();

  try {
    WriteFileAtomically(FStore->FileName, Text, TFolder::Create);
  } catch (const EFileWriteError& E) {
    throw ERegistryError(E.what());
  }
}

}  // namespace compat
