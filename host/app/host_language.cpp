#include "host/app/host_language.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <cmath>

namespace host {

QString HostLanguage(const QString& Forced) {
  // The language of the user's messages (LANGUAGE, LC_MESSAGES...), which
  // may differ from the locale's number format.
  const QString Name = Forced.trimmed().isEmpty()
                           ? QLocale::system().uiLanguages().value(0, QStringLiteral("C"))
                           : Forced.trimmed();
  const QLocale::Language L = QLocale(Name).language();
  return L == QLocale::Russian ? QStringLiteral("ru") : QStringLiteral("en");
}

THostTranslation::THostTranslation(const QString& Language) {
  // The texts are written in English: English needs no translation.
  if (Language != QLatin1String("en")) {
    FHost = std::make_unique<QTranslator>();
    FLoaded = FHost->load(QStringLiteral(":/i18n/trace-host_") + Language);
    if (FLoaded) QCoreApplication::installTranslator(FHost.get());
    // Qt's own texts (Yes, Cancel, the file dialogs) where the system has
    // them; without them those stay English.
    FQt = std::make_unique<QTranslator>();
    if (FQt->load(QStringLiteral("qtbase_") + Language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      QCoreApplication::installTranslator(FQt.get());
  }
  // Message boxes of the host and of its add-ons carry this name.
  QApplication::setApplicationDisplayName(THostTexts::AppName());
}

THostTranslation::~THostTranslation() {
  for (const auto* T : {&FHost, &FQt})
    if (*T) QCoreApplication::removeTranslator(T->get());
}

QString THostTexts::AppName() {
  return tr("Trace host");
}

QString THostTexts::Length(double Metres) {
  const double A = std::fabs(Metres);
  const auto Say = [](double Value, const QString& Pattern) {
    return Pattern.arg(QLocale().toString(Value, 'g', 3));
  };
  if (A >= 1000) return Say(Metres / 1000, tr("%1 km"));
  if (A >= 1 || A == 0) return Say(Metres, tr("%1 m"));
  if (A >= 0.01) return Say(Metres * 100, tr("%1 cm"));
  return Say(Metres * 1000, tr("%1 mm"));
}

QString THostTexts::Note(const QString& Text) {
  // The readers and writers tell these in English, with bare figures.
  static const QRegularExpression Arcs(
      QStringLiteral("^(.+) holds no arcs; they are written as chords within ([-+.0-9eE]+)$"));
  static const QRegularExpression Fields(
      QStringLiteral("^(.+) keeps no attributes; they are left out$"));
  static const QRegularExpression Crs(
      QStringLiteral("^(.+) keeps no coordinate system; the coordinates are in (.+)$"));
  static const QRegularExpression ZM(QStringLiteral(
      "^(.+): the map keeps x and y only; Z and M values of (\\d+) of (\\d+) objects were left "
      "out$"));
  QRegularExpressionMatch M;
  if ((M = Arcs.match(Text)).hasMatch())
    return tr("%1 holds no arcs; they are written as chords within %2 of them")
        .arg(M.captured(1), Length(M.captured(2).toDouble()));
  if ((M = Fields.match(Text)).hasMatch())
    return tr("%1 keeps no attributes; they are left out").arg(M.captured(1));
  if ((M = Crs.match(Text)).hasMatch())
    return tr("%1 keeps no coordinate system; the coordinates are in %2")
        .arg(M.captured(1), M.captured(2));
  if ((M = ZM.match(Text)).hasMatch())
    return tr("%1: the map keeps x and y only; Z and M values of %2 of %3 objects were left out")
        .arg(M.captured(1), M.captured(2), M.captured(3));
  return Text;
}

}  // namespace host
