// Matches texts against the words of a filter text: every word must start a
// word of the candidate, in any order, regardless of letter case.
#pragma once

#include <QString>
#include <QStringList>

namespace kx {

class TWordsFilter {
 public:
  explicit TWordsFilter(const QString& Text = QString());

  // Splits the upper-cased text into words at every character with a code
  // of 32 or less.
  void SetText(const QString& Text);
  const QString& Text() const { return FText; }
  const QStringList& Words() const { return FWords; }

  // True when there are no words, or every word occurs in Candidate at its
  // start or after a character that is neither a letter nor a digit.
  bool Matches(const QString& Candidate) const;

 private:
  QStringList FWords;
  QString FText;
  bool FHasText = false;
};

}  // namespace kx
