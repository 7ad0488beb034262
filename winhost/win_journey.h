// What a host on Windows does with Trace.dll, step by step: registers it
// with regsvr32, loads it, registers the add-on, finds it in the add-on
// registry, creates its object through the factory and through COM, drives
// it over the host's manager, then unloads and unregisters it. Further
// steps (the trace pad's) go in with InsertSteps after a named step.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "compat/com_ptr.h"
#include "host/com/addon_module.h"
#include "host/com/host_com_manager.h"
#include "hostapi/kx_interfaces.h"
#include "winhost/win_steps.h"
#include "winhost/win_system.h"

namespace winhost {

// The trace add-on as its registration shows it.
inline constexpr wchar_t TraceClassID[] = L"{92544842-89A1-11D0-B4C6-00C00C100ADA}";
inline constexpr char TraceName[] = "Создание объектов трассировкой";
inline constexpr char TraceDescription[] = "ГИС Расширение создания объектов трассировкой ";

// The host's last error, "message [source]", or "" when none is set.
std::string HostLastError(host::THostComManager& Manager);

class TJourney {
 public:
  // DllPath: the module; ProjectPath: the project the host opens; the
  // settings store lives in WorkFolder.
  TJourney(const std::wstring& DllPath, std::string ProjectPath, std::wstring WorkFolder);
  ~TJourney();

  TSteps Steps();
  // What is left registered or loaded when a step failed.
  TSteps Cleanup();
  std::string LastError();

  // The state the steps share, for steps added from outside.
  std::wstring DllPath;
  std::string ProjectPath;
  std::wstring WorkFolder;
  GUID ClassID{};
  std::unique_ptr<host::THostModule> Module;
  compat::TComPtr<kx::IKxAddOn> FactoryAddOn;  // by DllGetClassObject
  compat::TComPtr<kx::IKxAddOn> ComAddOn;      // by CoCreateInstance
  kx::TKxMacroAttrs Macro{};
  std::unique_ptr<TMainWindow> Window;
  std::unique_ptr<host::THostComManager> Manager;
  std::vector<std::unique_ptr<host::THostComManager>> FaultHosts;
  // The manager whose errors a failed step reports.
  host::THostComManager* Reporting = nullptr;
  bool ComInitialized = false;

 private:
  void CheckClassRegistered() const;
  void CheckAddOnKey() const;
  void CheckInfo(kx::IKxAddOn* AddOn, const char* Which) const;
  std::wstring ClassKey() const;
  std::wstring AddOnKey() const;
};

// Faults that must reach the host as E_FAIL with their message set through
// IKxErrorInfo; they need the add-on object (FactoryAddOn) and no Connect.
TSteps FaultSteps(TJourney& J);
// After Disconnect: the command over a host whose settings store fails
// reaches it as E_FAIL, with the store's message, and leaves no pad.
TStep CommandFaultStep(TJourney& J);

}  // namespace winhost
