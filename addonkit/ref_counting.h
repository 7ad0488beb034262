// Reference-counting bases of the module's COM objects. An object answers
// QueryInterface from its own interface table, unless it has a Controller to
// which it delegates all of IUnknown.
#pragma once

#include <cstdint>

#include "compat/com.h"

namespace kx {

class TAggregatedInterface {
 public:
  explicit TAggregatedInterface(IUnknown* Controller);
  virtual ~TAggregatedInterface();
  TAggregatedInterface(const TAggregatedInterface&) = delete;
  TAggregatedInterface& operator=(const TAggregatedInterface&) = delete;

  std::int32_t RefCount() const { return FRefCount; }
  IUnknown* Controller() const { return FController; }

  HRESULT DoQueryInterface(REFIID Iid, void** Obj);
  ULONG DoAddRef();
  // Calls FreeSelf when the count drops below 1; the object may be gone
  // when this returns.
  ULONG DoRelease();

  // Destroys the object.
  virtual void FreeSelf();

 protected:
  // The interface table: the interface pointer for Iid, or null.
  virtual void* FindInterface(REFIID Iid) = 0;

 private:
  std::int32_t FRefCount = 0;
  IUnknown* FController;  // not counted
};

class TInterface : public TAggregatedInterface {
 public:
  TInterface() : TAggregatedInterface(nullptr) {}
};

// Something that owns a controlled interface and goes with it.
class TInterfaceOwner {
 public:
  virtual ~TInterfaceOwner() = default;
};

class TControlledInterface : public TInterface {
 public:
  explicit TControlledInterface(TInterfaceOwner* Owner) : FOwner(Owner) {}
  TInterfaceOwner* Owner() const { return FOwner; }

  // Destroys the Owner, whose destructor frees this object; without an
  // Owner destroys this object.
  void FreeSelf() override;

 private:
  TInterfaceOwner* FOwner;  // not counted
};

// Implements IUnknown of interface Intf (identified by Iid) on Base.
template <class Intf, const GUID& Iid, class Base = TInterface>
class TInterfaceImpl : public Base, public Intf {
 public:
  using Base::Base;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    return this->DoQueryInterface(Id, Obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return this->DoAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return this->DoRelease(); }

  Intf* Interface() { return this; }

 protected:
  void* FindInterface(REFIID Id) override {
    if (Id == IID_IUnknown || Id == Iid) return static_cast<Intf*>(this);
    return nullptr;
  }
};

}  // namespace kx
