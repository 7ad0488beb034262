#include "addonkit/custom_editor.h"

#include "addonkit/host_error.h"
#include "addonkit/macro_attrs_list.h"

namespace kx {

IKxEditorImp::IKxEditorImp(TKxCustomEditor* Editor) : TInterfaceImpl(Editor), FEditor(Editor) {}

HRESULT IKxEditorImp::GetOptions(std::uint32_t* Options) {
  if (!Options) return E_POINTER;
  return HostCallGuard(EditorErrorSource, [&] { *Options = FEditor->GetOptions(); });
}

HRESULT IKxEditorImp::Hook1() {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Hook1(); });
}

HRESULT IKxEditorImp::Hook2(std::int32_t X, std::int32_t Y) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Hook2({X, Y}); });
}

HRESULT IKxEditorImp::MouseDown(std::int32_t Button, std::int32_t Shift, std::int32_t X,
                                std::int32_t Y) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->MouseDown(Button, Shift, {X, Y}); });
}

HRESULT IKxEditorImp::MouseMove(std::int32_t Shift, std::int32_t X, std::int32_t Y) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->MouseMove(Shift, {X, Y}); });
}

HRESULT IKxEditorImp::MouseUp(std::int32_t Button, std::int32_t Shift, std::int32_t X,
                              std::int32_t Y) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->MouseUp(Button, Shift, {X, Y}); });
}

HRESULT IKxEditorImp::KeyDown(std::uint16_t Key, std::int32_t Shift) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->KeyDown(Key, Shift); });
}

HRESULT IKxEditorImp::KeyUp(std::uint16_t Key, std::int32_t Shift) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->KeyUp(Key, Shift); });
}

HRESULT IKxEditorImp::Hook8() {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Hook8(); });
}

HRESULT IKxEditorImp::Hook9(std::int32_t Value) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Hook9(Value); });
}

HRESULT IKxEditorImp::GetContextMacros(IKxContextMacroAttrsList** List, std::int32_t X,
                                       std::int32_t Y) {
  if (!List) return E_POINTER;
  *List = nullptr;
  return HostCallGuard(EditorErrorSource, [&] {
    *List = FEditor->GetContextMacros({X, Y}).Detach();
  });
}

HRESULT IKxEditorImp::ExecuteContextMacro(std::int32_t Value1, std::int32_t Value2) {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->ExecuteContextMacro(Value1, Value2); });
}

HRESULT IKxEditorImp::Hook12() {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Hook12(); });
}

HRESULT IKxEditorImp::Paint() {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->Paint(); });
}

HRESULT IKxEditorImp::PaintOverlay() {
  return HostCallGuard(EditorErrorSource, [&] { FEditor->PaintOverlay(); });
}

void* IKxEditorImp::FindInterface(REFIID Id) {
  if (Id == IID_IKxEditorOverlay) return static_cast<IKxEditorOverlay*>(this);
  return TInterfaceImpl::FindInterface(Id);
}

TKxCustomEditor::TKxCustomEditor() : FEditorImp(new IKxEditorImp(this)) {
  FEditorImp->AddRef();
}

TKxCustomEditor::~TKxCustomEditor() {
  delete FEditorImp;
}

void TKxCustomEditor::ReleaseOwnReference() {
  if (!FOwnReference) return;
  FOwnReference = false;
  FEditorImp->Release();
}

std::uint32_t TKxCustomEditor::GetOptions() {
  return 4;
}

compat::TComPtr<IKxContextMacroAttrsList> TKxCustomEditor::GetContextMacros(TKxViewPoint) {
  return compat::TComPtr<IKxContextMacroAttrsList>(new IKxContextMacroAttrsListImp);
}

}  // namespace kx
