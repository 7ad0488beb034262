// A stand-in application for the settings dialog's suite, kept because the
// dialog must be seen to cope with failures the reference host cannot
// produce on request: a settings store that refuses every call mid-way and a
// map view whose repaint (operation 7) fails. It also logs the keys read and
// written, in order. Every object lives as long as the fake that made it;
// reference counts are kept but reaching 0 frees nothing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/com/host_object.h"
#include "hostapi/orvex_interfaces.h"

namespace fake {

template <class Intf, const GUID& Iid>
using TDispatch = host::THostDispatchObject<Intf, Iid>;

template <class T>
HRESULT Hand(T* Object, T** Out) {
  *Out = Object;
  if (Object) Object->AddRef();
  return S_OK;
}

inline constexpr GUID IID_None = {};

class TSettingsStore : public TDispatch<kx::IOrvexSettingsStore, IID_None> {
 public:
  HRESULT STDMETHODCALLTYPE ReadValue(std::int32_t Section, std::int32_t Kind,
                                      const kx::TKxText* Key, const kx::TKxText* Default,
                                      kx::TKxText* Value) override {
    if (Fail) return E_FAIL;
    Reads.push_back(Key->ToUtf8());
    if (Section != 1 || Kind != 0) return E_INVALIDARG;
    auto It = Values.find(Key->ToUtf8());
    *Value = It == Values.end() ? *Default : kx::TKxText::FromUtf8(It->second);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WriteValue(std::int32_t Section, std::int32_t Kind,
                                       const kx::TKxText* Key, const kx::TKxText* Value) override {
    if (Fail) return E_FAIL;
    if (Section != 1 || Kind != 0) return E_INVALIDARG;
    Writes.push_back(Key->ToUtf8());
    Values[Key->ToUtf8()] = Value->ToUtf8();
    return S_OK;
  }
  std::map<std::string, std::string> Values;
  std::vector<std::string> Reads, Writes;
  bool Fail = false;
};

class TOrvexView : public TDispatch<kx::IOrvexMapView, IID_None> {
 public:
  // The dialog draws nothing.
  HRESULT STDMETHODCALLTYPE GetCanvas(kx::IOrvexCanvas** C) override {
    *C = nullptr;
    return E_NOTIMPL;
  }
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE Operation7() override {
    if (Fail7) return E_FAIL;
    ++Operation7Calls;
    return S_OK;
  }
  int Operation7Calls = 0;
  bool Fail7 = false;
};

class TDocument : public TDispatch<kx::IOrvexDocument, IID_None> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetMapView(kx::IOrvexMapView** V) override {
    return Hand<kx::IOrvexMapView>(&View, V);
  }
  TOrvexView View;
};

class TApplication : public TDispatch<kx::IOrvexApplication, kx::IID_IOrvexApplication> {
 public:
  HRESULT STDMETHODCALLTYPE GetActiveDocument(kx::IOrvexDocument** D) override {
    return Hand<kx::IOrvexDocument>(&Document, D);
  }
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetSettingsStore(kx::IOrvexSettingsStore** S) override {
    return Hand<kx::IOrvexSettingsStore>(&Store, S);
  }
  // The dialog draws nothing.
  HRESULT STDMETHODCALLTYPE CreateContour(std::int32_t, VARIANT, IDispatch** C) override {
    *C = nullptr;
    return E_NOTIMPL;
  }
  TSettingsStore Store;
  TDocument Document;
};

}  // namespace fake
