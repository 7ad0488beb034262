// A length byte followed by N bytes of cp1251 text: the fixed-size string
// that host records and host calls carry. Compared as exact bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "compat/cp1251.h"

namespace compat {

template <int N>
struct ShortString {
  static_assert(N > 0 && N <= 255);

  std::uint8_t Length;
  char Data[N];

  // Texts longer than N bytes are cut, as an assignment to the host's
  // fixed-size strings does.
  void AssignBytes(std::string_view Bytes) {
    Length = static_cast<std::uint8_t>(std::min<std::size_t>(Bytes.size(), N));
    if (Length) std::memcpy(Data, Bytes.data(), Length);
    std::memset(Data + Length, 0, N - Length);
  }
  void AssignUtf8(std::string_view Utf8) { AssignBytes(Utf8ToCp1251(Utf8)); }
  void Clear() { AssignBytes({}); }

  static ShortString FromUtf8(std::string_view Utf8) {
    ShortString S;
    S.AssignUtf8(Utf8);
    return S;
  }
  static ShortString FromBytes(std::string_view Bytes) {
    ShortString S;
    S.AssignBytes(Bytes);
    return S;
  }

  // A length byte beyond N (a record filled by someone else) is read as N.
  int Size() const { return std::min<int>(Length, N); }
  bool Empty() const { return Length == 0; }
  std::string_view Bytes() const { return {Data, static_cast<std::size_t>(Size())}; }
  std::string ToUtf8() const { return Cp1251ToUtf8(Bytes()); }

  friend bool operator==(const ShortString& A, const ShortString& B) {
    return A.Bytes() == B.Bytes();
  }
};

using ShortString15 = ShortString<15>;
using ShortString31 = ShortString<31>;
using ShortString63 = ShortString<63>;
using ShortString255 = ShortString<255>;

static_assert(sizeof(ShortString15) == 16 && alignof(ShortString15) == 1);
static_assert(sizeof(ShortString31) == 32);
static_assert(sizeof(ShortString63) == 64);
static_assert(sizeof(ShortString255) == 256);

}  // namespace compat
