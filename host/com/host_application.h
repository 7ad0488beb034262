// The host application as add-ons reach it through IOrvexApplication: the
// settings store, and the drawing objects of the map view (document, view,
// drawing surface with its pen and brush, paint contours and their parts).
// The surface draws on the map view's image and records each drawing.
#pragma once

#include <memory>
#include <vector>

#include "host/com/host_context.h"
#include "host/com/host_iids.h"
#include "host/com/host_map_view.h"
#include "host/com/host_object.h"
#include "host/com/settings_store.h"
#include "hostapi/orvex_interfaces.h"

namespace host {

class THostPen : public THostDispatchObject<kx::IOrvexPen, IID_HostPen> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t Style) override;
  HOST_RESERVED(2)
  HRESULT STDMETHODCALLTYPE SetWidth(double Width) override;
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetWidthScale(double Scale) override;
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE SetColor(std::uint32_t Color) override;
  HOST_RESERVED(8)
  HRESULT STDMETHODCALLTYPE SetMode(std::int32_t Mode) override;

  THostPenState State;
};

class THostBrush : public THostDispatchObject<kx::IOrvexBrush, IID_HostBrush> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t Style) override;
  HOST_RESERVED(2)
  HRESULT STDMETHODCALLTYPE SetBackColor(std::uint32_t Color) override;
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetHatchColor(std::uint32_t Color) override;
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE SetTransparency(std::int32_t Transparent) override;

  THostBrushState State;
};

class THostViewport : public THostDispatchObject<kx::IOrvexViewport, IID_HostViewport> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  HOST_RESERVED(7)
  HOST_RESERVED(8)
  HOST_RESERVED(9)
  // Brings the scale up to date; the host's scale is always current, so
  // this only counts.
  HRESULT STDMETHODCALLTYPE Operation10() override;
  int Operation10Count() const { return FCount; }

 private:
  int FCount = 0;
};

// A paint contour: parts of vertices, each with the convexity of the
// segment arriving at it.
class THostPaintContour final
    : public THostDispatchValue<kx::IOrvexContour, kx::IID_IOrvexContour> {
 public:
  explicit THostPaintContour(THostContextPtr Context) : FContext(std::move(Context)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) override;
  HRESULT STDMETHODCALLTYPE GetPartCount(std::int32_t* Count) override;
  HRESULT STDMETHODCALLTYPE GetPart(std::int32_t Index, kx::IOrvexContourPart** Part) override;
  HOST_RESERVED(2)
  HRESULT STDMETHODCALLTYPE AddPart(std::int32_t Index, kx::IOrvexContourPart** Part) override;

  std::vector<THostPaintPart> Parts() const;

 private:
  THostContextPtr FContext;
  std::vector<std::shared_ptr<THostPaintPart>> FParts;
};

class THostPaintContourPart final
    : public THostDispatchValue<kx::IOrvexContourPart, kx::IID_IOrvexContourPart> {
 public:
  THostPaintContourPart(THostContextPtr Context, std::shared_ptr<THostPaintPart> Part)
      : FContext(std::move(Context)), FPart(std::move(Part)) {}

  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetVertex(std::int32_t Index, double* X, double* Y,
                                      double* Convexity) override;
  HRESULT STDMETHODCALLTYPE SetVertex(std::int32_t Index, double X, double Y,
                                      double Convexity) override;
  HRESULT STDMETHODCALLTYPE InsertVertex(std::int32_t Index, double X, double Y,
                                         double Convexity) override;
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetClosed(std::int32_t Closed) override;

 private:
  THostContextPtr FContext;
  std::shared_ptr<THostPaintPart> FPart;
};

class THostCanvas : public THostDispatchObject<kx::IOrvexCanvas, IID_HostCanvas> {
 public:
  THostCanvas(THostContextPtr Context, THostMapView& View)
      : FContext(std::move(Context)), FView(View) {}

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetScale(IDispatch** Object, double* Scale) override;
  HRESULT STDMETHODCALLTYPE GetPen(kx::IOrvexPen** Pen) override;
  HRESULT STDMETHODCALLTYPE GetBrush(kx::IOrvexBrush** Brush) override;
  HOST_RESERVED(7)
  // Contour must be one of the host's paint contours; Mode is recorded.
  HRESULT STDMETHODCALLTYPE DrawContour(kx::IOrvexContour* Contour, std::int32_t Mode) override;

  THostPen& Pen() { return FPen; }
  THostBrush& Brush() { return FBrush; }
  THostViewport& Viewport() { return FViewport; }
  int OutstandingReferences() const {
    return RefCount() + FPen.RefCount() + FBrush.RefCount() + FViewport.RefCount();
  }

 private:
  THostContextPtr FContext;
  THostMapView& FView;
  THostPen FPen;
  THostBrush FBrush;
  THostViewport FViewport;
};

class THostOrvexMapView : public THostDispatchObject<kx::IOrvexMapView, IID_HostOrvexMapView> {
 public:
  THostOrvexMapView(THostContextPtr Context, THostMapView& View)
      : FCanvas(std::move(Context), View), FView(View) {}

  HRESULT STDMETHODCALLTYPE GetCanvas(kx::IOrvexCanvas** Canvas) override;
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HOST_RESERVED(6)
  // Repaints the view with the drawing settings as they now are.
  HRESULT STDMETHODCALLTYPE Operation7() override;

  THostCanvas& Canvas() { return FCanvas; }
  int Operation7Count() const { return FOperation7Count; }
  int OutstandingReferences() const { return RefCount() + FCanvas.OutstandingReferences(); }

 private:
  THostCanvas FCanvas;
  THostMapView& FView;
  int FOperation7Count = 0;
};

class THostDocument : public THostDispatchObject<kx::IOrvexDocument, IID_HostDocument> {
 public:
  THostDocument(THostContextPtr Context, THostMapView& View) : FView(std::move(Context), View) {}

  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetMapView(kx::IOrvexMapView** View) override;

  THostOrvexMapView& View() { return FView; }
  int OutstandingReferences() const { return RefCount() + FView.OutstandingReferences(); }

 private:
  THostOrvexMapView FView;
};

class THostApplication
    : public THostDispatchObject<kx::IOrvexApplication, kx::IID_IOrvexApplication> {
 public:
  THostApplication(THostContextPtr Context, THostMapView& View, std::string SettingsPath);

  HRESULT STDMETHODCALLTYPE GetActiveDocument(kx::IOrvexDocument** Document) override;
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetSettingsStore(kx::IOrvexSettingsStore** Store) override;
  // Kind 0 with an empty Param: a new paint contour.
  HRESULT STDMETHODCALLTYPE CreateContour(std::int32_t Kind, VARIANT Param,
                                          IDispatch** Contour) override;

  THostSettingsStore& Settings() { return FSettings; }
  // For trying an add-on against a host whose settings store is
  // unavailable: GetSettingsStore then fails with its message set.
  void FailSettingsStore(bool Fail) { FFailSettings = Fail; }
  // Counts GetSettingsStore calls, so that callers that must not keep the
  // store can be checked.
  int SettingsStoreCount() const { return FSettingsStoreCount; }
  THostDocument& Document() { return FDocument; }
  THostCanvas& Canvas() { return FDocument.View().Canvas(); }
  int OutstandingReferences() const {
    return RefCount() + FSettings.RefCount() + FDocument.OutstandingReferences();
  }

 private:
  THostContextPtr FContext;
  THostSettingsStore FSettings;
  THostDocument FDocument;
  int FSettingsStoreCount = 0;
  bool FFailSettings = false;
};

}  // namespace host
