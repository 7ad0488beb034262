#include "ui/float_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QTimer>

#include "core/exception.h"
#include "ui/show_exception.h"

namespace ui {

TFloatEdit::TFloatEdit(QWidget* Parent) : QLineEdit(Parent) {
  connect(this, &QLineEdit::textChanged, this, [this](const QString& Text) {
    if (!FShowing) FModel.TextEdited(Text.toStdString());
  });
}

char32_t TFloatEdit::LocaleSeparator() {
  const QString Sep = QLocale().decimalPoint();
  return Sep.isEmpty() ? U'.' : Sep.toUcs4().value(0, U'.');
}

forms::TFloatEditModel& TFloatEdit::Model() const {
  FModel.SetLocaleSeparator(LocaleSeparator());
  return FModel;
}

void TFloatEdit::ShowModelText() {
  FShowing = true;
  setText(QString::fromStdString(FModel.Text()));
  FShowing = false;
}

void TFloatEdit::SetValue(double Value) {
  Model().SetValue(Value);
  ShowModelText();
}

void TFloatEdit::keyPressEvent(QKeyEvent* Event) {
  const QString Typed = Event->text();
  // Control characters (backspace, enter, escape, shortcuts) are the edit's.
  const bool Printable = !Typed.isEmpty() && Typed[0] >= u' ' && Typed[0] != QChar(0x7F);
  if (Printable && !isReadOnly()) {
    const QString Text = text();
    const int Start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int End = hasSelectedText() ? Start + static_cast<int>(selectedText().size()) : Start;
    const std::string Before = Text.left(Start).toStdString();
    const std::string After = Text.mid(End).toStdString();
    for (const char32_t Ch : Typed.toUcs4())
      if (!Model().AcceptsChar(Ch, Before, After)) {
        QApplication::beep();
        Event->accept();
        return;
      }
  }
  QLineEdit::keyPressEvent(Event);
}

void TFloatEdit::CheckOnExit() {
  try {
    Model().Leave();
  } catch (const core::EConvertError&) {
    setFocus();
    throw;
  }
  // A value out of bounds was set again, clamped.
  if (QString::fromStdString(FModel.Text()) != text()) ShowModelText();
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
