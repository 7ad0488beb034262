#include "addonkit/hresult_error.h"

#include "addonkit/module_state.h"

namespace kx {

HRESULT OleCheck(HRESULT Code) {
  if (SUCCEEDED(Code)) return Code;
  TKxText Source, Message;
  Source.Clear();
  Message.Clear();
  if (IKxErrorInfo* Info = ModuleState().ErrorInfo.Get()) {
    if (FAILED(Info->GetLastError(&Source, &Message))) {
      Source.Clear();
      Message.Clear();
    }
  }
  throw EHResultError(Message.ToUtf8() + ". [" + Source.ToUtf8() + "]", Code);
}

}  // namespace kx
