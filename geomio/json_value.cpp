#include "geomio/json_value.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "compat/cp1251.h"
#include "geomio/input_error.h"

namespace geomio {

namespace {

constexpr int MaxDepth = 256;

class TJsonParser {
 public:
  explicit TJsonParser(std::string_view AText) : Text(AText) {}

  std::vector<TJsonValue> ParseAll() {
    std::vector<TJsonValue> Result;
    SkipSpace();
    while (Pos < Text.size()) {
      Result.push_back(ParseValue(0));
      SkipSpace();
    }
    return Result;
  }

 private:
  [[noreturn]] void Fail(const std::string& What) const { throw EInputError(What, Line); }

  std::string Found() const {
    if (Pos >= Text.size()) return "the end of the input";
    return QuotedInput(Text.substr(Pos, 1));
  }

  void SkipSpace() {
    while (Pos < Text.size()) {
      const char C = Text[Pos];
      if (C == '\n') {
        ++Line;
      } else if (C != ' ' && C != '\t' && C != '\r') {
        break;
      }
      ++Pos;
    }
  }

  void Expect(char C) {
    SkipSpace();
    if (Pos >= Text.size() || Text[Pos] != C)
      Fail(std::string("JSON: expected '") + C + "', found " + Found());
    ++Pos;
  }

  // Past the opening bracket; True (and past Close) when the container is empty.
  bool Opens(char Close) {
    ++Pos;
    SkipSpace();
    if (Pos >= Text.size() || Text[Pos] != Close) return false;
    ++Pos;
    return true;
  }

  // True past a ',', False past Close.
  bool NextItem(char Close) {
    SkipSpace();
    if (Pos < Text.size() && Text[Pos] == ',') {
      ++Pos;
      return true;
    }
    Expect(Close);
    return false;
  }

  TJsonValue ParseValue(int Depth) {
    if (Depth > MaxDepth) Fail("JSON: nesting deeper than " + std::to_string(MaxDepth));
    SkipSpace();
    TJsonValue V;
    V.Line = Line;
    if (Pos >= Text.size()) Fail("JSON: expected a value, found the end of the input");
    const char C = Text[Pos];
    if (C == '{') {
      V.Kind = TJsonValue::jObject;
      if (Opens('}')) return V;
      do {
        SkipSpace();
        if (Pos >= Text.size() || Text[Pos] != '"')
          Fail("JSON: expected a member name in quotes, found " + Found());
        std::string Key = ParseString();
        Expect(':');
        V.Members.emplace_back(std::move(Key), ParseValue(Depth + 1));
      } while (NextItem('}'));
      return V;
    }
    if (C == '[') {
      V.Kind = TJsonValue::jArray;
      if (Opens(']')) return V;
      do {
        V.Items.push_back(ParseValue(Depth + 1));
      } while (NextItem(']'));
      return V;
    }
    if (C == '"') {
      V.Kind = TJsonValue::jString;
      V.String = ParseString();
      return V;
    }
    if (C == '-' || (C >= '0' && C <= '9')) {
      V.Kind = TJsonValue::jNumber;
      V.Number = ParseNumber();
      return V;
    }
    if (Literal("true")) {
      V.Kind = TJsonValue::jBool;
      V.Bool = true;
      return V;
    }
    if (Literal("false")) {
      V.Kind = TJsonValue::jBool;
      return V;
    }
    if (Literal("null")) return V;
    Fail("JSON: expected a value, found " + Found());
  }

  bool Literal(std::string_view Word) {
    if (Text.substr(Pos, Word.size()) != Word) return false;
    Pos += Word.size();
    return true;
  }

