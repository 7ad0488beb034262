// The host's map view: a view transform (centre, metres per pixel, size),
// the selection, the installed editor, and what the drawing objects drew
// while an editor painted, kept as records that can be read back. A canvas
// (the Qt host's picture of the view, host_map_picture.h) may draw the map
// and the same records on an image.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "compat/com_ptr.h"
#include "host/com/host_context.h"
#include "host/com/host_drawing.h"
#include "host/com/host_object.h"
#include "host/model/map_model.h"
#include "hostapi/kx_interfaces.h"

namespace host {

// One DrawContour call of the drawing surface.
struct THostDrawRecord {
  THostPenState Pen;
  THostBrushState Brush;
  std::int32_t Mode = -1;
  std::vector<THostPaintPart> Parts;
};

// Where a view's drawing goes beside its draw log.
class THostViewCanvas {
 public:
  virtual ~THostViewCanvas() = default;
  // The map at the view's transform, before the editor paints; KeepMap as
  // THostMapView::Render takes it.
  virtual void DrawMap(bool KeepMap) = 0;
  // One call of the drawing surface, at the view's transform.
  virtual void DrawParts(const THostDrawRecord& Record) = 0;
  // Keeps the picture as drawn so far (the map and the editor's Paint) to
  // draw the editor's overlay over it.
  virtual void KeepUnderlay() = 0;
  // Back to the picture kept, for the next overlay.
  virtual void RestoreUnderlay() = 0;
};

class THostMapView;

// The view's IKxMapViewOverlay, a part of the view: counted with it, and
// asked for any other interface it answers the view's.
class THostMapViewOverlay : public kx::IKxMapViewOverlay {
 public:
  explicit THostMapViewOverlay(THostMapView& View) : FView(View) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE InvalidateOverlay() override;
  HRESULT STDMETHODCALLTYPE GetClientSize(std::int32_t* Width, std::int32_t* Height) override;

 private:
  THostMapView& FView;
};

// Also answers for IKxMapViewOverlay: an editor's overlay is redrawn alone
// over the picture kept from the last Render.
class THostMapView : public THostObject<kx::IKxMapView, kx::IID_IKxMapView> {
 public:
  explicit THostMapView(THostContextPtr Context);
  ~THostMapView();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override;

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  // Ends whatever the view's own mouse tool was doing; counted.
  HRESULT STDMETHODCALLTYPE Operation5() override;
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE GetSelection(kx::IKxIDsList** Selection) override;
  HOST_RESERVED(8)
  HOST_RESERVED(9)
  HOST_RESERVED(10)
  HOST_RESERVED(11)
  HOST_RESERVED(12)
  HOST_RESERVED(13)
  HOST_RESERVED(14)
  HOST_RESERVED(15)
  // Null removes the editor; the view holds a reference to the one set.
  HRESULT STDMETHODCALLTYPE SetEditor(kx::IKxEditor* Editor) override;
  HOST_RESERVED(17)
  HOST_RESERVED(18)
  HRESULT STDMETHODCALLTYPE Invalidate() override;
  HOST_RESERVED(20)
  HOST_RESERVED(21)
  HOST_RESERVED(22)
  HOST_RESERVED(23)
  HOST_RESERVED(24)
  HOST_RESERVED(25)
  HOST_RESERVED(26)
  // Stops the view's pending scroll before an editor handles a click; counted.
  HRESULT STDMETHODCALLTYPE Operation27() override;
  HOST_RESERVED(28)
  // Rounded to the nearest pixel; E_FAIL beyond the 32-bit range.
  HRESULT STDMETHODCALLTYPE MapToDevice(double X, double Y, std::int32_t* DX,
                                        std::int32_t* DY) override;
  // The map point of the pixel's top-left corner.
  HRESULT STDMETHODCALLTYPE DeviceToMap(std::int32_t X, std::int32_t Y, double* MX,
                                        double* MY) override;
  // IKxMapViewOverlay's: counted; calls the overlay handler.
  void InvalidateOverlay();

