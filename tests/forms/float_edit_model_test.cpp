// The numeric edit's decisions: the keystrokes it takes, the number of its
// text in either separator, the text of a value, clamping and leaving.
#include "forms/float_edit_model.h"

#include <gtest/gtest.h>

#include "core/exception.h"

namespace {

using forms::TFloatEditModel;

// Types Keys one by one at the caret (Caret characters into Text), each
// replacing the selection of Selected characters after the caret at first.
std::string Typed(const TFloatEditModel& M, std::string Text, std::size_t Caret,
                  const std::string& Keys, std::size_t Selected = 0) {
  for (const char Key : Keys) {
    const std::string Before = Text.substr(0, Caret), After = Text.substr(Caret + Selected);
    if (!M.AcceptsChar(static_cast<unsigned char>(Key), Before, After)) continue;
    Text = Before + Key + After;
    ++Caret;
    Selected = 0;
  }
  return Text;
}

std::string LeaveError(TFloatEditModel& M) {
  try {
    M.Leave();
  } catch (const core::EConvertError& Error) {
    return Error.what();
  }
  return "";
}

TEST(FloatEditModel, Keystrokes) {
  TFloatEditModel M;
  EXPECT_EQ(Typed(M, "", 0, "12a.5x,-+"), "12.5,-+");  // letters never
  M.SetPrecision(0);
  EXPECT_EQ(Typed(M, "", 0, "1.5,2"), "152");
  M.SetPrecision(2);

  M.StrictCheck = true;
  EXPECT_EQ(Typed(M, "", 0, "1.5,2.3"), "1.523");
  EXPECT_EQ(Typed(M, "", 0, "1,5.2"), "1,52");
  EXPECT_EQ(Typed(M, "", 0, "-1-2+"), "-12");
  EXPECT_EQ(Typed(M, "5", 0, "-"), "-5");
  EXPECT_EQ(Typed(M, "5", 1, "-"), "5");
  EXPECT_EQ(Typed(M, "-5", 0, "+"), "-5");
  // A selection is replaced by what is typed: the rest decides.
  EXPECT_EQ(Typed(M, "-5.5", 0, "+", 3), "+5");
  EXPECT_EQ(Typed(M, "1.5", 1, ",", 1), "1,5");
  EXPECT_FALSE(M.AcceptsChar(U'ж', "", ""));
  M.IsSigned = false;
  EXPECT_EQ(Typed(M, "", 0, "-+3"), "3");
}

TEST(FloatEditModel, ValueAndText) {
  TFloatEditModel M;
  M.SetPrecision(4);
  M.SetValue(0.001);
  EXPECT_EQ(M.Text(), "0.0010");
  M.TruncZeros = true;
  M.SetValue(0.001);
  EXPECT_EQ(M.Text(), "0.001");
  M.SetValue(2.5);
  EXPECT_DOUBLE_EQ(M.Value(), 2.5);
  EXPECT_FALSE(M.Edited());

  // Either separator, in either locale.
  M.TextEdited("0,25");
  EXPECT_DOUBLE_EQ(M.Value(), 0.25);
  M.SetLocaleSeparator(U',');
  M.TextEdited(" 0.75 ");
  EXPECT_DOUBLE_EQ(M.Value(), 0.75);
  M.TextEdited("1,5");
  EXPECT_DOUBLE_EQ(M.Value(), 1.5);
  M.TextEdited("1.000,5");  // the point would be a group separator
  EXPECT_THROW(M.Value(), core::EConvertError);
  M.TruncZeros = false;
  M.SetPrecision(2);
  M.SetValue(1.5);
  EXPECT_EQ(M.Text(), "1,50");
  M.SetLocaleSeparator(U'.');

  for (const char* Bad : {"1.2.3", "", "+-1", "1e", "--1"}) {
    M.TextEdited(Bad);
    EXPECT_THROW(M.Value(), core::EConvertError) << Bad;
  }
  M.TextEdited("+1e2");
  EXPECT_DOUBLE_EQ(M.Value(), 100);
  M.SetValue(3);  // the value set, not the text's, until the next edit
  EXPECT_DOUBLE_EQ(M.Value(), 3);
}

TEST(FloatEditModel, ClampingAndLeavingTheField) {
  TFloatEditModel M;
  M.SetValue(-7);  // no bounds: nothing clamped
  EXPECT_EQ(M.Text(), "-7.00");
  M.MinValue = 1;
  M.MaxValue = 5;
  M.SetValue(7);
  EXPECT_EQ(M.Text(), "5.00");
  EXPECT_DOUBLE_EQ(M.Value(), 5);
  M.TextEdited("0.5");
  EXPECT_EQ(LeaveError(M), "");
  EXPECT_EQ(M.Text(), "1.00");
  M.TextEdited("3");
  EXPECT_EQ(LeaveError(M), "");
  EXPECT_EQ(M.Text(), "3");

  M.StrictCheck = true;
  M.TextEdited("abc");
  EXPECT_EQ(LeaveError(M), "Ошибка: не могу преобразовать строку \"abc\" в число");
  M.TextEdited("  ");
  EXPECT_EQ(LeaveError(M), "Ошибка: Введите число");
  M.TextEdited("");
  EXPECT_EQ(LeaveError(M), "Ошибка: Введите число");
}

}  // namespace
