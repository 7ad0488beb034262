#include "addonlib/trees/words_filter.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(WordsFilter, EveryWordMustStartAWordOfTheCandidate) {
  kx::TWordsFilter F("ab cd");
  EXPECT_EQ(F.Words(), (Words{"AB", "CD"}));
  EXPECT_TRUE(F.Matches("xx AB-CD"));
  EXPECT_TRUE(F.Matches("cdef, abc"));
  EXPECT_FALSE(F.Matches("xabcd"));
  EXPECT_FALSE(F.Matches("ab only"));
  // A later occurrence at a word start counts even when an earlier one does not.
  EXPECT_TRUE(F.Matches("xab cd ab"));
  // Digits continue a word just like letters, Cyrillic letters too.
  EXPECT_FALSE(F.Matches("1ab 2cd"));
  EXPECT_FALSE(F.Matches("жab cd"));
  EXPECT_TRUE(F.Matches("«ab» cd"));
}

TEST(WordsFilter, EmptyTextMatchesEverythingAndControlCharactersSeparate) {
  kx::TWordsFilter F;
  EXPECT_TRUE(F.Matches(""));
  EXPECT_TRUE(F.Matches("anything"));
  F.SetText(" \t\n ");
  EXPECT_TRUE(F.Words().empty());
  EXPECT_TRUE(F.Matches("anything"));
  F.SetText(
      "a\tb\x01"
      "c");
  EXPECT_EQ(F.Words(), (Words{"A", "B", "C"}));
}

TEST(WordsFilter, CyrillicGreekAndLatinAreUpperCased) {
  kx::TWordsFilter F("тра ёж");
  EXPECT_EQ(F.Words(), (Words{"ТРА", "ЁЖ"}));
  EXPECT_TRUE(F.Matches("Ёжик: ТРАССИРОВКА"));
  EXPECT_FALSE(F.Matches("Ёжик: Стра"));
  F.SetText("straße ωμέγα éte ґанок");
  // ß has no upper case of one letter: it stays.
  EXPECT_EQ(F.Words(), (Words{"STRAßE", "ΩΜΈΓΑ", "ÉTE", "ҐАНОК"}));
  EXPECT_TRUE(F.Matches("STRAßE ΩΜΈΓΑ ÉTES ҐАНОК"));
  // A malformed byte is no letter: it separates words.
  F.SetText("ab");
  EXPECT_TRUE(
      F.Matches("x\xff"
                "ab"));
}

}  // namespace
