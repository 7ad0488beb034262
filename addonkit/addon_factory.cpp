#include "addonkit/addon_factory.h"

#include "addonkit/com_server.h"
#include "addonkit/custom_addon.h"
#include "addonkit/host_error.h"
#include "addonkit/module_state.h"
#include "compat/com_ptr.h"

namespace kx {

TKxAddonFactory::TKxAddonFactory(TKxCustomAddon* Addon)
    : ClassID(Addon->ClassID), Description(Addon->Description.ToUtf8()), FAddon(Addon) {}

TKxAddonFactory::~TKxAddonFactory() {
  if (TKxCustomAddon* A = FAddon) {
    FAddon = nullptr;
    A->Factory = nullptr;
    delete A;
  }
}

HRESULT TKxAddonFactory::QueryInterface(REFIID Iid, void** Obj) {
  if (!Obj) return E_POINTER;
  if (Iid == IID_IUnknown || Iid == IID_IClassFactory) {
    *Obj = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

ULONG TKxAddonFactory::AddRef() {
  return static_cast<ULONG>(EnsureComServer().CountFactory(true));
}

ULONG TKxAddonFactory::Release() {
  const int Count = EnsureComServer().CountFactory(false);
  return static_cast<ULONG>(Count < 0 ? 0 : Count);
}

HRESULT TKxAddonFactory::CreateInstance(IUnknown* Outer, REFIID Iid, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  if (Outer) return CLASS_E_NOAGGREGATION;
  if (!FAddon) return E_FAIL;
  try {
    compat::TComPtr<TKxAddonProxy> Proxy(new TKxAddonProxy(FAddon));
    return Proxy->QueryInterface(Iid, Obj);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT TKxAddonFactory::LockServer(BOOL Lock) {
  if (Lock)
    ++ModuleState().ObjectCount;
  else
    --ModuleState().ObjectCount;
  return S_OK;
}

template <class F>
HRESULT TKxAddonProxy::Guard(F&& Body) {
  std::string Source;
  try {
    Source = FAddon ? FAddon->ErrorSource() : std::string();
  } catch (...) {
  }
  return HostCallGuard(Source, [&] {
    if (!FAddon) throw core::Exception("Add-on object does not exist");
    return Body();
  });
}

HRESULT TKxAddonProxy::GetInfo(TKxAddOnInfo* Info) {
  if (!Info) return E_POINTER;
  return Guard([&] { FAddon->GetInfo(*Info); });
}

HRESULT TKxAddonProxy::Connect(IUnknown* Manager) {
  return Guard([&] { FAddon->Connect(Manager); });
}

HRESULT TKxAddonProxy::Disconnect() {
  return Guard([&] { FAddon->Disconnect(); });
}

HRESULT TKxAddonProxy::GetMacros(IKxMacroAttrsList** List) {
  if (!List) return E_POINTER;
  *List = nullptr;
  return Guard([&] { *List = FAddon->GetMacros().Detach(); });
}

HRESULT TKxAddonProxy::ExecuteMacro(std::int32_t Index, std::int32_t Param) {
  return Guard([&] { FAddon->ExecuteMacro(Index, Param); });
}

HRESULT TKxAddonProxy::Notify(std::int32_t Code, IKxParamsList* Params) {
  return Guard([&] { FAddon->Notify(Code, Params); });
}

HRESULT TKxAddonProxy::SaveBitmap(IStream* Stream, HBITMAP Bitmap) {
  return Guard([&] { return FAddon->SaveBitmap(Stream, Bitmap) ? S_OK : S_FALSE; });
}

}  // namespace kx
