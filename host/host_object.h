// Host-side COM objects whose lifetime is their owner's: reference counts
// are kept (so that tests can see them balance) but reaching 0 frees
// nothing.
#pragma once

#include "compat/com.h"

namespace host {

template <class Intf, const GUID& Iid>
class THostObject : public Intf {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    if (!Obj) return E_POINTER;
    if (Id == IID_IUnknown || Id == Iid) {
      *Obj = static_cast<Intf*>(this);
      AddRef();
      return S_OK;
    }
    *Obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--FRefCount); }

  int RefCount() const { return FRefCount; }

 private:
  int FRefCount = 0;
};

// IDispatch methods of host objects that are called through their vtables
// only.
template <class Intf, const GUID& Iid>
class THostDispatchObject : public THostObject<Intf, Iid> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(std::uint32_t* Count) override {
    if (Count) *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(std::uint32_t, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, OLECHAR**, std::uint32_t, LCID,
                                          DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   std::uint32_t*) override {
    return E_NOTIMPL;
  }
};

}  // namespace host

// Slots the module never calls.
#define HOST_RESERVED(N)                             \
  HRESULT STDMETHODCALLTYPE Reserved##N() override { \
    return E_NOTIMPL;                                \
  }
