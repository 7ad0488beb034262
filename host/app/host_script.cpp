#include "host/app/host_script.h"

#include <map>

namespace host {

namespace {

struct TVerb {
  int MinArgs;
  int MaxArgs;  // -1: any number
  const char* Usage;
};

const std::map<QString, TVerb>& Verbs() {
  static const std::map<QString, TVerb> Table = {
      {"open", {1, 1, "open FILE                  open a project file"}},
      {"new", {0, 0, "new                        start an empty project"}},
      {"save", {0, 1, "save [FILE]                save the project (as FILE)"}},
      {"import",
       {3, 4,
        "import LAYER STYLE FILE [GISLAYER]   read a file's objects into a layer: WKT "
        "(.wkt), or any GIS format (GISLAYER: the file's layer when it has several)"}},
      {"export",
       {2, 2,
        "export LAYER FILE          write a layer by the file's extension: .wkt, .gpkg, "
        ".geojson, .fgb, .dxf, ..."}},
      {"select", {0, -1, "select [ID...]             select objects by ID (none: clear)"}},
      {"command", {1, 1, "command NAME               run an add-on command (ident or caption)"}},
      {"press",
       {1, 1,
        "press NAME                 trigger an action or click a button, found by "
        "object name, caption or tool tip in any window"}},
      {"check", {2, 2, "check NAME on|off          set a check box"}},
      {"width", {1, 1, "width VALUE                type the buffer zone width on the pad"}},
      {"type", {2, 2, "type NAME TEXT             type TEXT into the edit field NAME"}},
      {"style",
       {1, 2,
        "style ID [SHOT.png]        choose the new object's style in the chooser "
        "(SHOT: a picture taken with the chooser open)"}},
      {"search",
       {2, 2,
        "search TEXT SHOT.png       a picture of the tree search over the style "
        "chooser, filtered by TEXT; both are cancelled"}},
      {"click",
       {2, 3,
        "click X Y [ctrl|shift|alt]   left click at map coordinates (metres), the key "
        "held"}},
      {"hover", {2, 2, "hover X Y                  move the mouse to map coordinates (metres)"}},
      {"zoom", {1, 4, "zoom all|selection|X1 Y1 X2 Y2   show all, the selection or a rectangle"}},
      {"move",
       {3, 3, "move WINDOW X Y            move a window (title or object name) on the screen"}},
      {"resize", {2, 2, "resize W H                 resize the main window (pixels)"}},
      {"screenshot",
       {1, 2,
        "screenshot FILE.png [WINDOW]   save a picture of the application, or of one "
        "window (title or object name)"}},
      {"expect", {2, 3, "expect objects LAYER N     fail unless LAYER holds N objects"}},
  };
  return Table;
}

// Words separated by blanks; double quotes keep blanks in a word and make
// an empty word of "" (a file name left empty is an error of its step, not
// a word to drop).
QStringList SplitWords(const QString& Line) {
  QStringList Words;
  QString Word;
  bool InWord = false, Quoted = false;
  for (const QChar C : Line) {
    if (C == '"') {
      Quoted = !Quoted;
      InWord = true;
    } else if (!Quoted && C.isSpace()) {
      if (InWord) Words << Word;
      Word.clear();
      InWord = false;
    } else {
      Word += C;
      InWord = true;
    }
  }
  if (InWord) Words << Word;
  return Words;
}

}  // namespace

QString ScriptVerbsText() {
  QString Text;
  for (const auto& [Name, Verb] : Verbs()) Text += "  " + QString::fromUtf8(Verb.Usage) + '\n';
  return Text;
}

TScriptError ParseScript(const QString& Text, std::vector<TScriptStep>& Steps) {
  std::vector<TScriptStep> Result;
  const QStringList Lines = Text.split('\n');
  for (int I = 0; I < Lines.size(); ++I) {
    const QString Line = Lines[I].trimmed();
    if (Line.isEmpty() || Line.startsWith('#')) continue;
    if (Line.count('"') % 2 != 0) return {I + 1, "unbalanced double quote"};
    QStringList Words = SplitWords(Line);
    if (Words.front().isEmpty()) return {I + 1, "empty step"};
    TScriptStep Step;
    Step.Line = I + 1;
    Step.Verb = Words.takeFirst().toLower();
    Step.Args = Words;
    const auto It = Verbs().find(Step.Verb);
    if (It == Verbs().end()) return {I + 1, "unknown step \"" + Step.Verb + "\""};
    const TVerb& V = It->second;
    if (Step.Args.size() < V.MinArgs || (V.MaxArgs >= 0 && Step.Args.size() > V.MaxArgs))
      return {I + 1,
              "wrong number of arguments; usage: " + QString::fromUtf8(V.Usage).simplified()};
    Result.push_back(std::move(Step));
  }
  Steps = std::move(Result);
  return {};
}

TScriptError RunScript(const std::vector<TScriptStep>& Steps, TScriptTarget& Target) {
  for (const TScriptStep& Step : Steps) {
    QString Error;
    try {
      Error = Target.Do(Step);
    } catch (const std::exception& E) {
      Error = QString::fromUtf8(E.what());
    }
    if (!Error.isEmpty()) return {Step.Line, Error};
  }
  return {};
}

}  // namespace host
