// A stand-in kept only to inject a failure the host's map model cannot
// produce: the host's contours never refuse a command, yet the editor must
// leave its trace as it was when one does. Every call goes to the host's
// contour it wraps; the N-th AddCommand from now fails instead.
#pragma once

#include "host/com/host_error_info.h"
#include "host/com/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace tracetest {

class TFailingContour : public host::THostValue<kx::IKxContour, kx::IID_IKxContour> {
 public:
  TFailingContour(compat::TComPtr<kx::IKxContour> AHost, host::THostErrorInfo& AErrors)
      : Host(std::move(AHost)), Errors(AErrors) {}

  HRESULT STDMETHODCALLTYPE Clear() override { return Host->Clear(); }
  HRESULT STDMETHODCALLTYPE GetFirstCommand(kx::TKxContourCommand* C) override {
    return Host->GetFirstCommand(C);
  }
  HRESULT STDMETHODCALLTYPE GetNextCommand(kx::TKxContourCommand* C) override {
    return Host->GetNextCommand(C);
  }
  HRESULT STDMETHODCALLTYPE AddCommand(const kx::TKxContourCommand* C) override {
    if (FailAdds > 0 && --FailAdds == 0) {
      Errors.Report("IKxContour.AddCommand", "refused for the test");
      return E_FAIL;
    }
    return Host->AddCommand(C);
  }
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HRESULT STDMETHODCALLTYPE DeleteCommand(std::int32_t I) override {
    return Host->DeleteCommand(I);
  }
  HRESULT STDMETHODCALLTYPE GetCommand(std::int32_t I, kx::TKxContourCommand* C) override {
    return Host->GetCommand(I, C);
  }
  HRESULT STDMETHODCALLTYPE GetCommandCount(std::int32_t* N) override {
    return Host->GetCommandCount(N);
  }

  compat::TComPtr<kx::IKxContour> Host;
  host::THostErrorInfo& Errors;
  int FailAdds = 0;
};

}  // namespace tracetest