  double ParseNumber() {
    // The JSON grammar is stricter than from_chars: no leading '+', no '.5',
    // no leading zeros.
    const size_t Begin = Pos;
    if (Text[Pos] == '-') ++Pos;
    auto Digits = [&] {
      const size_t From = Pos;
      while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9') ++Pos;
      return Pos - From;
    };
    const size_t IntStart = Pos;
    const size_t IntDigits = Digits();
    if (IntDigits == 0) Fail("JSON: malformed number");
    if (IntDigits > 1 && Text[IntStart] == '0') Fail("JSON: number with a leading zero");
    if (Pos < Text.size() && Text[Pos] == '.') {
      ++Pos;
      if (Digits() == 0) Fail("JSON: malformed number");
    }
    if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
      ++Pos;
      if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) ++Pos;
      if (Digits() == 0) Fail("JSON: malformed number");
    }
    double Value = 0;
    const auto R = std::from_chars(Text.data() + Begin, Text.data() + Pos, Value);
    if (R.ec != std::errc() || !std::isfinite(Value)) Fail("JSON: number out of range");
    return Value;
  }

  uint32_t Hex4() {
    if (Pos + 4 > Text.size()) Fail("JSON: truncated \\u escape");
    uint32_t Code = 0;
    for (int i = 0; i < 4; ++i) {
      const char C = Text[Pos++];
      Code <<= 4;
      if (C >= '0' && C <= '9') {
        Code |= C - '0';
      } else if (C >= 'a' && C <= 'f') {
        Code |= C - 'a' + 10;
      } else if (C >= 'A' && C <= 'F') {
        Code |= C - 'A' + 10;
      } else {
        Fail("JSON: bad hex digit in \\u escape");
      }
    }
    return Code;
  }

  std::string ParseString() {
    ++Pos;  // the opening quote
    std::string S;
    for (;;) {
      if (Pos >= Text.size()) Fail("JSON: unterminated string");
      const char C = Text[Pos++];
      if (C == '"') return S;
      if (static_cast<unsigned char>(C) < 0x20) Fail("JSON: control character in a string");
      if (C != '\\') {
        S += C;
        continue;
      }
      if (Pos >= Text.size()) Fail("JSON: unterminated string");
      const char E = Text[Pos++];
      switch (E) {
        case '"':
        case '\\':
        case '/':
          S += E;
          break;
        case 'b':
          S += '\b';
          break;
        case 'f':
          S += '\f';
          break;
        case 'n':
          S += '\n';
          break;
        case 'r':
          S += '\r';
          break;
        case 't':
          S += '\t';
          break;
        case 'u': {
          uint32_t Code = Hex4();
          if (Code >= 0xD800 && Code < 0xDC00) {
            if (!Literal("\\u")) Fail("JSON: unpaired surrogate in \\u escape");
            const uint32_t Low = Hex4();
            if (Low < 0xDC00 || Low >= 0xE000) Fail("JSON: unpaired surrogate in \\u escape");
            Code = 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00);
          } else if (Code >= 0xDC00 && Code < 0xE000) {
            Fail("JSON: unpaired surrogate in \\u escape");
          }
          compat::AppendUtf8(S, Code);
          break;
        }
        default:
          Fail(std::string("JSON: unknown escape \\") + E);
      }
    }
  }

  std::string_view Text;
  size_t Pos = 0;
  int Line = 1;
};

}  // namespace

const TJsonValue* TJsonValue::Find(std::string_view Key) const {
  const TJsonValue* Found = nullptr;
  for (const auto& [Name, Value] : Members)
    if (Name == Key) Found = &Value;
  return Found;
}

const char* JsonKindName(TJsonValue::TKind Kind) {
  switch (Kind) {
    case TJsonValue::jNull:
      return "null";
    case TJsonValue::jBool:
      return "a boolean";
    case TJsonValue::jNumber:
      return "a number";
    case TJsonValue::jString:
      return "a string";
    case TJsonValue::jArray:
      return "an array";
    case TJsonValue::jObject:
      return "an object";
  }
  return "?";
}

std::vector<TJsonValue> ParseJsonSequence(std::string_view Text) {
  return TJsonParser(Text).ParseAll();
}

}  // namespace geomio
