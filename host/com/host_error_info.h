// The host's last-error slot, filled by add-ons through IKxErrorInfo.
#pragma once

#include <string>
#include <string_view>

#include "host/com/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostErrorInfo : public THostObject<kx::IKxErrorInfo, kx::IID_IKxErrorInfo> {
 public:
  THostErrorInfo();

  HRESULT STDMETHODCALLTYPE SetLastError(const kx::TKxText* Source,
                                         const kx::TKxText* Message) override;
  HRESULT STDMETHODCALLTYPE GetLastError(kx::TKxText* Source, kx::TKxText* Message) override;

  // Raw cp1251 as the add-on passed it.
  const kx::TKxText& Source() const { return FSource; }
  const kx::TKxText& Message() const { return FMessage; }
  std::string SourceUtf8() const { return FSource.ToUtf8(); }
  std::string MessageUtf8() const { return FMessage.ToUtf8(); }
  int SetCount() const { return FSetCount; }
  // The host's own failures, in UTF-8.
  void Report(std::string_view SourceUtf8, std::string_view MessageUtf8);
  void Clear();

 private:
  kx::TKxText FSource;
  kx::TKxText FMessage;
  int FSetCount = 0;
};

}  // namespace host
