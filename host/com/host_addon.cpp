#include "host/com/host_addon.h"

#include <cstring>

#include "host/com/host_com_manager.h"
#include "host/com/memory_stream.h"

namespace host {

THostAddOn::THostAddOn(std::shared_ptr<THostModule> Module, const GUID& ClassID)
    : FModule(std::move(Module)) {
  IClassFactory* RawFactory = nullptr;
  if (FAILED(FModule->DllGetClassObject(ClassID, IID_IClassFactory,
                                        reinterpret_cast<void**>(&RawFactory))) ||
      !RawFactory)
    throw EHostError(FModule->Path() + ": no class " + compat::GuidToString(ClassID));
  auto Factory = compat::TComPtr<IClassFactory>::Attach(RawFactory);
  if (FAILED(Factory->CreateInstance(nullptr, kx::IID_IKxAddOn, FAddOn.OutVoid())) || !FAddOn)
    throw EHostError(FModule->Path() + ": the add-on object cannot be created");
}

THostAddOn::~THostAddOn() {
  if (FManager) {
    try {
      Disconnect();
    } catch (...) {
    }
  }
}

void THostAddOn::Check(HRESULT Code, const char* What) const {
  if (SUCCEEDED(Code)) return;
  std::string Text = std::string(What) + " failed";
  if (FManager)
    Text += ": " + FManager->ErrorInfo().MessageUtf8() + " [" + FManager->ErrorInfo().SourceUtf8() +
            "]";
  throw EHostError(Text);
}

kx::TKxAddOnInfo THostAddOn::Info() const {
  kx::TKxAddOnInfo Info{};
  Check(FAddOn->GetInfo(&Info), "GetInfo");
  return Info;
}

void THostAddOn::Connect(THostComManager& Manager) {
  FManager = &Manager;
  Check(FAddOn->Connect(static_cast<kx::IKxAddOnManager*>(&Manager)), "Connect");
}

void THostAddOn::Disconnect() {
  const HRESULT Code = FAddOn->Disconnect();
  try {
    Check(Code, "Disconnect");
  } catch (...) {
    FManager = nullptr;  // not tried again by the destructor
    throw;
  }
  FManager = nullptr;
}

std::vector<THostCommand> THostAddOn::Commands() const {
  compat::TComPtr<kx::IKxMacroAttrsList> List;
  Check(FAddOn->GetMacros(List.Out()), "GetMacros");
  std::int32_t Count = 0;
  Check(List->GetCount(&Count), "GetCount");
  std::vector<THostCommand> Result;
  for (std::int32_t I = 0; I < Count; ++I) {
    THostCommand Command{};
    Check(List->GetItem(I, &Command.Attrs), "GetItem");
    auto Stream = compat::TComPtr<THostMemoryStream>::Attach(THostMemoryStream::Create());
    const HRESULT Code =
        FAddOn->SaveBitmap(Stream.Get(), compat::HandleFromField<HBITMAP>(Command.Attrs.Image));
    Check(Code, "SaveBitmap");
    const auto& Data = Stream->Data();
    if (Code == S_OK && Data.size() >= 4) {
      std::uint32_t Length = 0;
      for (int B = 3; B >= 0; --B) Length = (Length << 8) | Data[static_cast<std::size_t>(B)];
      if (Length <= Data.size() - 4)
        Command.Bitmap.assign(Data.begin() + 4,
                              Data.begin() + 4 + static_cast<std::ptrdiff_t>(Length));
    }
    Result.push_back(std::move(Command));
  }
  return Result;
}

void THostAddOn::Execute(std::int32_t Index) const {
  Check(FAddOn->ExecuteMacro(Index, 0), "ExecuteMacro");
}

void THostAddOn::Notify(std::int32_t Code, kx::IKxParamsList* Params) const {
  Check(FAddOn->Notify(Code, Params), "Notify");
}

}  // namespace host
