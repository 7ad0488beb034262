#include "ui/float_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/exception.h"
#include "ui/show_exception.h"

namespace ui {

namespace {

bool IsSign(QChar Ch) {
  return Ch == u'+' || Ch == u'-';
}
bool IsSeparator(QChar Ch) {
  return Ch == u'.' || Ch == u',';
}

}  // namespace

TFloatEdit::TFloatEdit(QWidget* Parent) : QLineEdit(Parent) {
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (!FSettingValue) FEdited = true;
  });
}

double TFloatEdit::TextToFloat(const QString& Text) {
  QLocale Locale;
  Locale.setNumberOptions(Locale.numberOptions() | QLocale::RejectGroupSeparator);
  const QString Sep = Locale.decimalPoint();
  QString S = Text;
  qsizetype At = -1;
  if (Sep == QLatin1String("."))
    At = S.indexOf(u',');
  else if (Sep == QLatin1String(","))
    At = S.indexOf(u'.');
  else if ((At = S.indexOf(u'.')) < 0)
    At = S.indexOf(u',');
  if (At >= 0) S.replace(At, 1, Sep);
  bool Ok = false;
  const double V = Locale.toDouble(S.trimmed(), &Ok);
  if (!Ok || !std::isfinite(V))
    throw core::EConvertError("'" + Text.toStdString() + "' is not a valid floating point value");
  return V;
}

void TFloatEdit::RaiseNotANumber(const QString& Text) {
  if (Text.trimmed().isEmpty()) throw core::EConvertError("Ошибка: Введите число");
  throw core::EConvertError("Ошибка: не могу преобразовать строку \"" + Text.toStdString() +
                            "\" в число");
}

QString TFloatEdit::FloatToText(double Value, int Precision, bool TruncZeros) {
  const char* Format = TruncZeros ? "%.*g" : "%.*f";
  const int N = std::snprintf(nullptr, 0, Format, Precision, Value);
  std::string Text(static_cast<std::size_t>(N) + 1, '\0');
  std::snprintf(Text.data(), Text.size(), Format, Precision, Value);
  Text.resize(static_cast<std::size_t>(N));
  QString Result = QString::fromLatin1(Text);
  Result.replace(u'.', QLocale().decimalPoint());
  return Result;
}

double TFloatEdit::Clamp(double Value) const {
  if (FMinValue == FMaxValue) return Value;
  if (Value < FMinValue) return FMinValue;
  if (Value > FMaxValue) return FMaxValue;
  return Value;
}

double TFloatEdit::Value() const {
  return FEdited ? TextToFloat(text()) : FValue;
}

void TFloatEdit::SetValue(double Value) {
  // What is kept is what shows.
  FValue = Clamp(Value);
  FSettingValue = true;
  setText(FloatToText(FValue, FPrecision, FTruncZeros));
  FSettingValue = false;
  FEdited = false;
}

bool TFloatEdit::AcceptsChar(QChar Ch) const {
  if (Ch >= u'0' && Ch <= u'9') return true;
  // The text as it will be once the typed character replaces the selection.
  QString Rest = text();
  int Caret = cursorPosition();
  if (hasSelectedText()) {
    Caret = selectionStart();
    Rest.remove(Caret, selectedText().size());
  }
  if (IsSign(Ch)) {
    if (!FStrictCheck) return true;
    return FIsSigned && Caret == 0 && (Rest.isEmpty() || !IsSign(Rest[0]));
  }
  if (IsSeparator(Ch)) {
    if (FPrecision == 0) return false;
    if (!FStrictCheck) return true;
    return !Rest.contains(u'.') && !Rest.contains(u',');
  }
  return false;
}

void TFloatEdit::keyPressEvent(QKeyEvent* Event) {
  const QString Typed = Event->text();
  // Control characters (backspace, enter, escape, shortcuts) are the edit's.
  const bool Printable = !Typed.isEmpty() && Typed[0] >= u' ' && Typed[0] != QChar(0x7F);
  if (Printable && !isReadOnly()) {
    for (QChar Ch : Typed)
      if (!AcceptsChar(Ch)) {
        QApplication::beep();
        Event->accept();
        return;
      }
  }
  QLineEdit::keyPressEvent(Event);
}

void TFloatEdit::CheckOnExit() {
  if (FStrictCheck) {
    try {
      TextToFloat(text());
    } catch (const core::EConvertError&) {
      setFocus();
      RaiseNotANumber(text());
    }
  }
  // Without bounds nothing changes; the text is checked when it is used.
  if (FMinValue == FMaxValue) return;
  const double V = Value();
  if (V != Clamp(V)) SetValue(V);
}

void TFloatEdit::focusOutEvent(QFocusEvent* Event) {
  QLineEdit::focusOutEvent(Event);
  // Another window taking the focus does not leave the field.
  if (Event->reason() == Qt::ActiveWindowFocusReason || Event->reason() == Qt::PopupFocusReason)
    return;
  try {
    CheckOnExit();
  } catch (const std::exception& E) {
    // Shown once the focus has settled back here.
    QTimer::singleShot(0, this, [this, Message = std::string(E.what())] {
      ShowException(this, core::EConvertError(Message));
    });
  }
}

}  // namespace ui
