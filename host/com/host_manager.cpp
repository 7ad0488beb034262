#include "host/com/host_manager.h"

#include <QApplication>
#include <algorithm>

namespace host {

THostManager::THostManager(const std::string& SettingsPath)
    : FContext(std::make_shared<THostContext>()),
      FMapView(FContext),
      FDatabase(FContext),
      FProject(FContext),
      FObjects(FContext),
      FApplication(FContext, FMapView, SettingsPath) {
  // Without a widget application (a model's tests) the host has no window.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  FMainWindow = std::make_unique<QMainWindow>();
  FMainWindow->setWindowTitle(QStringLiteral("Trace host"));
  FMainWindow->resize(800, 600);
}

THostManager::~THostManager() = default;

HRESULT THostManager::QueryInterface(REFIID Iid, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  if (std::find(FHidden.begin(), FHidden.end(), Iid) != FHidden.end()) return E_NOINTERFACE;
  if (Iid == kx::IID_IKxErrorInfo) return ErrorInfo().QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxMapView) return FMapView.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxGISDatabase) return FDatabase.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxMapProject) return FProject.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxMapObjects) return FObjects.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxGeometryLib) return FGeometry.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IKxPreferences) return FPreferences.QueryInterface(Iid, Obj);
  if (Iid == kx::IID_IOrvexApplication) return FApplication.QueryInterface(Iid, Obj);
  return THostObject::QueryInterface(Iid, Obj);
}

HRESULT THostManager::GetMainWindow(HWND* Wnd) {
  if (!Wnd) return E_POINTER;
  *Wnd = 0;
  if (FFailWindows) {
    const auto Source = kx::TKxText::FromUtf8("Менеджер расширений");
    const auto Message = kx::TKxText::FromUtf8("Главное окно недоступно");
    ErrorInfo().SetLastError(&Source, &Message);
    return E_FAIL;
  }
  if (FMainWindow) *Wnd = static_cast<HWND>(FMainWindow->winId());
  return S_OK;
}

HRESULT THostManager::GetApplicationWindow(HWND* Wnd) {
  return GetMainWindow(Wnd);
}

int THostManager::OutstandingReferences() const {
  return RefCount() + FContext->ErrorInfo.RefCount() + FMapView.RefCount() + FDatabase.RefCount() +
         FProject.RefCount() + FObjects.RefCount() + FGeometry.RefCount() +
         FPreferences.RefCount() + FApplication.OutstandingReferences();
}

}  // namespace host
