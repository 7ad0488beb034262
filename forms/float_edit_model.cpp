#include "forms/float_edit_model.h"

#include <cstdio>

#include "addonlib/trees/words_filter.h"
#include "core/exception.h"
#include "trace/editor/trace_settings.h"

namespace forms {

namespace {

bool IsSign(char32_t Ch) {
  return Ch == U'+' || Ch == U'-';
}
bool IsSeparator(char32_t Ch) {
  return Ch == U'.' || Ch == U',';
}

std::u32string_view Trimmed(std::u32string_view S) {
  while (!S.empty() && S.front() <= U' ') S.remove_prefix(1);
  while (!S.empty() && S.back() <= U' ') S.remove_suffix(1);
  return S;
}

[[noreturn]] void RaiseNotFloat(std::string_view Text) {
  throw core::EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
}

}  // namespace

double TFloatEditModel::TextToFloat(std::string_view Text, char32_t Separator) {
  std::u32string S = kx::DecodeUtf8(Text);
  // The first separator that is not the locale's becomes the locale's.
  std::size_t At = std::u32string::npos;
  if (Separator == U'.')
    At = S.find(U',');
  else if (Separator == U',')
    At = S.find(U'.');
  else if ((At = S.find(U'.')) == std::u32string::npos)
    At = S.find(U',');
  if (At != std::u32string::npos) S[At] = Separator;
  // The locale's conversion: digits, one separator, a sign, an exponent;
  // the other separator would be a group separator, which is refused.
  std::string Ascii;
  for (const char32_t C : Trimmed(S)) {
    if (C == Separator)
      Ascii += '.';
    else if (C < 0x80 && !IsSeparator(C))
      Ascii += static_cast<char>(C);
    else
      RaiseNotFloat(Text);
  }
  // The rest is the settings' own reading of a number.
  try {
    return trace::SettingTextToFloat(Ascii);
  } catch (const core::EConvertError&) {
    RaiseNotFloat(Text);
  }
}

void TFloatEditModel::RaiseNotANumber(std::string_view Text) {
  if (Trimmed(kx::DecodeUtf8(Text)).empty()) throw core::EConvertError("Ошибка: Введите число");
  throw core::EConvertError("Ошибка: не могу преобразовать строку \"" + std::string(Text) +
                            "\" в число");
}

std::string TFloatEditModel::FloatToText(double Value, int Precision, bool TruncZeros,
                                         char32_t Separator) {
  const char* Format = TruncZeros ? "%.*g" : "%.*f";
  const int N = std::snprintf(nullptr, 0, Format, Precision, Value);
  std::string Text(static_cast<std::size_t>(N) + 1, '\0');
  std::snprintf(Text.data(), Text.size(), Format, Precision, Value);
  Text.resize(static_cast<std::size_t>(N));
  const std::string Sep = kx::EncodeUtf8(std::u32string(1, Separator));
  std::string Result;
  for (const char C : Text) Result += C == '.' ? Sep : std::string(1, C);
  return Result;
}

double TFloatEditModel::Clamp(double Value) const {
  if (MinValue == MaxValue) return Value;
  if (Value < MinValue) return MinValue;
  if (Value > MaxValue) return MaxValue;
  return Value;
}

void TFloatEditModel::TextEdited(std::string_view Text) {
  FText = Text;
  FEdited = true;
}

double TFloatEditModel::Value() const {
  return FEdited ? TextToFloat(FText, FSeparator) : FValue;
}

void TFloatEditModel::SetValue(double Value) {
  // What is kept is what shows.
  FValue = Clamp(Value);
  FText = FloatToText(FValue, FPrecision, TruncZeros, FSeparator);
  FEdited = false;
}

bool TFloatEditModel::AcceptsChar(char32_t Ch, std::string_view Before,
                                  std::string_view After) const {
  if (Ch >= U'0' && Ch <= U'9') return true;
  // The text as it will be once the typed character replaces the selection.
  const std::u32string Rest = kx::DecodeUtf8(std::string(Before) + std::string(After));
  if (IsSign(Ch)) {
    if (!StrictCheck) return true;
    return IsSigned && Before.empty() && (Rest.empty() || !IsSign(Rest[0]));
  }
  if (IsSeparator(Ch)) {
    if (FPrecision == 0) return false;
    if (!StrictCheck) return true;
    return Rest.find(U'.') == std::u32string::npos && Rest.find(U',') == std::u32string::npos;
  }
  return false;
}

void TFloatEditModel::Leave() {
  if (StrictCheck) {
    try {
      TextToFloat(FText, FSeparator);
    } catch (const core::EConvertError&) {
      RaiseNotANumber(FText);
    }
  }
  // Without bounds nothing changes; the text is checked when it is used.
  if (MinValue == MaxValue) return;
  const double V = Value();
  if (V != Clamp(V)) SetValue(V);
}

}  // namespace forms
