#include <gtest/gtest.h>

#include "compat/cp1251.h"
#include "compat/guid.h"
#include "compat/short_string.h"

namespace {

TEST(Cp1251, EveryByteSurvivesARoundTripAndCyrillicMapsToItsCodes) {
  std::string All;
  for (int B = 0; B < 256; ++B) All += static_cast<char>(B);
  const std::string Utf8 = compat::Cp1251ToUtf8(All);
  EXPECT_EQ(compat::Utf8ToCp1251(Utf8), All);

  EXPECT_EQ(compat::Utf8ToCp1251("Трасса"), "\xD2\xF0\xE0\xF1\xF1\xE0");
  EXPECT_EQ(compat::Utf8ToCp1251("Ёё№€"), "\xA8\xB8\xB9\x88");
  EXPECT_EQ(compat::Cp1251ToUtf8("\xC0\xFF"), "Ая");
}

TEST(Cp1251, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(compat::Utf8ToCp1251("a日b"), "a?b");
  EXPECT_EQ(compat::Utf8ToCp1251("a\xFF"
                                 "b"),
            "a?b");
  // A lead byte cut off by the end, and one followed by a plain character.
  EXPECT_EQ(compat::Utf8ToCp1251("x\xD0"), "x?");
  EXPECT_EQ(compat::Utf8ToCp1251("\xD0z"), "?z");
  EXPECT_EQ(compat::Utf8ToCp1251("😀"), "?");
}

TEST(ShortString, CutsToCapacityAndComparesExactBytes) {
  using S3 = compat::ShortString<3>;
  static_assert(sizeof(S3) == 4);
  const S3 A = S3::FromUtf8("Привет");
  EXPECT_EQ(A.Length, 3);
  EXPECT_EQ(A.ToUtf8(), "При");

  // Bytes past the length do not take part in comparisons.
  S3 B = S3::FromBytes("ab");
  S3 C = S3::FromBytes("abc");
  EXPECT_FALSE(B == C);
  C.Length = 2;
  EXPECT_TRUE(B == C);
  // Letter case matters: identifiers are compared bytewise.
  EXPECT_FALSE(S3::FromUtf8("ab") == S3::FromUtf8("AB"));

  // A length byte beyond the capacity is read as the capacity.
  B.Length = 200;
  EXPECT_EQ(B.Size(), 3);
}

TEST(Guid, RegistryTextFormIsBracedUpperCaseAndParsesBack) {
  constexpr GUID G = compat::ParseGuid("{92544842-89a1-11d0-b4c6-00c00c100ada}");
  EXPECT_EQ(G.Data1, 0x92544842u);
  EXPECT_EQ(G.Data2, 0x89A1);
  EXPECT_EQ(G.Data4[7], 0xDA);
  EXPECT_EQ(compat::GuidToString(G), "{92544842-89A1-11D0-B4C6-00C00C100ADA}");
  const auto Back = compat::TryParseGuid(compat::GuidToString(G));
  ASSERT_TRUE(Back.has_value());
  EXPECT_TRUE(*Back == G);

  for (const char* Bad :
       {"92544842-89A1-11D0-B4C6-00C00C100ADA", "{92544842-89A1-11D0-B4C6-00C00C100AD}",
        "{92544842-89A1-11D0-B4C6+00C00C100ADA}", "{9254484G-89A1-11D0-B4C6-00C00C100ADA}", ""})
    EXPECT_FALSE(compat::TryParseGuid(Bad).has_value()) << Bad;
}

}  // namespace
