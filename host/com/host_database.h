// The database, project and object interfaces of the host, on its map
// model. Their lifetime is the manager's.
#pragma once

#include <functional>

#include "host/com/host_context.h"
#include "host/com/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostGISDatabase : public THostObject<kx::IKxGISDatabase, kx::IID_IKxGISDatabase> {
 public:
  explicit THostGISDatabase(THostContextPtr Context) : FContext(std::move(Context)) {}

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE GetMapInfo(const TKxID* MapID, kx::TKxMapInfo* Info) override;
  HRESULT STDMETHODCALLTYPE GetMapLayers(const TKxID* MapID, kx::IKxIDsList** Layers) override;
  HRESULT STDMETHODCALLTYPE GetLayerInfo(const TKxID* LayerID, kx::TKxLayerInfo* Info) override;
  HRESULT STDMETHODCALLTYPE GetLayerStyles(const TKxID* LayerID, kx::IKxIDsList** Styles) override;
  HRESULT STDMETHODCALLTYPE GetStyle(const TKxID* StyleID, kx::IKxStyle** Style) override;

  // Counts GetStyle calls, so that callers' caching can be checked.
  int GetStyleCount() const { return FGetStyleCount; }

 private:
  THostContextPtr FContext;
  int FGetStyleCount = 0;
};

class THostMapProject : public THostObject<kx::IKxMapProject, kx::IID_IKxMapProject> {
 public:
  explicit THostMapProject(THostContextPtr Context) : FContext(std::move(Context)) {}

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE GetMaps(kx::IKxIDsList** Maps) override;

 private:
  THostContextPtr FContext;
};

class THostMapObjects : public THostObject<kx::IKxMapObjects, kx::IID_IKxMapObjects> {
 public:
  explicit THostMapObjects(THostContextPtr Context) : FContext(std::move(Context)) {}

  HRESULT STDMETHODCALLTYPE NewContour(kx::IKxContour** Contour) override;
  HRESULT STDMETHODCALLTYPE NewShapeList(kx::IKxShapeList** List) override;
  // The shapes' contours are read when the object is created; the object
  // keeps copies.
  HRESULT STDMETHODCALLTYPE CreateObject(const TKxID* LayerID, kx::IKxShapeList* Shapes,
                                         TKxID* NewID) override;
  HOST_RESERVED(3)
  // A new list with copies of the object's shapes.
  HRESULT STDMETHODCALLTYPE GetObjectShapes(const TKxID* ObjectID,
                                            kx::IKxShapeList** Shapes) override;

  // Told of each object an add-on created, after it was added.
  void SetOnCreated(std::function<void(const TKxID&)> F) { FOnCreated = std::move(F); }

 private:
  THostContextPtr FContext;
  std::function<void(const TKxID&)> FOnCreated;
};

class THostGeometryLib : public THostObject<kx::IKxGeometryLib, kx::IID_IKxGeometryLib> {};
class THostPreferences : public THostObject<kx::IKxPreferences, kx::IID_IKxPreferences> {};

}  // namespace host
