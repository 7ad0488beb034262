#include "addon/trace_addon.h"

#include <cctype>

#include "addonkit/host_calls.h"
#include "addonkit/macro_attrs_list.h"
#include "compat/module_images.h"

namespace kx {

namespace {

TKxMacroAttrs MakeTraceMacro() {
  TKxMacroAttrs M{};
  M.Param1 = 0;
  M.Ident.AssignUtf8("Trace");
  M.Caption.AssignUtf8("Трассировка");
  M.MenuPath.AssignUtf8("С&ервис\\Трассировка");
  M.Param2 = 0;
  M.GroupA.AssignUtf8("Сервис");
  M.GroupB.AssignUtf8("Сервис");
  M.Image = 0;
  return M;
}

void WriteAll(IStream* Stream, const void* Data, ULONG Size) {
  ULONG Written = 0;
  const HRESULT Hr = Stream->Write(Data, Size, &Written);
  if (FAILED(Hr) || Written != Size) throw core::Exception("Ошибка при записи в OLE-поток");
}

}  // namespace

std::array<TKxMacroAttrs, 1>& TTraceAddOn::Macros() {
  static std::array<TKxMacroAttrs, 1> Table = {MakeTraceMacro()};
  return Table;
}

TTraceAddOn::TTraceAddOn()
    : TKxCustomAddon(CLASS_TraceAddOn, "Создание объектов трассировкой",
                     "ГИС Расширение создания объектов трассировкой ", 48) {
  NewObjectStyleID.Clear();
  NewObjectLayerID.Clear();
  TKxMacroAttrs& Macro = Macros()[0];
  std::string Resource = Macro.Ident.ToUtf8();
  for (char& C : Resource) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  Macro.Image = compat::HandleField(compat::LoadBitmapResource(Resource));
}

TTraceAddOn::~TTraceAddOn() {
  TKxMacroAttrs& Macro = Macros()[0];
  if (Macro.Image) compat::DeleteBitmapHandle(compat::HandleFromField<HBITMAP>(Macro.Image));
  Macro.Image = 0;
  if (TraceAddOn == this) TraceAddOn = nullptr;
}

compat::TComPtr<IKxMacroAttrsList> TTraceAddOn::GetMacros() {
  compat::TComPtr<IKxMacroAttrsList> List = TKxCustomAddon::GetMacros();
  for (const TKxMacroAttrs& Macro : Macros()) OleCheck(List->Insert(-1, &Macro));
  return List;
}

void TTraceAddOn::ExecuteMacro(std::int32_t Index, std::int32_t) {
  if (Index != 0) return;
  if (!TracePadForm && TracePadCreator) TracePadForm = TracePadCreator(this);
  if (TracePadForm) TracePadForm->ShowPad();
}

void TTraceAddOn::Notify(std::int32_t Code, IKxParamsList* Params) {
  if (TracePadForm && Code == NotifyCode64) {
    // The answer goes where the host's flag lies; a host that passes none
    // asks nothing of the add-on.
    const VARIANT Keep =
        TKxParamsList(compat::TComPtr<IKxParamsList>(Params)).GetParam(NotifyKeepParam);
    if (Keep.vt == (VT_BYREF | VT_BOOL) && Keep.pboolVal && !TracePadForm->MayLoseTrace())
      *Keep.pboolVal = VARIANT_TRUE;
    return;
  }
  if (!TracePadForm || (Code != NotifyCode16 && Code != NotifyCode32)) return;
  // The parameter is read as the host expects, its value is not needed.
  TKxParamsList(compat::TComPtr<IKxParamsList>(Params)).GetParam(4);
  if (Code == NotifyCode32) TracePadForm->ProjectReplaced();
  TracePadForm->UpdateActions();
}

bool TTraceAddOn::SaveBitmap(IStream* Stream, HBITMAP Bitmap) {
  if (!Bitmap) return false;
  const std::optional<std::string> Bytes = compat::BitmapFileImage(Bitmap);
  if (!Bytes) throw core::Exception("Invalid bitmap handle");
  if (!Stream) throw core::Exception("Ошибка при записи в OLE-поток");
  const auto Size = static_cast<std::uint32_t>(Bytes->size());
  const unsigned char Length[4] = {
      static_cast<unsigned char>(Size), static_cast<unsigned char>(Size >> 8),
      static_cast<unsigned char>(Size >> 16), static_cast<unsigned char>(Size >> 24)};
  WriteAll(Stream, Length, 4);
  WriteAll(Stream, Bytes->data(), Size);
  return true;
}

}  // namespace kx
