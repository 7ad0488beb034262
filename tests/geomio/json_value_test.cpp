#include "geomio/json_value.h"

#include <gtest/gtest.h>

#include "geomio/input_error.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

TEST(JsonValue, ReadsValuesWithTheLinesTheyStartOn) {
  const std::vector<TJsonValue> V = ParseJsonSequence(
      "{\n \"a\": [1, -2.5e3, true, false, null],\n"
      " \"s\": \"q\\\"\\\\\\/\\u00e9\\ud83d\\ude00\\n\", \"k\": 1, \"k\": 2\n}\n[]\n  7");
  ASSERT_EQ(V.size(), 3u);
  EXPECT_EQ(V[0].Kind, TJsonValue::jObject);
  EXPECT_EQ(V[0].Line, 1);
  const TJsonValue* A = V[0].Find("a");
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(A->Line, 2);
  ASSERT_EQ(A->Items.size(), 5u);
  EXPECT_EQ(A->Items[0].Number, 1);
  EXPECT_EQ(A->Items[1].Number, -2500);
  EXPECT_TRUE(A->Items[2].Bool);
  EXPECT_EQ(A->Items[3].Kind, TJsonValue::jBool);
  EXPECT_FALSE(A->Items[3].Bool);
  EXPECT_EQ(A->Items[4].Kind, TJsonValue::jNull);
  const TJsonValue* S = V[0].Find("s");
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->String, "q\"\\/\xC3\xA9\xF0\x9F\x98\x80\n");
  EXPECT_EQ(V[0].Find("k")->Number, 2);  // the last duplicate wins
  EXPECT_EQ(V[0].Find("missing"), nullptr);
  EXPECT_EQ(V[1].Kind, TJsonValue::jArray);
  EXPECT_TRUE(V[1].Items.empty());
  EXPECT_EQ(V[1].Line, 5);
  EXPECT_EQ(V[2].Number, 7);
  EXPECT_EQ(V[2].Line, 6);
  EXPECT_TRUE(ParseJsonSequence(" \n\t").empty());
  // A number ends only at the byte after it, which must not count towards its
  // line, nor be lost to the next value.
  const std::vector<TJsonValue> N = ParseJsonSequence("[1,\n2\n,3]\n4\n5[6]");
  ASSERT_EQ(N.size(), 4u);
  EXPECT_EQ(N[0].Items.at(1).Line, 2);
  EXPECT_EQ(N[0].Items.at(2).Line, 3);
  EXPECT_EQ(N[1].Line, 4);
  EXPECT_EQ(N[2].Number, 5);
  EXPECT_EQ(N[2].Line, 5);
  EXPECT_EQ(N[3].Items.at(0).Number, 6);
}

TEST(JsonValue, RejectsMalformedTextNamingTheLine) {
  struct {
    const char* Text;
    int Line;
    const char* Part;
  } const Cases[] = {
      {"{\"a\" 1}", 1, "expected ':' (column 6)"},
      {"[1,\n2,\n]", 3, "unexpected ']'"},
      {"[01]", 1, "expected ']'"},
      {"[1.]", 1, "expected digit after '.'"},
      {"[-]", 1, "expected digit after '-'"},
      {"[1e+]", 1, "expected digit after exponent sign"},
      {"\"abc", 1, "missing closing quote"},
      {"[\"\\ud800\"]", 1, "must be followed by U+DC00"},
      {"[\"\\udc00\"]", 1, "must follow U+D800"},
      {"[\"\\u12g4\"]", 1, "followed by 4 hex digits"},
      {"\"\\q\"", 1, "forbidden character after backslash"},
      {"\n\n{\"a\": tru}", 3, "invalid literal"},
      {"[1e999]", 1, "number overflow"},
      {"{1:2}", 1, "expected string literal"},
      {"[\"a\tb\"]", 1, "control character"},
      {"[1 2]", 1, "expected ']'"},
      {"{\"a\":1\n\n", 3, "end of input; expected '}'"},
  };
  for (const auto& C : Cases) {
    const EInputError E = test::InputErrorOf([&] { ParseJsonSequence(C.Text); });
    EXPECT_EQ(E.Line, C.Line) << C.Text;
    EXPECT_NE(E.Text.find(C.Part), std::string::npos) << C.Text << " -> " << E.Text;
  }
  // Hostile nesting is refused instead of exhausting the stack.
  const EInputError Deep = test::InputErrorOf([] { ParseJsonSequence(std::string(100000, '[')); });
  EXPECT_NE(Deep.Text.find("nesting deeper"), std::string::npos);
}

}  // namespace
}  // namespace geomio
