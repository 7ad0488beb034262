// The host application's command line, read before any window exists so
// that --help and the missing-display message need no display.
#pragma once

#include <QString>
#include <QStringList>

namespace host {

struct THostOptions {
  QString Project;     // project file to open; empty: the sample town
  QString Script;      // --script FILE
  QString Register;    // --register MODULE
  QString Unregister;  // --unregister MODULE
  QString Settings;    // --settings FILE (the settings store)
  QString Language;    // --language LANG, else TRACE_LANGUAGE; empty: the locale's
  bool Help = false;
  bool List = false;
  QString Error;  // set when the command line is wrong
};

THostOptions ParseHostOptions(const QStringList& Arguments);
QString HostHelpText();

// True when a Qt platform can be expected to start: a platform was chosen
// explicitly (offscreen, xcb, wayland...) or an X or Wayland display is set.
bool HostHasDisplay();
QString NoDisplayText();

}  // namespace host