  // ---- The host's side ----
  const THostViewTransform& Transform() const { return FTransform; }
  const THostProject& Project() const { return FContext->Project; }
  // Raises EHostError for a size below 1 pixel or a resolution that is not
  // a positive finite number.
  void SetTransform(const THostViewTransform& T);
  // Centres the view on the project's objects at a resolution that shows
  // them all.
  void ZoomToProject();

  const std::vector<TKxID>& Selection() const { return FSelection; }

  // The layers drawn, bottom first; objects of other layers are not drawn.
  // Until it is set, every layer is drawn.
  void SetLayerOrder(const std::vector<TKxID>& Layers);
  bool LayerShown(const TKxID& LayerID) const;
  // Where a layer is drawn, 0 at the bottom; nothing for one not drawn.
  std::optional<std::size_t> LayerRank(const TKxID& LayerID) const;
  // The order as set (empty until it is); counted up at every change.
  bool LayerOrderSet() const { return FLayerOrderSet; }
  const TIDKeyMap<std::size_t>& LayerRanks() const { return FLayerRank; }
  std::uint64_t LayerOrderVersion() const { return FLayerOrderVersion; }
  void SetSelection(std::vector<TKxID> IDs) { FSelection = std::move(IDs); }

  kx::IKxEditor* Editor() const { return FEditor.Get(); }
  // Releases the installed editor, as the host does when the view closes.
  void DropEditor() { FEditor.Reset(); }

  int InvalidateCount() const { return FInvalidateCount; }
  int Operation5Count() const { return FOperation5Count; }
  int Operation27Count() const { return FOperation27Count; }
  // Called on every Invalidate (a window schedules its repaint here).
  void SetInvalidateHandler(std::function<void()> Handler) { FOnInvalidate = std::move(Handler); }
  int InvalidateOverlayCount() const { return FInvalidateOverlayCount; }
  // Called on every InvalidateOverlay (a window schedules RenderOverlay).
  void SetInvalidateOverlayHandler(std::function<void()> Handler) {
    FOnInvalidateOverlay = std::move(Handler);
  }

  // Lets the canvas draw the map, then the editor paint. Returns false,
  // with the editor's error in LastPaintError, when the editor's Paint
  // failed. KeepMap lets the canvas reuse the map it drew last while the
  // project and the layer order stay (see THostMapPicture).
  // The editor's overlay follows its Paint.
  bool Render(bool KeepMap = false);
  // The picture of the last Render without its overlay, and the editor's
  // overlay painted anew over it; the draw log keeps the records before
  // OverlayStart. Returns false as Render does.
  bool RenderOverlay();
  const std::string& LastPaintError() const { return FLastPaintError; }

  // Null for none; the canvas outlives its being set.
  void SetCanvas(THostViewCanvas* Canvas) { FCanvas = Canvas; }
  THostViewCanvas* Canvas() const { return FCanvas; }

  // What the drawing surface drew since the last Render or ClearDrawLog.
  const std::vector<THostDrawRecord>& DrawLog() const { return FDrawLog; }
  // Where the overlay's records begin in the draw log.
  std::size_t OverlayStart() const { return FOverlayStart; }
  void ClearDrawLog() {
    FDrawLog.clear();
    FOverlayStart = 0;
  }
  // The drawing surface's entry: records, and draws on the canvas.
  void DrawParts(const THostDrawRecord& Record);

 private:
  // The installed editor's overlay painted, if it draws one.
  bool PaintEditorOverlay();

  THostContextPtr FContext;
  THostViewTransform FTransform;
  THostViewCanvas* FCanvas = nullptr;
  std::uint64_t FLayerOrderVersion = 0;
  std::vector<TKxID> FSelection;
  bool FLayerOrderSet = false;
  TIDKeyMap<std::size_t> FLayerRank;
  compat::TComPtr<kx::IKxEditor> FEditor;
  std::vector<THostDrawRecord> FDrawLog;
  std::function<void()> FOnInvalidate;
  std::function<void()> FOnInvalidateOverlay;
  THostMapViewOverlay FOverlay{*this};
  std::string FLastPaintError;
  std::size_t FOverlayStart = 0;
  int FInvalidateCount = 0;
  int FInvalidateOverlayCount = 0;
  int FOperation5Count = 0;
  int FOperation27Count = 0;
};

}  // namespace host
