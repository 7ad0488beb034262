// The host's scripted mode: a text file of steps, one a line, replayed
// against the running application so that a whole session (open a project,
// select, run a command, work the add-on's forms, click on the map, save
// pictures and layers) runs without a person. Blank lines and lines starting
// with "#" are skipped; words are separated by blanks, and a word with
// blanks is written in double quotes.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace host {

class THostWindow;

struct TScriptStep {
  int Line = 0;
  QString Verb;  // lower case
  QStringList Args;
};

struct TScriptError {
  int Line = 0;  // 0: no error
  QString Message;
  explicit operator bool() const { return Line != 0; }
};

// Checks every step's verb and argument count; Steps is filled only when the
// whole script is well formed.
TScriptError ParseScript(const QString& Text, std::vector<TScriptStep>& Steps);
// The verbs and what they take, for --help and error texts.
QString ScriptVerbsText();

// What a script step does to the application; one implementation drives the
// real window, tests may drive their own.
class TScriptTarget {
 public:
  virtual ~TScriptTarget() = default;
  // Each returns an empty text on success, else what went wrong.
  virtual QString Do(const TScriptStep& Step) = 0;
};

// Runs the steps in order and stops at the first that fails. Relative file
// names in steps are taken from BaseDir.
TScriptError RunScript(const std::vector<TScriptStep>& Steps, TScriptTarget& Target);

}  // namespace host
