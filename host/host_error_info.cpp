#include "host/host_error_info.h"

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

HRESULT THostErrorInfo::GetLastError(kx::TKxText* Source, kx::TKxText* Message) {
  if (!Source || !Message) return E_POINTER;
  *Source = FSource;
  *Message = FMessage;
  return S_OK;
}

}  // namespace host
