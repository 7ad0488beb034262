#include "addonlib/trees/words_filter.h"

namespace kx {

namespace {

// Pairs laid out upper, lower, upper, lower... from First to Last.
bool InPairs(char32_t C, char32_t First, char32_t Last) {
  return C >= First && C <= Last;
}

std::u32string Upper(std::string_view Text) {
  std::u32string S = DecodeUtf8(Text);
  for (char32_t& C : S) C = UpperChar(C);
  return S;
}

}  // namespace

char32_t UpperChar(char32_t C) {
  if (C < 0x80) return C >= U'a' && C <= U'z' ? C - 32 : C;
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 32;
  if (C == 0xFF) return 0x178;
  if (C == 0x131) return U'I';
  // Latin Extended-A: upper at the even (or odd) member of each pair.
  if ((InPairs(C, 0x100, 0x12F) || InPairs(C, 0x132, 0x137) || InPairs(C, 0x14A, 0x177)) &&
      C % 2 == 1)
    return C - 1;
  if ((InPairs(C, 0x139, 0x148) || InPairs(C, 0x179, 0x17E)) && C % 2 == 0) return C - 1;
  // Greek.
  if (InPairs(C, 0x3B1, 0x3C1) || InPairs(C, 0x3C3, 0x3CB)) return C - 32;
  if (C == 0x3C2) return 0x3A3;
  if (C == 0x3AC) return 0x386;
  if (InPairs(C, 0x3AD, 0x3AF)) return C - 37;
  if (C == 0x3CC) return 0x38C;
  if (InPairs(C, 0x3CD, 0x3CE)) return C - 63;
  // Cyrillic.
  if (InPairs(C, 0x430, 0x44F)) return C - 32;
  if (InPairs(C, 0x450, 0x45F)) return C - 80;
  if ((InPairs(C, 0x460, 0x481) || InPairs(C, 0x48A, 0x4BF) || InPairs(C, 0x4D0, 0x52F)) &&
      C % 2 == 1)
    return C - 1;
  if (InPairs(C, 0x4C1, 0x4CE) && C % 2 == 0) return C - 1;
  if (C == 0x4CF) return 0x4C0;
  return C;
}

bool IsLetterOrDigit(char32_t C) {
  if (C < 0x80)
    return (C >= U'0' && C <= U'9') || (C >= U'A' && C <= U'Z') || (C >= U'a' && C <= U'z');
  if (C < 0xC0)
    return C == 0xAA || C == 0xB2 || C == 0xB3 || C == 0xB5 || C == 0xB9 || C == 0xBA ||
           (C >= 0xBC && C <= 0xBE);
  if (C < 0x250) return C != 0xD7 && C != 0xF7;
  if (C < 0x370) return C < 0x2B0;  // IPA letters; modifiers and combining marks are not
  if (C < 0x400)
    return C != 0x375 && C != 0x37E && C != 0x384 && C != 0x385 && C != 0x387 && C != 0x3F6;
  if (C < 0x530) return C < 0x482 || C > 0x489;
  // Punctuation, symbols and the full-width forms of the ASCII signs.
  if ((C >= 0x2000 && C <= 0x2BFF) || (C >= 0x3000 && C <= 0x303F) ||
      (C >= 0xFE10 && C <= 0xFE6F) || (C >= 0xFF00 && C <= 0xFF0F) ||
      (C >= 0xFF1A && C <= 0xFF20) || C == 0xFFFD)
    return false;
  return true;
}

std::u32string DecodeUtf8(std::string_view Text) {
  std::u32string Result;
  Result.reserve(Text.size());
  for (std::size_t I = 0; I < Text.size();) {
    const auto B = static_cast<unsigned char>(Text[I]);
    int Extra = B < 0x80 ? 0 : (B >> 5) == 6 ? 1 : (B >> 4) == 14 ? 2 : (B >> 3) == 30 ? 3 : -1;
    char32_t C = Extra == 0 ? B : Extra == 1 ? B & 0x1F : Extra == 2 ? B & 0x0F : B & 0x07;
    bool Ok = Extra >= 0 && I + static_cast<std::size_t>(Extra) < Text.size();
    for (int K = 1; Ok && K <= Extra; ++K) {
      const auto Next = static_cast<unsigned char>(Text[I + static_cast<std::size_t>(K)]);
      Ok = (Next & 0xC0) == 0x80;
      C = (C << 6) | (Next & 0x3F);
    }
    if (!Ok) {
      Result.push_back(0xFFFD);
      ++I;
      continue;
    }
    Result.push_back(C);
    I += static_cast<std::size_t>(Extra) + 1;
  }
  return Result;
}

std::string EncodeUtf8(std::u32string_view Text) {
  std::string Result;
  for (char32_t C : Text) {
    if (C < 0x80) {
      Result += static_cast<char>(C);
    } else if (C < 0x800) {
      Result += static_cast<char>(0xC0 | (C >> 6));
      Result += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
      Result += static_cast<char>(0xE0 | (C >> 12));
      Result += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
      Result += static_cast<char>(0x80 | (C & 0x3F));
    } else {
      Result += static_cast<char>(0xF0 | (C >> 18));
      Result += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
      Result += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
      Result += static_cast<char>(0x80 | (C & 0x3F));
    }
  }
  return Result;
}

TWordsFilter::TWordsFilter(std::string_view Text) {
  SetText(Text);
}

void TWordsFilter::SetText(std::string_view Text) {
  if (FHasText && Text == FText) return;
  FHasText = true;
  FText = Text;
  FWords.clear();
  std::u32string Word;
  for (const char32_t C : Upper(Text)) {
    if (C <= 32) {
      if (!Word.empty()) FWords.push_back(Word);
      Word.clear();
    } else {
      Word += C;
    }
  }
  if (!Word.empty()) FWords.push_back(Word);
}

std::vector<std::string> TWordsFilter::Words() const {
  std::vector<std::string> Result;
  for (const std::u32string& W : FWords) Result.push_back(EncodeUtf8(W));
  return Result;
}

bool TWordsFilter::Matches(std::string_view Candidate) const {
  if (FWords.empty()) return true;
  const std::u32string S = Upper(Candidate);
  for (const std::u32string& Word : FWords) {
    bool Found = false;
    for (std::size_t At = S.find(Word); At != std::u32string::npos; At = S.find(Word, At + 1)) {
      if (At == 0 || !IsLetterOrDigit(S[At - 1])) {
        Found = true;
        break;
      }
    }
    if (!Found) return false;
  }
  return true;
}

}  // namespace kx
