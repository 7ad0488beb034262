#include "addonlib/widgets/words_filter.h"

#include <QLocale>

namespace kx {

TWordsFilter::TWordsFilter(const QString& Text) {
  SetText(Text);
}

void TWordsFilter::SetText(const QString& Text) {
  if (FHasText && Text == FText) return;
  FHasText = true;
  FText = Text;
  FWords.clear();
  const QString Upper = QLocale().toUpper(Text);
  QString Word;
  for (const QChar C : Upper) {
    if (C.unicode() <= 32) {
      if (!Word.isEmpty()) FWords.append(Word);
      Word.clear();
    } else {
      Word += C;
    }
  }
  if (!Word.isEmpty()) FWords.append(Word);
}

bool TWordsFilter::Matches(const QString& Candidate) const {
  if (FWords.isEmpty()) return true;
  const QString Upper = QLocale().toUpper(Candidate);
  for (const QString& Word : FWords) {
    bool Found = false;
    for (qsizetype At = Upper.indexOf(Word); At >= 0; At = Upper.indexOf(Word, At + 1)) {
      if (At == 0 || !Upper[At - 1].isLetterOrNumber()) {
        Found = true;
        break;
      }
    }
    if (!Found) return false;
  }
  return true;
}

}  // namespace kx
