// The host's map view as the add-on sees it. This first cut keeps the
// installed editor and counts repaint requests; map drawing comes later.
#pragma once

#include "compat/com_ptr.h"
#include "host/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostMapView : public THostObject<kx::IKxMapView, kx::IID_IKxMapView> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
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
  HRESULT STDMETHODCALLTYPE Operation27() override;
  HOST_RESERVED(28)
  HRESULT STDMETHODCALLTYPE MapToDevice(double X, double Y, std::int32_t* DX,
                                        std::int32_t* DY) override;
  HRESULT STDMETHODCALLTYPE DeviceToMap(std::int32_t X, std::int32_t Y, double* MX,
                                        double* MY) override;

  kx::IKxEditor* Editor() const { return FEditor.Get(); }
  // Releases the installed editor, as the host does when the view closes.
  void DropEditor() { FEditor.Reset(); }
  int InvalidateCount() const { return FInvalidateCount; }

 private:
  compat::TComPtr<kx::IKxEditor> FEditor;
  int FInvalidateCount = 0;
};

}  // namespace host
