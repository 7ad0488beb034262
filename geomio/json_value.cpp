#include "geomio/json_value.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include "geomio/input_error.h"

namespace geomio {

namespace {

constexpr int MaxDepth = 256;

// How far nlohmann's lexer has read: it reads the text through TTextIterator,
// so each value is given the line the lexer stands on when it reports it.
struct TReadPosition {
  const char* At;
  const char* End;
  int Newlines = 0;     // before At
  bool HitEnd = false;  // the lexer has looked past the last byte
};

class TTextIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  TTextIterator(const char* AP, TReadPosition* AR) : P(AP), R(AR) {}
  reference operator*() const { return *P; }
  TTextIterator& operator++() {
    if (*P++ == '\n') ++R->Newlines;
    R->At = P;
    return *this;
  }
  TTextIterator operator++(int) {
    TTextIterator Old = *this;
    ++*this;
    return Old;
  }
  bool operator==(const TTextIterator& O) const {
    if (P == O.P && P == R->End) R->HitEnd = true;
    return P == O.P;
  }
  bool operator!=(const TTextIterator& O) const { return !(*this == O); }

 private:
  const char* P;
  TReadPosition* R;
};

// Builds the values from nlohmann's events; the first fault stops it.
class TBuilder {
 public:
  TBuilder(const TReadPosition& AR, std::vector<TJsonValue>& AOut) : R(AR), Out(AOut) {}

  bool null() { return Add({}); }
  bool boolean(bool B) {
    TJsonValue V;
    V.Kind = TJsonValue::jBool;
    V.Bool = B;
    return Add(std::move(V));
  }
  bool number_integer(int64_t N) { return Number(static_cast<double>(N)); }
  bool number_unsigned(uint64_t N) { return Number(static_cast<double>(N)); }
  bool number_float(double N, const std::string& Text) {
    if (!std::isfinite(N)) return Fail("JSON: number out of range: " + Text, Line());
    return Number(N);
  }
  bool string(std::string& S) {
    TJsonValue V;
    V.Kind = TJsonValue::jString;
    V.String = std::move(S);
    return Add(std::move(V));
  }
  bool binary(nlohmann::json::binary_t&) { return false; }  // not in JSON text
  bool start_object(std::size_t) { return Open(TJsonValue::jObject); }
  bool key(std::string& K) {
    Key = std::move(K);
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(std::size_t) { return Open(TJsonValue::jArray); }
  bool end_array() { return Close(); }
  bool parse_error(std::size_t Byte, const std::string&, const nlohmann::detail::exception& E) {
    ParseFault = E.what();
    FaultByte = Byte;
    return false;
  }

  bool LastWasNumber = false;  // the last value at the top: the lexer read one byte past it
  std::string ParseFault;      // nlohmann's message, after reading FaultByte bytes
  size_t FaultByte = 0;
  std::string Fault;  // ours, at FaultLine
  int FaultLine = 0;

 private:
  int Line() const { return R.Newlines + 1; }

  bool Fail(const std::string& What, int AtLine) {
    Fault = What;
    FaultLine = AtLine;
    return false;
  }

  bool Number(double N) {
    TJsonValue V;
    V.Kind = TJsonValue::jNumber;
    V.Number = N;
    // The byte that ended the number has been read already.
    const bool Past = !R.HitEnd;
    V.Line = Line() - (Past && R.At[-1] == '\n' ? 1 : 0);
    LastWasNumber = Stack.empty() && Past;
    return Add(std::move(V), false);
  }

  bool Add(TJsonValue V, bool SetLine = true) {
    if (SetLine) V.Line = Line();
    Place(std::move(V));
    return true;
  }

  TJsonValue* Place(TJsonValue V) {
    if (Stack.empty()) {
      Out.push_back(std::move(V));
      return &Out.back();
    }
    TJsonValue& Top = *Stack.back();
    if (Top.Kind == TJsonValue::jArray) {
      Top.Items.push_back(std::move(V));
      return &Top.Items.back();
    }
    Top.Members.emplace_back(std::move(Key), std::move(V));
    return &Top.Members.back().second;
  }

  bool Open(TJsonValue::TKind Kind) {
    // The tree is freed recursively: hostile nesting must not exhaust the stack.
    if (Stack.size() >= MaxDepth)
      return Fail("JSON: nesting deeper than " + std::to_string(MaxDepth), Line());
    TJsonValue V;
    V.Kind = Kind;
    V.Line = Line();
    Stack.push_back(Place(std::move(V)));
    return true;
  }

  bool Close() {
    Stack.pop_back();
    return true;
  }

  const TReadPosition& R;
  std::vector<TJsonValue>& Out;
  std::vector<TJsonValue*> Stack;  // the open arrays and objects, innermost last
  std::string Key;
};

// nlohmann's message without its exception name and position, which we give
// as line and column ourselves.
std::string FaultText(std::string What) {
  if (!What.empty() && What[0] == '[' && What.find("] ") != std::string::npos)
    What.erase(0, What.find("] ") + 2);
  if (What.rfind("parse error", 0) == 0 && What.find(": ") != std::string::npos)
    What.erase(0, What.find(": ") + 2);
  return What;
}

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
  std::vector<TJsonValue> Values;
  TReadPosition R{Text.data(), Text.data() + Text.size()};
  TBuilder B(R, Values);
  for (;;) {
    while (R.At < R.End && (*R.At == ' ' || *R.At == '\t' || *R.At == '\r' || *R.At == '\n'))
      if (*R.At++ == '\n') ++R.Newlines;
    if (R.At == R.End) return Values;
    // One value at a time: the text may hold several, one a line.
    const char* Start = R.At;
    if (!nlohmann::json::sax_parse(TTextIterator(Start, &R), TTextIterator(R.End, &R), &B,
                                   nlohmann::json::input_format_t::json, false)) {
      if (!B.Fault.empty()) throw EInputError(B.Fault, B.FaultLine);
      // nlohmann counts the byte it stopped after (one past the end at the end).
      const size_t At =
          std::min(static_cast<size_t>(Start - Text.data()) + B.FaultByte - 1, Text.size());
      const size_t LineStart = At == 0 ? std::string_view::npos : Text.rfind('\n', At - 1);
      const size_t Column = LineStart == std::string_view::npos ? At + 1 : At - LineStart;
      const int Line = 1 + static_cast<int>(std::count(Text.begin(), Text.begin() + At, '\n'));
      throw EInputError(
          "JSON: " + FaultText(B.ParseFault) + " (column " + std::to_string(Column) + ")", Line);
    }
    if (B.LastWasNumber && R.At[-1] == '\n') --R.Newlines;
    if (B.LastWasNumber) --R.At;
    B.LastWasNumber = false;
  }
}

}  // namespace geomio
