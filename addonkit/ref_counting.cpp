#include "addonkit/ref_counting.h"

#include "addonkit/module_state.h"

namespace kx {

// Every object counts as live for DllCanUnloadNow: the host may hold any of
// them, and unloading the module under it would leave it calling into
// nothing.
TAggregatedInterface::TAggregatedInterface(IUnknown* Controller) : FController(Controller) {
  ++ModuleState().ObjectCount;
}

TAggregatedInterface::~TAggregatedInterface() {
  --ModuleState().ObjectCount;
}

HRESULT TAggregatedInterface::DoQueryInterface(REFIID Iid, void** Obj) {
  if (FController) return FController->QueryInterface(Iid, Obj);
  if (!Obj) return E_POINTER;
  *Obj = FindInterface(Iid);
  if (!*Obj) return E_NOINTERFACE;
  DoAddRef();
  return S_OK;
}

ULONG TAggregatedInterface::DoAddRef() {
  if (FController) return FController->AddRef();
  return static_cast<ULONG>(++FRefCount);
}

ULONG TAggregatedInterface::DoRelease() {
  if (FController) return FController->Release();
  const std::int32_t Count = --FRefCount;
  if (Count < 1) FreeSelf();
  return static_cast<ULONG>(Count < 0 ? 0 : Count);
}

void TAggregatedInterface::FreeSelf() {
  delete this;
}

void TControlledInterface::FreeSelf() {
  if (FOwner)
    delete FOwner;
  else
    delete this;
}

}  // namespace kx
