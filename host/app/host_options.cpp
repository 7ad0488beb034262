#include "host/app/host_options.h"

#include <QCommandLineParser>
#include <cstdlib>

namespace host {

namespace {

struct TParser {
  QCommandLineParser Parser;
  QCommandLineOption Help{{"h", "help"}, "Show these options and exit."};
  QCommandLineOption Script{"script",
                            "Replay the steps of FILE, then exit; the exit status is 0 "
                            "when every step succeeded.",
                            "FILE"};
  QCommandLineOption Settings{"settings", "Keep the settings store in FILE.", "FILE"};
  QCommandLineOption Register{
      "register", "Register MODULE's add-ons (active) and classes, then exit.", "MODULE"};
  QCommandLineOption Unregister{
      "unregister", "Remove MODULE's classes and mark its add-ons inactive, then exit.", "MODULE"};
  QCommandLineOption List{"list", "Load the active add-ons, print their commands and exit."};
  QCommandLineOption Language{"language",
                              "The windows' language: ru or en (default: TRACE_LANGUAGE, else "
                              "the locale's).",
                              "LANG"};

  TParser() {
    Parser.setApplicationDescription(
        "The reference host: a small GIS that loads the registered add-ons.\n"
        "Without PROJECT it opens the sample town. Add-ons are read from the registry file "
        "named by TRACE_REGISTRY_FILE.");
    Parser.addOptions({Help, Script, Settings, Register, Unregister, List, Language});
    Parser.addPositionalArgument("PROJECT", "The project file to open.", "[PROJECT]");
  }
};

}  // namespace

THostOptions ParseHostOptions(const QStringList& Arguments) {
  TParser P;
  THostOptions Options;
  if (!P.Parser.parse(Arguments)) {
    Options.Error = P.Parser.errorText();
    return Options;
  }
  Options.Help = P.Parser.isSet(P.Help);
  Options.List = P.Parser.isSet(P.List);
  Options.Script = P.Parser.value(P.Script);
  Options.Settings = P.Parser.value(P.Settings);
  Options.Register = P.Parser.value(P.Register);
  Options.Unregister = P.Parser.value(P.Unregister);
  // A language the host has no words for is a mistake on the command line;
  // from the environment it falls back to the locale's.
  Options.Language = P.Parser.value(P.Language);
  if (!Options.Language.isEmpty() && Options.Language != "ru" && Options.Language != "en")
    Options.Error = "unknown language " + Options.Language + " (ru or en)";
  if (Options.Language.isEmpty()) Options.Language = qEnvironmentVariable("TRACE_LANGUAGE");
  const QStringList Positional = P.Parser.positionalArguments();
  if (Positional.size() > 1)
    Options.Error = "only one project can be opened: " + Positional.join(' ');
  else if (!Positional.isEmpty())
    Options.Project = Positional.front();
  if (!Options.Register.isEmpty() && !Options.Unregister.isEmpty())
    Options.Error = "--register and --unregister exclude each other";
  return Options;
}

QString HostHelpText() {
  TParser P;
  // helpText names the program from the application, which may not exist yet.
  QString Text = P.Parser.helpText();
  const int From = Text.indexOf("Usage: ") + 7, To = Text.indexOf(" [options]");
  if (From >= 7 && To > From) Text.replace(From, To - From, "trace-host");
  return Text;
}

bool HostHasDisplay() {
  for (const char* Name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* Value = std::getenv(Name);
    if (Value && *Value) return true;
  }
  return false;
}

QString NoDisplayText() {
  return "trace-host: no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
         "Run it under a virtual display:\n"
         "  xvfb-run -a trace-host [PROJECT]\n"
         "or without any window, for scripts and screenshots:\n"
         "  QT_QPA_PLATFORM=offscreen trace-host --script FILE\n";
}

}  // namespace host
