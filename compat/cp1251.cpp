#include "compat/cp1251.h"

#include <array>
#include <cstdint>

namespace compat {

namespace {

// Unicode code points of the bytes 0x80 to 0xFF; 0x98 is unassigned and kept
// as the C1 control of the same value so that every byte survives a round trip.
constexpr std::array<char16_t, 128> HighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

char EncodeChar(char32_t C) {
  if (C < 0x80) return static_cast<char>(C);
  for (std::size_t I = 0; I < HighHalf.size(); ++I)
    if (HighHalf[I] == C) return static_cast<char>(0x80 + I);
  return '?';
}

}  // namespace

void AppendUtf8(std::string& Out, char32_t C) {
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | (C >> 6));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | (C >> 12));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (C >> 18));
    Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

std::string Utf8ToCp1251(std::string_view Utf8) {
  std::string Out;
  Out.reserve(Utf8.size());
  std::size_t I = 0;
  while (I < Utf8.size()) {
    const auto Lead = static_cast<std::uint8_t>(Utf8[I]);
    int Extra = 0;
    char32_t C = 0;
    if (Lead < 0x80) {
      C = Lead;
    } else if ((Lead & 0xE0) == 0xC0) {
      Extra = 1;
      C = Lead & 0x1F;
    } else if ((Lead & 0xF0) == 0xE0) {
      Extra = 2;
      C = Lead & 0x0F;
    } else if ((Lead & 0xF8) == 0xF0) {
      Extra = 3;
      C = Lead & 0x07;
    } else {
      Out += '?';
      ++I;
      continue;
    }
    // A sequence cut short by the end of the text is malformed too.
    bool Valid = I + static_cast<std::size_t>(Extra) < Utf8.size();
    std::size_t Used = 1;
    for (int K = 1; Valid && K <= Extra; ++K) {
      const auto B = static_cast<std::uint8_t>(Utf8[I + K]);
      if ((B & 0xC0) != 0x80) {
        Valid = false;
        break;
      }
      C = (C << 6) | (B & 0x3F);
      ++Used;
    }
    Out += Valid ? EncodeChar(C) : '?';
    I += Used;
  }
  return Out;
}

std::string Cp1251ToUtf8(std::string_view Cp1251) {
  std::string Out;
  Out.reserve(Cp1251.size() * 2);
  for (char Ch : Cp1251) {
    const auto B = static_cast<std::uint8_t>(Ch);
    AppendUtf8(Out, B < 0x80 ? char32_t{B} : char32_t{HighHalf[B - 0x80]});
  }
  return Out;
}

}  // namespace compat
