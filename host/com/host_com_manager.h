// The host's add-on manager: the object handed to an add-on's Connect. It
// answers QueryInterface for every host interface the add-on takes, owns
// the objects behind those interfaces, and shares the map model (project
// and last-error slot) with them. The main window is whoever hosts it
// gives: the Qt host's (host_manager.h), a Windows host's, or none.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/com/host_application.h"
#include "host/com/host_context.h"
#include "host/com/host_database.h"
#include "host/com/host_error_info.h"
#include "host/com/host_map_view.h"
#include "host/com/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostComManager : public THostObject<kx::IKxAddOnManager, kx::IID_IKxAddOnManager> {
 public:
  // The settings store lives in the INI file at SettingsPath.
  explicit THostComManager(const std::string& SettingsPath = THostSettingsStore::DefaultPath(),
                           HWND MainWindow = 0);
  ~THostComManager();
  THostComManager(const THostComManager&) = delete;
  THostComManager& operator=(const THostComManager&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) override;
  HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* Wnd) override;
  HRESULT STDMETHODCALLTYPE GetApplicationWindow(HWND* Wnd) override;

  // What GetMainWindow answers; 0 for none.
  HWND MainWindowHandle() const { return FMainWindow; }
  void SetMainWindowHandle(HWND Window) { FMainWindow = Window; }
  const THostContextPtr& Context() const { return FContext; }
  THostProject& Project() { return FContext->Project; }
  THostErrorInfo& ErrorInfo() { return FContext->ErrorInfo; }
  THostMapView& MapView() { return FMapView; }
  THostGISDatabase& Database() { return FDatabase; }
  THostMapObjects& MapObjects() { return FObjects; }
  THostApplication& Application() { return FApplication; }
  THostSettingsStore& Settings() { return FApplication.Settings(); }

  // For trying an add-on against a host that lacks an interface or whose
  // window query fails.
  void HideInterface(const GUID& Iid) { FHidden.push_back(Iid); }
  void FailWindowQueries(bool Fail) { FFailWindows = Fail; }

  // References that add-ons still hold on the manager's objects.
  int OutstandingReferences() const;

 private:
  HWND FMainWindow = 0;
  THostContextPtr FContext;
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
