#include "ui/show_exception.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {

TExceptionReporter& Reporter() {
  static TExceptionReporter R;
  return R;
}

}  // namespace

void ShowException(QWidget* Parent, const std::exception& E) {
  ShowErrorMessage(Parent, QString::fromUtf8(E.what()));
}

void ShowErrorMessage(QWidget* Parent, const QString& Message) {
  if (Reporter()) {
    Reporter()(Parent, Message);
    return;
  }
  QMessageBox::critical(Parent, QApplication::applicationDisplayName(), Message);
}

TExceptionReporter SetExceptionReporter(TExceptionReporter New) {
  std::swap(Reporter(), New);
  return New;
}

}  // namespace ui
