#include "host/host_map_view.h"

namespace host {

HRESULT THostMapView::Operation5() {
  return S_OK;
}

HRESULT THostMapView::GetSelection(kx::IKxIDsList** Selection) {
  if (Selection) *Selection = nullptr;
  return E_NOTIMPL;
}

HRESULT THostMapView::SetEditor(kx::IKxEditor* Editor) {
  FEditor = compat::TComPtr<kx::IKxEditor>(Editor);
  return S_OK;
}

HRESULT THostMapView::Invalidate() {
  ++FInvalidateCount;
  return S_OK;
}

HRESULT THostMapView::Operation27() {
  return S_OK;
}

HRESULT THostMapView::MapToDevice(double, double, std::int32_t*, std::int32_t*) {
  return E_NOTIMPL;
}

HRESULT THostMapView::DeviceToMap(std::int32_t, std::int32_t, double*, double*) {
  return E_NOTIMPL;
}

}  // namespace host
