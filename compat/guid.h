// Globally unique identifiers and their registry text form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <guiddef.h>
#else
struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

constexpr bool operator==(const GUID& A, const GUID& B) {
  if (A.Data1 != B.Data1 || A.Data2 != B.Data2 || A.Data3 != B.Data3) return false;
  for (int I = 0; I < 8; ++I)
    if (A.Data4[I] != B.Data4[I]) return false;
  return true;
}
#endif

namespace compat {

namespace detail {
constexpr int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}
}  // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces required, either
// case); nothing for anything else.
constexpr std::optional<GUID> TryParseGuid(std::string_view Text) {
  if (Text.size() != 38 || Text.front() != '{' || Text.back() != '}') return std::nullopt;
  // Positions of the hexadecimal digit pairs in the text, in byte order of
  // the printed groups.
  std::uint8_t Bytes[16] = {};
  int Pos = 1;
  for (int I = 0; I < 16; ++I) {
    if (Pos == 9 || Pos == 14 || Pos == 19 || Pos == 24) {
      if (Text[Pos] != '-') return std::nullopt;
      ++Pos;
    }
    const int Hi = detail::HexDigit(Text[Pos]);
    const int Lo = detail::HexDigit(Text[Pos + 1]);
    if (Hi < 0 || Lo < 0) return std::nullopt;
    Bytes[I] = static_cast<std::uint8_t>(Hi * 16 + Lo);
    Pos += 2;
  }
  GUID G{};
  G.Data1 = (std::uint32_t{Bytes[0]} << 24) | (std::uint32_t{Bytes[1]} << 16) |
            (std::uint32_t{Bytes[2]} << 8) | Bytes[3];
  G.Data2 = static_cast<std::uint16_t>((Bytes[4] << 8) | Bytes[5]);
  G.Data3 = static_cast<std::uint16_t>((Bytes[6] << 8) | Bytes[7]);
  for (int I = 0; I < 8; ++I) G.Data4[I] = Bytes[8 + I];
  return G;
}

// Registry text form: braces, upper-case hexadecimal.
std::string GuidToString(const GUID& G);

// For constants written in the source; a malformed literal fails to compile.
consteval GUID ParseGuid(std::string_view Text) {
  const auto G = TryParseGuid(Text);
  if (!G) throw "malformed GUID literal";
  return *G;
}

}  // namespace compat
