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

TEST(FloatEdit, Keystrokes) {
  ui::TFloatEdit E;
  EXPECT_EQ(Typed(E, "", 0, "12a.5x,-+"), "12.5,-+");  // letters never
  E.SetPrecision(0);
  EXPECT_EQ(Typed(E, "", 0, "1.5,2"), "152");
  E.SetPrecision(2);

  E.SetStrictCheck(true);
  EXPECT_EQ(Typed(E, "", 0, "1.5,2.3"), "1.523");
  EXPECT_EQ(Typed(E, "", 0, "1,5.2"), "1,52");
  EXPECT_EQ(Typed(E, "", 0, "-1-2+"), "-12");
  EXPECT_EQ(Typed(E, "5", 0, "-"), "-5");
  EXPECT_EQ(Typed(E, "5", 1, "-"), "5");
  EXPECT_EQ(Typed(E, "-5", 0, "+"), "-5");
  // A selection is replaced by what is typed: the rest decides.
  E.setText("-5.5");
  E.setSelection(0, 3);
  QTest::keyClicks(&E, "+");
  EXPECT_EQ(E.text(), "+5");
  E.setText("1.5");
  E.setSelection(1, 1);
  QTest::keyClicks(&E, ",");
  EXPECT_EQ(E.text(), "1,5");
  E.SetIsSigned(false);
  EXPECT_EQ(Typed(E, "", 0, "-+3"), "3");
  // Editing keys are the edit's own.
  E.setText("12");
  E.setCursorPosition(2);
  QTest::keyClick(&E, Qt::Key_Backspace);
  EXPECT_EQ(E.text(), "1");
}

TEST(FloatEdit, ValueAndText) {
  ui::TFloatEdit E;
  E.SetPrecision(4);
  E.SetValue(0.001);
  EXPECT_EQ(E.text(), "0.0010");
  E.SetTruncZeros(true);
  E.SetValue(0.001);
  EXPECT_EQ(E.text(), "0.001");
  E.SetValue(2.5);
  EXPECT_EQ(E.text(), "2.5");
  EXPECT_DOUBLE_EQ(E.Value(), 2.5);

  // Either separator, in either locale.
  E.setText("0,25");
  EXPECT_DOUBLE_EQ(E.Value(), 0.25);
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  E.setText("0.75");
  EXPECT_DOUBLE_EQ(E.Value(), 0.75);
  E.setText("1,5");
  EXPECT_DOUBLE_EQ(E.Value(), 1.5);
  E.SetTruncZeros(false);
  E.SetPrecision(2);
  E.SetValue(1.5);
  EXPECT_EQ(E.text(), "1,50");
  QLocale::setDefault(QLocale::c());

  E.setText("1.2.3");
  EXPECT_THROW(E.Value(), core::EConvertError);
  E.setText("");
  EXPECT_THROW(E.Value(), core::EConvertError);
  E.SetValue(3);  // the value set, not the text's, until the next edit
  EXPECT_DOUBLE_EQ(E.Value(), 3);
}

TEST(FloatEdit, ClampingAndLeavingTheField) {
  ui::TFloatEdit E;
  E.SetValue(-7);  // no bounds: nothing clamped
  EXPECT_EQ(E.text(), "-7.00");
  E.SetMinValue(1);
  E.SetMaxValue(5);
  E.SetValue(7);
  EXPECT_EQ(E.text(), "5.00");
  EXPECT_DOUBLE_EQ(E.Value(), 5);
  E.setText("0.5");
  EXPECT_EQ(ExitError(E), "");
  EXPECT_EQ(E.text(), "1.00");
  E.setText("3");
  EXPECT_EQ(ExitError(E), "");
  EXPECT_EQ(E.text(), "3");

  E.SetStrictCheck(true);
  E.setText("abc");
  EXPECT_EQ(ExitError(E), "Ошибка: не могу преобразовать строку \"abc\" в число");
  E.setText("  ");
  EXPECT_EQ(ExitError(E), "Ошибка: Введите число");
  E.setText("");
  EXPECT_EQ(ExitError(E), "Ошибка: Введите число");
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
