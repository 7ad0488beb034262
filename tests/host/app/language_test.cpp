// The host in Russian: the language chosen, every text of the main window
// translated, the translation complete for the sources, and the export
// tolerance said in units.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>

#include "host/app/host_language.h"
#include "host/app/host_window.h"
#include "tests/support/test_host.h"

namespace {

using host::THostTexts;

TEST(HostLanguage, ChosenOrForcedAndEveryWindowTextInRussian) {
  EXPECT_EQ(host::HostLanguage("ru_RU.UTF-8"), "ru");
  EXPECT_EQ(host::HostLanguage("de"), "en");  // no German: English
  host::TTestHost Host;
  {
    const host::THostTranslation Russian("ru");
    ASSERT_TRUE(Russian.Loaded());
    host::THostWindow Window(Host.Manager());
    QMainWindow& W = Window.Window();
    EXPECT_EQ(W.menuBar()->actions().front()->text(), "&Файл");
    EXPECT_EQ(QApplication::applicationDisplayName(), "ГИС Trace");
    // What a user reads: menus and their actions (not the recent files,
    // named by their paths), tool bars, docks, tool tips, the status bar.
    QStringList Texts{W.windowTitle()};
    for (QAction* A : W.findChildren<QAction*>())
      if (!A->toolTip().endsWith('/' + A->text())) Texts << A->text();
    for (QWidget* C : W.findChildren<QWidget*>()) Texts << C->windowTitle() << C->toolTip();
    for (QLabel* L : W.findChildren<QLabel*>()) Texts << L->text();
    // A word of three Latin letters with no Cyrillic before it is English
    // left over; coordinates ("X 500000.00") are no words.
    const QRegularExpression English(QStringLiteral("^[^\\p{Cyrillic}]*[A-Za-z]{3}"));
    EXPECT_EQ(Texts.filter(English).join(" | ").toStdString(), "");
    EXPECT_EQ(
        THostTexts::Note("GeoJSON holds no arcs; they are written as chords within 0.01"),
        "GeoJSON не хранит дуг: они записаны хордами, отстоящими от дуг не более чем на 1 см");
  }
  // Gone with its owner: the next window speaks English again.
  host::TTestHost Next;
  host::THostWindow Window(Next.Manager());
  EXPECT_EQ(Window.Window().menuBar()->actions().front()->text(), "&File");
  EXPECT_EQ(THostTexts::Length(0.0005), "0.5 mm");
  EXPECT_EQ(THostTexts::Length(12000), "12 km");
}

// Every text the host's sources mark for translation has its Russian one,
// and the translation keeps none the sources dropped.
TEST(HostLanguage, TheTranslationCoversTheSources) {
  QTemporaryDir Dir;
  const QString Ts = Dir.filePath("check.ts");
  ASSERT_TRUE(QFile::copy(TRACE_SOURCE_DIR "/host/translations/trace-host_ru.ts", Ts));
  QProcess Lupdate;
  Lupdate.start(TRACE_LUPDATE_PATH, {"-locations", "none", "-I", TRACE_SOURCE_DIR,
                                     TRACE_SOURCE_DIR "/host/app", "-ts", Ts});
  ASSERT_TRUE(Lupdate.waitForFinished(60000));
  ASSERT_EQ(Lupdate.exitCode(), 0) << Lupdate.readAllStandardError().toStdString();
  QFile F(Ts);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  const QString Text = QString::fromUtf8(F.readAll());
  QStringList Unfinished;
  const QRegularExpression Entry(QStringLiteral(
      "<source>([^<]*)</source>\\s*<translation type=\"(unfinished|vanished|obsolete)\""));
  for (auto It = Entry.globalMatch(Text); It.hasNext();) Unfinished << It.next().captured(1);
  EXPECT_EQ(Unfinished.join(" | ").toStdString(), "");
  EXPECT_GT(Text.count("<message>"), 40);
}

}  // namespace
