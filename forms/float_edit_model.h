// What the numeric edit decides: which typed characters it takes, the
// number its text stands for (either "." or "," as the decimal separator),
// the text shown for a value, and the error when the field is left holding
// no number. The view keeps the text in step with the model and asks it.
#pragma once

#include <string>
#include <string_view>

namespace forms {

class TFloatEditModel {
 public:
  // Decimal separator of the user's locale; "." unless the view says.
  void SetLocaleSeparator(char32_t Separator) { FSeparator = Separator; }
  char32_t LocaleSeparator() const { return FSeparator; }

  double MinValue = 0;
  double MaxValue = 0;
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value) { FPrecision = Value < 0 ? 0 : Value; }
  bool StrictCheck = false;
  bool TruncZeros = false;
  bool IsSigned = true;

  // The text shown, UTF-8.
  const std::string& Text() const { return FText; }
  // The user (or code other than SetValue) changed the text.
  void TextEdited(std::string_view Text);
  // The number of the text while it has been edited since the value was
  // set, else the value set; core::EConvertError for a text that is not a
  // number.
  double Value() const;
  // Keeps Value clamped and shows it with Precision decimals (significant
  // digits, trailing zeros cut, under TruncZeros).
  void SetValue(double Value);
  bool Edited() const { return FEdited; }

  // Clamped only when MinValue and MaxValue differ.
  double Clamp(double Value) const;
  // Whether Ch may be typed where Before ends and After begins: Before is
  // the text before the caret (or the selection), After the text after it;
  // a selection is replaced by what is typed. Control characters are the
  // edit's own and not asked about.
  bool AcceptsChar(char32_t Ch, std::string_view Before, std::string_view After) const;
  // The field is left: under StrictCheck the text must be a number (else
  // core::EConvertError with the message to show, and the view gives the
  // focus back); a value outside the bounds is set again clamped.
  void Leave();

  // Text to number with "." or "," as separator, in a locale whose
  // separator is Separator; core::EConvertError.
  static double TextToFloat(std::string_view Text, char32_t Separator);
  // The error of a field left with Text that is not a number.
  [[noreturn]] static void RaiseNotANumber(std::string_view Text);
  // Value with Precision decimals ("%.<P>f") or significant digits
  // ("%.<P>g"), Separator as the decimal separator.
  static std::string FloatToText(double Value, int Precision, bool TruncZeros, char32_t Separator);

 private:
  std::string FText;
  double FValue = 0;
  int FPrecision = 2;
  bool FEdited = false;
  char32_t FSeparator = U'.';
};

}  // namespace forms
