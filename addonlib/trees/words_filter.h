// Matches texts against the words of a filter text: every word must start a
// word of the candidate, in any order, regardless of letter case. Texts are
// UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TWordsFilter {
 public:
  explicit TWordsFilter(std::string_view Text = {});

  // Splits the upper-cased text into words at every character with a code
  // of 32 or less.
  void SetText(std::string_view Text);
  const std::string& Text() const { return FText; }
  // The upper-cased words, UTF-8.
  std::vector<std::string> Words() const;

  // True when there are no words, or every word occurs in Candidate at its
  // start or after a character that is neither a letter nor a digit.
  bool Matches(std::string_view Candidate) const;

 private:
  std::vector<std::u32string> FWords;
  std::string FText;
  bool FHasText = false;
};

// Upper case of one character: Latin, Greek and Cyrillic letters are mapped,
// everything else stays. One character always maps to one.
char32_t UpperChar(char32_t C);
// Letters and digits of Latin, Greek and Cyrillic, and every character of
// the other scripts apart from the punctuation and symbol blocks.
bool IsLetterOrDigit(char32_t C);
// UTF-8 to code points and back; a malformed byte reads as U+FFFD.
std::u32string DecodeUtf8(std::string_view Text);
std::string EncodeUtf8(std::u32string_view Text);

}  // namespace kx
