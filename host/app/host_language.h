// The host speaks the user's language: its texts go through Qt's
// translations (the Russian one is built into the program), chosen by the
// locale or forced, and the few texts that carry figures say them in units.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>

class QTranslator;

namespace host {

// "ru" or "en": Forced when given (the command line's --language, else the
// environment's TRACE_LANGUAGE), else the system locale's language. An
// unknown language falls back to English.
QString HostLanguage(const QString& Forced);

// Installs the host's translation and Qt's own (standard buttons and
// dialogs) for Language while it lives, and names the application for
// message boxes; before any window is made.
class THostTranslation {
 public:
  explicit THostTranslation(const QString& Language);
  ~THostTranslation();
  THostTranslation(const THostTranslation&) = delete;
  THostTranslation& operator=(const THostTranslation&) = delete;

  // False when the language's translation was not found.
  bool Loaded() const { return FLoaded; }

 private:
  std::unique_ptr<QTranslator> FHost, FQt;
  bool FLoaded = true;
};

class THostTexts {
  Q_DECLARE_TR_FUNCTIONS(THostTexts)

 public:
  // The application's name, the title of its message boxes.
  static QString AppName();
  // A length in the unit that reads best: "1 cm", "2.5 m", "3 km".
  static QString Length(double Metres);
  // A note on an import or export, as the readers and writers give it, in
  // the user's language with its tolerance in units; others unchanged.
  static QString Note(const QString& Text);
};

}  // namespace host
