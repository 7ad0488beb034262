// An in-process host for tests: a manager (hand it to an add-on's Connect)
// over a project, a map view and a settings store in a temporary folder.
//
//   host::TTestHost Host;                         // QApplication made if missing
//   host::AddSmallProject(Host.Project());         // or LoadProjectFile(...)
//   Host.View().SetTransform({500000, 6000000, 0.1, 800, 600});
//   AddOn->Connect(Host.AddOnManager());
//   Host.View().SetSelection({host::MakeID("1")});
//   Host.View().Render();                          // map, then the editor's Paint
//   Host.View().DrawLog();                         // what the add-on drew
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "host/com/host_manager.h"
#include "host/model/host_error.h"

namespace host {

class TTestHost {
 public:
  // Settings in SettingsPath, or in a temporary folder removed with the host.
  explicit TTestHost(const std::string& SettingsPath = {}) {
    EnsureApplication();
    if (SettingsPath.empty()) {
      FDir = std::make_unique<QTemporaryDir>();
      FSettingsPath = (FDir->path() + QStringLiteral("/settings.ini")).toStdString();
    } else {
      FSettingsPath = SettingsPath;
    }
    FManager = std::make_unique<THostManager>(FSettingsPath);
  }

  THostManager& Manager() { return *FManager; }
  kx::IKxAddOnManager* AddOnManager() { return FManager.get(); }
  THostProject& Project() { return FManager->Project(); }
  THostMapView& View() { return FManager->MapView(); }
  THostMapPicture& Picture() { return FManager->Picture(); }
  THostSettingsStore& Settings() { return FManager->Settings(); }
  THostErrorInfo& ErrorInfo() { return FManager->ErrorInfo(); }
  const std::string& SettingsPath() const { return FSettingsPath; }

  // A new manager over the same settings file, as after a restart of the
  // host; the project starts empty.
  void Restart() {
    FManager.reset();
    FManager = std::make_unique<THostManager>(FSettingsPath);
  }

  // The interfaces an add-on takes at Connect, for tests that call the
  // host directly.
  template <class T>
  compat::TComPtr<T> Query(const GUID& Iid) {
    compat::TComPtr<T> P;
    FManager->QueryInterface(Iid, P.OutVoid());
    return P;
  }

  static void EnsureApplication() {
    if (QApplication::instance()) return;
    static int Argc = 1;
    static char Name[] = "trace-test-host";
    static char* Argv[] = {Name, nullptr};
    // Never destroyed: tearing Qt down after main's end crashes in its own
    // clean-up routines; the static pointer keeps it reachable.
    static QApplication* App = new QApplication(Argc, Argv);
    (void)App;
  }

 private:
  std::unique_ptr<QTemporaryDir> FDir;
  std::string FSettingsPath;
  std::unique_ptr<THostManager> FManager;
};

}  // namespace host
