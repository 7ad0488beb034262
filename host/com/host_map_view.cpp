#include "host/com/host_map_view.h"

#include <algorithm>
#include <cmath>

#include "host/com/host_call.h"
#include "host/com/host_values.h"

namespace host {

THostMapView::THostMapView(THostContextPtr Context) : FContext(std::move(Context)) {
  SetTransform(FTransform);
}

THostMapView::~THostMapView() = default;

void THostMapView::SetTransform(const THostViewTransform& T) {
  if (T.Width < 1 || T.Height < 1 || T.Width > 16384 || T.Height > 16384)
    throw EHostError("Недопустимый размер окна карты");
  if (!(std::isfinite(T.MetresPerPixel) && T.MetresPerPixel > 0) || !std::isfinite(T.CenterX) ||
      !std::isfinite(T.CenterY))
    throw EHostError("Недопустимое преобразование окна карты");
  FTransform = T;
}

void THostMapView::ZoomToProject() {
  geo::TDRect R;
  if (!FContext->Project.Bounds(R)) return;
  THostViewTransform T = FTransform;
  T.CenterX = (R.X1 + R.X2) / 2;
  T.CenterY = (R.Y1 + R.Y2) / 2;
  const double M = std::max((R.X2 - R.X1) / T.Width, (R.Y2 - R.Y1) / T.Height) * 1.05;
  T.MetresPerPixel = M > 0 ? M : 1;
  SetTransform(T);
}

HRESULT THostMapView::QueryInterface(REFIID Id, void** Obj) {
  if (Obj && Id == kx::IID_IKxMapViewOverlay) {
    *Obj = static_cast<kx::IKxMapViewOverlay*>(&FOverlay);
    AddRef();
    return S_OK;
  }
  return THostObject::QueryInterface(Id, Obj);
}

void THostMapView::InvalidateOverlay() {
  ++FInvalidateOverlayCount;
  if (FOnInvalidateOverlay) FOnInvalidateOverlay();
}

HRESULT THostMapViewOverlay::QueryInterface(REFIID Id, void** Obj) {
  return FView.QueryInterface(Id, Obj);
}

ULONG THostMapViewOverlay::AddRef() {
  return FView.AddRef();
}

ULONG THostMapViewOverlay::Release() {
  return FView.Release();
}

HRESULT THostMapViewOverlay::InvalidateOverlay() {
  FView.InvalidateOverlay();
  return S_OK;
}

HRESULT THostMapViewOverlay::GetClientSize(std::int32_t* Width, std::int32_t* Height) {
  if (!Width || !Height) return E_POINTER;
  *Width = FView.Transform().Width;
  *Height = FView.Transform().Height;
  return S_OK;
}

HRESULT THostMapView::Operation5() {
  ++FOperation5Count;
  return S_OK;
}

HRESULT THostMapView::GetSelection(kx::IKxIDsList** Selection) {
  if (Selection) *Selection = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapView.GetSelection", [&] {
    kx::IKxIDsList*& Out = Required(Selection, "Selection");
    return HandOut(MakeValue<THostIDsList>(FContext, FSelection), &Out);
  });
}

HRESULT THostMapView::SetEditor(kx::IKxEditor* Editor) {
  // The old editor may hold the last reference to itself; let it go last.
  compat::TComPtr<kx::IKxEditor> Old = std::move(FEditor);
  FEditor = compat::TComPtr<kx::IKxEditor>(Editor);
  Old.Reset();
  return S_OK;
}

HRESULT THostMapView::Invalidate() {
  ++FInvalidateCount;
  // The editor's drawing is redrawn; the map is when the project's
  // revision says it changed (an add-on invalidates after creating an
  // object, too).
  if (FOnInvalidate) FOnInvalidate();
  return S_OK;
}

HRESULT THostMapView::Operation27() {
  ++FOperation27Count;
  return S_OK;
}

