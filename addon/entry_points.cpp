// The module's exported entry points: the four COM server functions and the
// host's add-on registration, in the COM calling convention (STDAPI), and the
// add-on's class ID. Only they leave the module: a version script says so on
// Linux, the module definition file (Trace.def) on Windows.
#include "addon/trace_addon.h"
#include "addonkit/addon_factory.h"
#include "addonkit/addon_registration.h"
#include "addonkit/com_server.h"
#include "compat/com.h"
#include "compat/cp1251.h"

namespace {

HRESULT UpdateServerRegistry(bool Register) {
  try {
    if (kx::TComServer* Server = kx::ComServer()) Server->UpdateRegistry(Register);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

extern "C" {
extern const GUID CLSID_TraceAddOn;
const GUID CLSID_TraceAddOn = kx::CLASS_TraceAddOn;
}

// Applied: cp1251 text or null. Any failure gives E_FAIL, with no message.
STDAPI KxDllRegisterAddOn(const char* Applied, BOOL Active) {
  try {
    const std::string Name = Applied ? compat::Cp1251ToUtf8(Applied) : std::string();
    kx::RegisterAddOns(Name.c_str(), Active != 0);
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

STDAPI DllUnregisterServer() {
  return UpdateServerRegistry(false);
}

STDAPI DllRegisterServer() {
  return UpdateServerRegistry(true);
}

STDAPI DllCanUnloadNow() {
  const kx::TComServer* Server = kx::ComServer();
  return !Server || Server->CanUnloadNow() ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID ClassID, REFIID Iid, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  kx::TComServer* Server = kx::ComServer();
  kx::TKxAddonFactory* Factory = Server ? Server->FindFactory(ClassID) : nullptr;
  if (!Factory) return CLASS_E_CLASSNOTAVAILABLE;
  return Factory->QueryInterface(Iid, Obj);
}
