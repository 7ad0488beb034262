// Host-side COM objects.
//
// THostObject: lifetime is its owner's (the manager); reference counts are
// kept, so that tests can see them balance, but reaching 0 frees nothing.
// THostValue: results handed to the caller (ID lists, contours, shape
// lists...); owned by their references, freed when the last one goes.
#pragma once

#include <type_traits>
#include <utility>

#include "compat/com.h"
#include "compat/com_ptr.h"

namespace host {

// QueryInterface of an object that implements one interface (and IUnknown,
// and IDispatch when the interface derives from it).
template <class Intf, const GUID& Iid>
HRESULT QueryOwn(Intf* Self, REFIID Id, void** Obj) {
  if (!Obj) return E_POINTER;
  if (Id == IID_IUnknown || Id == Iid ||
      (std::is_base_of_v<IDispatch, Intf> && Id == IID_IDispatch)) {
    *Obj = Self;
    Self->AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

template <class Intf, const GUID& Iid>
class THostObject : public Intf {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    return QueryOwn<Intf, Iid>(this, Id, Obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--FRefCount); }

  int RefCount() const { return FRefCount; }

 private:
  int FRefCount = 0;
};

template <class Intf, const GUID& Iid>
class THostValue : public Intf {
 public:
  THostValue() = default;
  THostValue(const THostValue&) = delete;
  THostValue& operator=(const THostValue&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    return QueryOwn<Intf, Iid>(this, Id, Obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override {
    const int Count = --FRefCount;
    if (Count == 0) delete this;
    return static_cast<ULONG>(Count);
  }

 protected:
  // Appended after the interface's slots, so it shifts none of them.
  virtual ~THostValue() = default;

 private:
  int FRefCount = 0;
};

// IDispatch methods of host objects that are called through their vtables
// only.
template <class Base>
class THostDispatch : public Base {
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

template <class Intf, const GUID& Iid>
using THostDispatchObject = THostDispatch<THostObject<Intf, Iid>>;
template <class Intf, const GUID& Iid>
using THostDispatchValue = THostDispatch<THostValue<Intf, Iid>>;

// A new value with one reference, held by the result.
template <class T, class... A>
compat::TComPtr<T> MakeValue(A&&... Args) {
  return compat::TComPtr<T>(new T(std::forward<A>(Args)...));
}

// Hands a counted reference to an out parameter.
template <class T, class I>
HRESULT HandOut(compat::TComPtr<T> Obj, I** Out) {
  *Out = Obj.Detach();
  return S_OK;
}

}  // namespace host

// Slots the module never calls.
#define HOST_RESERVED(N)                             \
  HRESULT STDMETHODCALLTYPE Reserved##N() override { \
    return E_NOTIMPL;                                \
  }
