// The class factory of an add-on and the COM objects it makes: thin
// IKxAddOn objects that forward every call to the add-on object.
#pragma once

#include <string>

#include "addonkit/ref_counting.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

class TKxCustomAddon;

class TKxAddonFactory final : public IClassFactory {
 public:
  explicit TKxAddonFactory(TKxCustomAddon* Addon);
  // Destroys the add-on if it is still attached.
  ~TKxAddonFactory();
  TKxAddonFactory(const TKxAddonFactory&) = delete;
  TKxAddonFactory& operator=(const TKxAddonFactory&) = delete;

  // The factory's lifetime is the server's; references only count towards
  // DllCanUnloadNow.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* Outer, REFIID Iid, void** Obj) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL Lock) override;

  TKxCustomAddon* Addon() const { return FAddon; }
  // Called by the add-on's destructor.
  void DetachAddon() { FAddon = nullptr; }

  const GUID ClassID;
  // UTF-8; written as the class's registry description.
  const std::string Description;

 private:
  TKxCustomAddon* FAddon;
};

class TKxAddonProxy : public TInterfaceImpl<IKxAddOn, IID_IKxAddOn> {
 public:
  explicit TKxAddonProxy(TKxCustomAddon* Addon) : FAddon(Addon) {}

  TKxCustomAddon* Addon() const { return FAddon; }

  HRESULT STDMETHODCALLTYPE GetInfo(TKxAddOnInfo* Info) override;
  HRESULT STDMETHODCALLTYPE Connect(IUnknown* Manager) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE GetMacros(IKxMacroAttrsList** List) override;
  HRESULT STDMETHODCALLTYPE ExecuteMacro(std::int32_t Index, std::int32_t Param) override;
  HRESULT STDMETHODCALLTYPE Notify(std::int32_t Code, IKxParamsList* Params) override;
  HRESULT STDMETHODCALLTYPE SaveBitmap(IStream* Stream, HBITMAP Bitmap) override;

 private:
  template <class F>
  HRESULT Guard(F&& Body);

  TKxCustomAddon* FAddon;
};

}  // namespace kx
