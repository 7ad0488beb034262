#include "host/com/host_manager.h"

#include <QApplication>

namespace host {

THostManager::THostManager(const std::string& SettingsPath)
    : THostComManager(SettingsPath), FPicture(MapView()) {
  // Without a widget application (a model's tests) the host has no window.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  FMainWindow = std::make_unique<QMainWindow>();
  FMainWindow->setWindowTitle(QStringLiteral("Trace host"));
  FMainWindow->resize(800, 600);
  SetMainWindowHandle(static_cast<HWND>(FMainWindow->winId()));
}

THostManager::~THostManager() = default;

}  // namespace host
