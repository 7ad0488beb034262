#include "host/com/host_error_info.h"

namespace host {

THostErrorInfo::THostErrorInfo() {
  Clear();
}

void THostErrorInfo::Clear() {
  FSource.Clear();
  FMessage.Clear();
}

HRESULT THostErrorInfo::SetLastError(const kx::TKxText* Source, const kx::TKxText* Message) {
  if (!Source || !Message) return E_POINTER;
  FSource = *Source;
  FMessage = *Message;
  ++FSetCount;
  return S_OK;
}

void THostErrorInfo::Report(std::string_view SourceUtf8, std::string_view MessageUtf8) {
  FSource.AssignUtf8(SourceUtf8);
  FMessage.AssignUtf8(MessageUtf8);
  ++FSetCount;
}

HRESULT THostErrorInfo::GetLastError(kx::TKxText* Source, kx::TKxText* Message) {
  if (!Source || !Message) return E_POINTER;
  *Source = FSource;
  *Message = FMessage;
  return S_OK;
}

}  // namespace host
