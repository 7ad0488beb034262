// The reference host: a small GIS that loads every active add-on of the
// registry, connects it and offers its commands in its menus and tool bar.
// Run with --help for the options.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <cstdio>
#include <memory>

#include "compat/atomic_file.h"
#include "compat/registry.h"
#include "host/app/host_language.h"
#include "host/app/host_options.h"
#include "host/app/host_script.h"
#include "host/app/host_script_target.h"
#include "host/app/host_window.h"
#include "host/com/addon_registry.h"
#include "host/com/host_manager.h"

namespace {

// Registration as a registration tool does it; 0 on success.
int Register(const QString& Path, bool Register) {
  try {
    host::THostModule Module(Path.toStdString());
    const HRESULT AddOns = Module.KxDllRegisterAddOn(nullptr, Register ? 1 : 0);
    const HRESULT Classes = Register ? Module.DllRegisterServer() : Module.DllUnregisterServer();
    if (FAILED(AddOns) || FAILED(Classes)) {
      // The module says nothing of why; the registry file that cannot be
      // written is the usual reason, and the system tells it.
      std::string Why = ", the registry is " + compat::TRegistry::DefaultFileName();
      try {
        compat::ReplacementName(compat::TRegistry::DefaultFileName());
      } catch (const compat::EFileWriteError& E) {
        Why = ": " + std::string(E.what());
      }
      std::fprintf(stderr, "trace-host: %s: registration failed%s\n", qPrintable(Path),
                   Why.c_str());
      return 1;
    }
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "trace-host: %s\n", E.what());
    return 1;
  }
}

int RunScript(host::THostWindow& Window, const QString& File) {
  QFile In(File);
  if (!In.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "trace-host: cannot read the script %s\n", qPrintable(File));
    return 2;
  }
  std::vector<host::TScriptStep> Steps;
  host::TScriptError Error = host::ParseScript(QString::fromUtf8(In.readAll()), Steps);
  if (!Error) {
    host::THostScriptTarget Target(Window, QFileInfo(File).absoluteDir());
    Error = host::RunScript(Steps, Target);
  }
  if (Error) {
    std::fprintf(stderr, "%s:%d: %s\n", qPrintable(File), Error.Line, qPrintable(Error.Message));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList Arguments;
  for (int I = 0; I < argc; ++I) Arguments << QString::fromLocal8Bit(argv[I]);
  const host::THostOptions Options = host::ParseHostOptions(Arguments);
  if (!Options.Error.isEmpty()) {
    std::fprintf(stderr, "trace-host: %s\nTry trace-host --help.\n", qPrintable(Options.Error));
    return 2;
  }
  if (Options.Help) {
    std::printf("%s\nScript steps (--script):\n%s", qPrintable(host::HostHelpText()),
                qPrintable(host::ScriptVerbsText()));
    return 0;
  }
  if (!Options.Register.isEmpty()) return Register(Options.Register, true);
  if (!Options.Unregister.isEmpty()) return Register(Options.Unregister, false);
  if (!host::HostHasDisplay()) {
    std::fputs(qPrintable(host::NoDisplayText()), stderr);
    return 3;
  }

  QApplication App(argc, argv);
  // Before any window, so that every text is made in the chosen language.
  const host::THostTranslation Translation(host::HostLanguage(Options.Language));
  auto Manager = Options.Settings.isEmpty()
                     ? std::make_unique<host::THostManager>()
                     : std::make_unique<host::THostManager>(Options.Settings.toStdString());
  int Result = 0;
  {
    host::THostWindow Window(*Manager);
    std::unique_ptr<compat::TRegistry> Registry;
    try {
      Registry = std::make_unique<compat::TRegistry>();
    } catch (const std::exception& E) {
      std::fprintf(stderr, "trace-host: %s\n", E.what());
    }
    // The project first, so that add-ons find it when they connect.
    const QString Project =
        Options.Project.isEmpty() ? host::THostWindow::SampleProject() : Options.Project;
    try {
      Window.OpenProject(Project);
    } catch (const std::exception& E) {
      std::fprintf(stderr, "trace-host: %s\n", E.what());
      if (!Options.Project.isEmpty() || !Options.Script.isEmpty()) return 1;
    }
    if (Options.List) {
      Window.SetReporter(
          [](const QString& Text) { std::fprintf(stderr, "trace-host: %s\n", qPrintable(Text)); });
      if (Registry) Window.LoadAddOns(*Registry);
      for (const host::THostAddOnCommand& C : Window.AddOns().Commands())
        std::printf("%s: %s (%dx%d image)\n", qPrintable(C.Ident), qPrintable(C.MenuPath),
                    C.Image.width(), C.Image.height());
      return 0;
    }
    if (!Options.Script.isEmpty()) {
      // Reports during start go to the terminal: nobody is there to click.
      Window.SetReporter(
          [](const QString& Text) { std::fprintf(stderr, "trace-host: %s\n", qPrintable(Text)); });
      if (Registry) Window.LoadAddOns(*Registry);
      Window.Window().show();
      Result = RunScript(Window, Options.Script);
    } else {
      Window.Window().show();
      if (Registry) Window.LoadAddOns(*Registry);
      Result = App.exec();
    }
  }
  return Result;
}
