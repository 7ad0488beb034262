#include "host/com/host_com_manager.h"

#include <algorithm>

namespace host {

THostComManager::THostComManager(const std::string& SettingsPath, HWND MainWindow)
    : FMainWindow(MainWindow),
      FContext(std::make_shared<THostContext>()),
      FMapView(FContext),
      FDatabase(FContext),
      FProject(FContext),
      FObjects(FContext),
      FApplication(FContext, FMapView, SettingsPath) {}

THostComManager::~THostComManager() = default;

HRESULT THostComManager::QueryInterface(REFIID Iid, void** Obj) {
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

HRESULT THostComManager::GetMainWindow(HWND* Wnd) {
  if (!Wnd) return E_POINTER;
  *Wnd = 0;
  if (FFailWindows) {
    const auto Source = kx::TKxText::FromUtf8("Менеджер расширений");
    const auto Message = kx::TKxText::FromUtf8("Главное окно недоступно");
    ErrorInfo().SetLastError(&Source, &Message);
    return E_FAIL;
  }
  *Wnd = FMainWindow;
  return S_OK;
}

HRESULT THostComManager::GetApplicationWindow(HWND* Wnd) {
  return GetMainWindow(Wnd);
}

int THostComManager::OutstandingReferences() const {
  return RefCount() + FContext->ErrorInfo.RefCount() + FMapView.RefCount() + FDatabase.RefCount() +
         FProject.RefCount() + FObjects.RefCount() + FGeometry.RefCount() +
         FPreferences.RefCount() + FApplication.OutstandingReferences();
}

}  // namespace host
