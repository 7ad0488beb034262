// An edit for decimal numbers: keystrokes that cannot belong to a number are
// refused with a beep, either "." or "," is taken as the decimal separator,
// and the value shows with a fixed precision.
#pragma once

#include <QLineEdit>

namespace ui {

class TFloatEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
  Q_PROPERTY(bool StrictCheck READ StrictCheck WRITE SetStrictCheck)
  Q_PROPERTY(bool TruncZeros READ TruncZeros WRITE SetTruncZeros)
  Q_PROPERTY(bool IsSigned READ IsSigned WRITE SetIsSigned)

 public:
  explicit TFloatEdit(QWidget* Parent = nullptr);

  // The number of the text while it has been edited since the value was
  // set, else the value set; raises core::EConvertError for a text that is
  // not a number.
  double Value() const;
  // Shows the value clamped to MinValue..MaxValue, with Precision decimals
  // (significant digits, trailing zeros cut, under TruncZeros).
  void SetValue(double Value);

  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value) { FMinValue = Value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value) { FMaxValue = Value; }
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value) { FPrecision = std::max(Value, 0); }
  bool StrictCheck() const { return FStrictCheck; }
  void SetStrictCheck(bool Value) { FStrictCheck = Value; }
  bool TruncZeros() const { return FTruncZeros; }
  void SetTruncZeros(bool Value) { FTruncZeros = Value; }
  bool IsSigned() const { return FIsSigned; }
  void SetIsSigned(bool Value) { FIsSigned = Value; }

  // Clamped only when MinValue and MaxValue differ.
  double Clamp(double Value) const;
  // Whether Ch may be typed into the text as it stands.
  bool AcceptsChar(QChar Ch) const;
  // The checks made when the field is left: under StrictCheck the text must
  // be a number (core::EConvertError, the focus comes back); a value outside
  // the bounds is clamped.
  void CheckOnExit();

  // Reads Text with "." or "," as the decimal separator, in the current
  // locale; raises core::EConvertError.
  static double TextToFloat(const QString& Text);
  // The error of a field left with Text that is not a number.
  [[noreturn]] static void RaiseNotANumber(const QString& Text);
  // Text of Value with Precision decimals ("%.<P>f") or significant digits
  // ("%.<P>g"), the locale's decimal separator.
  static QString FloatToText(double Value, int Precision, bool TruncZeros);

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

 private:
  double FValue = 0;
  double FMinValue = 0;
  double FMaxValue = 0;
  int FPrecision = 2;
  bool FStrictCheck = false;
  bool FTruncZeros = false;
  bool FIsSigned = true;
  bool FEdited = false;
  bool FSettingValue = false;
};

}  // namespace ui
