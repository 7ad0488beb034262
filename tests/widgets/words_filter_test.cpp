#include "addonlib/widgets/words_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(WordsFilter, EveryWordMustStartAWordOfTheCandidate) {
  kx::TWordsFilter F("ab cd");
  EXPECT_EQ(F.Words(), (QStringList{"AB", "CD"}));
  EXPECT_TRUE(F.Matches("xx AB-CD"));
  EXPECT_TRUE(F.Matches("cdef, abc"));
  EXPECT_FALSE(F.Matches("xabcd"));
  EXPECT_FALSE(F.Matches("ab only"));
  // A later occurrence at a word start counts even when an earlier one does not.
  EXPECT_TRUE(F.Matches("xab cd ab"));
  // Digits continue a word just like letters.
  EXPECT_FALSE(F.Matches("1ab 2cd"));
}

TEST(WordsFilter, EmptyTextMatchesEverythingAndControlCharactersSeparate) {
  kx::TWordsFilter F;
  EXPECT_TRUE(F.Matches(""));
  EXPECT_TRUE(F.Matches("anything"));
  F.SetText(" \t\n ");
  EXPECT_TRUE(F.Words().isEmpty());
  EXPECT_TRUE(F.Matches("anything"));
  F.SetText(
      "a\tb\x01"
      "c");
  EXPECT_EQ(F.Words(), (QStringList{"A", "B", "C"}));
}

TEST(WordsFilter, CyrillicIsUpperCasedByTheLocale) {
  kx::TWordsFilter F(QString::fromUtf8("тра ёж"));
  EXPECT_EQ(F.Words(), (QStringList{QString::fromUtf8("ТРА"), QString::fromUtf8("ЁЖ")}));
  EXPECT_TRUE(F.Matches(QString::fromUtf8("Ёжик: ТРАССИРОВКА")));
  EXPECT_FALSE(F.Matches(QString::fromUtf8("Ёжик: Стра")));
  // Setting the same text again keeps the words.
  F.SetText(QString::fromUtf8("тра ёж"));
  EXPECT_EQ(F.Words().size(), 2);
}

}  // namespace
