// The host's add-on manager: the object handed to an add-on's Connect. It
// answers QueryInterface for every host interface the add-on takes, and owns
// the host's main window.
#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

#include "host/host_error_info.h"
#include "host/host_map_view.h"
#include "host/host_object.h"
#include "host/host_stubs.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostManager : public THostObject<kx::IKxAddOnManager, kx::IID_IKxAddOnManager> {
 public:
  // Needs a running Qt application for the main window.
  THostManager();
  ~THostManager();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) override;
  HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* Wnd) override;
  HRESULT STDMETHODCALLTYPE GetApplicationWindow(HWND* Wnd) override;

  QMainWindow& MainWindow() const { return *FMainWindow; }
  THostErrorInfo& ErrorInfo() { return FErrorInfo; }
  THostMapView& MapView() { return FMapView; }
  THostApplication& Application() { return FApplication; }

  // For trying an add-on against a host that lacks an interface or whose
  // window query fails.
  void HideInterface(const GUID& Iid) { FHidden.push_back(Iid); }
  void FailWindowQueries(bool Fail) { FFailWindows = Fail; }

  // References that add-ons still hold on the manager's objects.
  int OutstandingReferences() const;

 private:
  std::unique_ptr<QMainWindow> FMainWindow;
  THostErrorInfo FErrorInfo;
  THostMapView FMapView;
  THostGISDatabase FDatabase;
  THostMapProject FProject;
  THostMapObjects FObjects;
  THostGeometryLib FGeometry;
  THostPreferences FPreferences;
  THostApplication FApplication;
  std::vector<GUID> FHidden;
  bool FFailWindows = false;
};

}  // namespace host