HRESULT THostMapView::MapToDevice(double X, double Y, std::int32_t* DX, std::int32_t* DY) {
  return HostCall(FContext->ErrorInfo, "IKxMapView.MapToDevice", [&] {
    std::int32_t& OX = Required(DX, "DX");
    std::int32_t& OY = Required(DY, "DY");
    const THostDevicePoint P = FTransform.ToDevice(X, Y);
    const double RX = std::floor(P.X + 0.5), RY = std::floor(P.Y + 0.5);
    constexpr double Limit = 2147483647.0;
    if (!(std::fabs(RX) <= Limit && std::fabs(RY) <= Limit))
      throw EHostError("Точка карты вне пределов координат окна", E_INVALIDARG);
    OX = static_cast<std::int32_t>(RX);
    OY = static_cast<std::int32_t>(RY);
    return S_OK;
  });
}

HRESULT THostMapView::DeviceToMap(std::int32_t X, std::int32_t Y, double* MX, double* MY) {
  return HostCall(FContext->ErrorInfo, "IKxMapView.DeviceToMap", [&] {
    double& OX = Required(MX, "MX");
    double& OY = Required(MY, "MY");
    FTransform.ToMap(X, Y, OX, OY);
    return S_OK;
  });
}

void THostMapView::DrawParts(const THostDrawRecord& Record) {
  if (FCanvas) FCanvas->DrawParts(Record);
  FDrawLog.push_back(Record);
}

void THostMapView::SetLayerOrder(const std::vector<TKxID>& Layers) {
  FLayerRank.clear();
  for (std::size_t I = 0; I < Layers.size(); ++I) FLayerRank.emplace(IDKey(Layers[I]), I);
  FLayerOrderSet = true;
  ++FLayerOrderVersion;
}

bool THostMapView::LayerShown(const TKxID& LayerID) const {
  return !FLayerOrderSet || FLayerRank.count(LayerID.Bytes()) != 0;
}

std::optional<std::size_t> THostMapView::LayerRank(const TKxID& LayerID) const {
  if (FLayerOrderSet) {
    const auto It = FLayerRank.find(LayerID.Bytes());
    if (It == FLayerRank.end()) return std::nullopt;
    return It->second;
  }
  std::size_t Rank = 0;
  const THostProject& P = FContext->Project;
  for (const TKxID& M : P.Maps())
    for (const TKxID& L : P.Map(M).Layers) {
      if (L == LayerID) return Rank;
      ++Rank;
    }
  return std::nullopt;
}

bool THostMapView::Render(bool KeepMap) {
  FDrawLog.clear();
  FOverlayStart = 0;
  FLastPaintError.clear();
  if (FCanvas) FCanvas->DrawMap(KeepMap);
  bool Ok = true;
  if (FEditor) {
    // The editor may drop itself from the view while painting.
    const compat::TComPtr<kx::IKxEditor> Editor = FEditor;
    FContext->ErrorInfo.Clear();
    Ok = SUCCEEDED(Editor->Paint());
    if (!Ok) {
      FLastPaintError = FContext->ErrorInfo.MessageUtf8();
      if (FLastPaintError.empty()) FLastPaintError = "Ошибка рисования редактора";
    }
  }
  FOverlayStart = FDrawLog.size();
  if (FCanvas) FCanvas->KeepUnderlay();
  return PaintEditorOverlay() && Ok;
}

bool THostMapView::RenderOverlay() {
  FDrawLog.resize(std::min(FOverlayStart, FDrawLog.size()));
  FLastPaintError.clear();
  if (FCanvas) FCanvas->RestoreUnderlay();
  return PaintEditorOverlay();
}

bool THostMapView::PaintEditorOverlay() {
  if (!FEditor) return true;
  compat::TComPtr<kx::IKxEditorOverlay> Overlay;
  if (FAILED(FEditor->QueryInterface(kx::IID_IKxEditorOverlay, Overlay.OutVoid()))) return true;
  FContext->ErrorInfo.Clear();
  if (SUCCEEDED(Overlay->PaintOverlay())) return true;
  if (FLastPaintError.empty()) FLastPaintError = FContext->ErrorInfo.MessageUtf8();
  if (FLastPaintError.empty()) FLastPaintError = "Ошибка рисования редактора";
  return false;
}

}  // namespace host
