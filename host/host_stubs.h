// Host interfaces that the first cut of the host answers without content:
// every call reports "not implemented". Later work fills them in.
#pragma once

#include "host/host_object.h"
#include "hostapi/kx_interfaces.h"
#include "hostapi/orvex_interfaces.h"

namespace host {

class THostGISDatabase : public THostObject<kx::IKxGISDatabase, kx::IID_IKxGISDatabase> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE GetMapInfo(const kx::TKxID*, kx::TKxMapInfo*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMapLayers(const kx::TKxID*, kx::IKxIDsList** Layers) override {
    return NotImplemented(Layers);
  }
  HRESULT STDMETHODCALLTYPE GetLayerInfo(const kx::TKxID*, kx::TKxLayerInfo*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetLayerStyles(const kx::TKxID*, kx::IKxIDsList** Styles) override {
    return NotImplemented(Styles);
  }
  HRESULT STDMETHODCALLTYPE GetStyle(const kx::TKxID*, kx::IKxStyle** Style) override {
    return NotImplemented(Style);
  }

  template <class T>
  static HRESULT NotImplemented(T** Out) {
    if (Out) *Out = nullptr;
    return E_NOTIMPL;
  }
};

class THostMapProject : public THostObject<kx::IKxMapProject, kx::IID_IKxMapProject> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE GetMaps(kx::IKxIDsList** Maps) override {
    return THostGISDatabase::NotImplemented(Maps);
  }
};

class THostMapObjects : public THostObject<kx::IKxMapObjects, kx::IID_IKxMapObjects> {
 public:
  HRESULT STDMETHODCALLTYPE NewContour(kx::IKxContour** Contour) override {
    return THostGISDatabase::NotImplemented(Contour);
  }
  HRESULT STDMETHODCALLTYPE NewShapeList(kx::IKxShapeList** List) override {
    return THostGISDatabase::NotImplemented(List);
  }
  HRESULT STDMETHODCALLTYPE CreateObject(const kx::TKxID*, kx::IKxShapeList*, kx::TKxID*) override {
    return E_NOTIMPL;
  }
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetObjectShapes(const kx::TKxID*, kx::IKxShapeList** Shapes) override {
    return THostGISDatabase::NotImplemented(Shapes);
  }
};

class THostGeometryLib : public THostObject<kx::IKxGeometryLib, kx::IID_IKxGeometryLib> {};
class THostPreferences : public THostObject<kx::IKxPreferences, kx::IID_IKxPreferences> {};

class THostApplication
    : public THostDispatchObject<kx::IOrvexApplication, kx::IID_IOrvexApplication> {
 public:
  HRESULT STDMETHODCALLTYPE GetActiveDocument(kx::IOrvexDocument** Document) override {
    return THostGISDatabase::NotImplemented(Document);
  }
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetSettingsStore(kx::IOrvexSettingsStore** Store) override {
    return THostGISDatabase::NotImplemented(Store);
  }
  HRESULT STDMETHODCALLTYPE CreateContour(std::int32_t, VARIANT, IDispatch** Contour) override {
    return THostGISDatabase::NotImplemented(Contour);
  }
};

}  // namespace host
