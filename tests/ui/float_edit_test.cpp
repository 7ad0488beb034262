#include "ui/float_edit.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QVBoxLayout>

#include "core/exception.h"
#include "ui/show_exception.h"
#include "ui_app.h"

namespace {

// Types Keys into a fresh copy of Text with the caret at Caret.
QString Typed(ui::TFloatEdit& E, const QString& Text, int Caret, const QString& Keys) {
  E.setText(Text);
  E.setCursorPosition(Caret);
  QTest::keyClicks(&E, Keys);
  return E.text();
}

std::string ExitError(ui::TFloatEdit& E) {
  try {
    E.CheckOnExit();
  } catch (const core::EConvertError& Error) {
    return Error.what();
  }
  return "";
}

TEST(FloatEdit, KeystrokesTextAndValueGoThroughTheModel) {
  ui::TFloatEdit E;
  EXPECT_EQ(Typed(E, "", 0, "12a.5x,-+"), "12.5,-+");  // letters never
  E.SetStrictCheck(true);
  // A selection is replaced by what is typed: the rest decides.
  E.setText("-5.5");
  E.setSelection(0, 3);
  QTest::keyClicks(&E, "+");
  EXPECT_EQ(E.text(), "+5");
  // Editing keys are the edit's own.
  E.setCursorPosition(2);
  QTest::keyClick(&E, Qt::Key_Backspace);
  EXPECT_EQ(E.text(), "+");

  E.setText("0,25");
  EXPECT_DOUBLE_EQ(E.Value(), 0.25);
  E.SetValue(3);  // the value set, not the text's, until the next edit
  EXPECT_EQ(E.text(), "3.00");
  EXPECT_DOUBLE_EQ(E.Value(), 3);
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  E.SetValue(1.5);
  EXPECT_EQ(E.text(), "1,50");
  QLocale::setDefault(QLocale::c());
  // Leaving clamps the shown text.
  E.SetMinValue(1);
  E.SetMaxValue(5);
  E.setText("0.5");
  EXPECT_EQ(ExitError(E), "");
  EXPECT_EQ(E.text(), "1.00");
  E.setText("abc");
  EXPECT_EQ(ExitError(E), "Ошибка: не могу преобразовать строку \"abc\" в число");
}

TEST(FloatEdit, LeavingByFocusShowsTheErrorAndKeepsTheFocus) {
  QWidget Window;
  auto* Layout = new QVBoxLayout(&Window);
  auto* Strict = new ui::TFloatEdit;
  auto* Other = new ui::TFloatEdit;
  Layout->addWidget(Strict);
  Layout->addWidget(Other);
  Strict->SetStrictCheck(true);
  Window.show();
  Window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  std::vector<QString> Shown;
  const ui::TExceptionReporter Old =
      ui::SetExceptionReporter([&](QWidget*, const QString& M) { Shown.push_back(M); });
  Strict->setFocus();
  Strict->setText("x1");
  Other->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  ui::SetExceptionReporter(Old);
  EXPECT_EQ(Shown, std::vector<QString>{"Ошибка: не могу преобразовать строку \"x1\" в число"});
  EXPECT_TRUE(Strict->hasFocus());
}

}  // namespace
