#include "host/com/host_values.h"

#include "host/com/host_call.h"

namespace host {

HRESULT THostIDsList::GetID(std::int32_t Index, TKxID* ID) {
  return HostCall(FContext->ErrorInfo, "IKxIDsList.GetID", [&] {
    Required(ID, "ID") = FIDs[CheckIndex(Index, FIDs.size(), "Список идентификаторов")];
    return S_OK;
  });
}

HRESULT THostIDsList::GetCount(std::int32_t* Count) {
  return HostCall(FContext->ErrorInfo, "IKxIDsList.GetCount", [&] {
    Required(Count, "Count") = static_cast<std::int32_t>(FIDs.size());
    return S_OK;
  });
}

HRESULT THostParamsList::GetParam(std::int32_t Index, VARIANT* Value) {
  return HostCall(FContext->ErrorInfo, "IKxParamsList.GetParam", [&] {
    Required(Value, "Value") = FParams[CheckIndex(Index, FParams.size(), "Список параметров")];
    return S_OK;
  });
}

HRESULT THostContour::Clear() {
  FCommands.clear();
  FNext = 0;
  return S_OK;
}

HRESULT THostContour::GetFirstCommand(kx::TKxContourCommand* Cmd) {
  FNext = 0;
  return GetNextCommand(Cmd);
}

HRESULT THostContour::GetNextCommand(kx::TKxContourCommand* Cmd) {
  return HostCall(FContext->ErrorInfo, "IKxContour.GetNextCommand", [&] {
    kx::TKxContourCommand& Out = Required(Cmd, "Cmd");
    if (FNext >= FCommands.size()) return S_FALSE;
    Out = FCommands[FNext++];
    return S_OK;
  });
}

HRESULT THostContour::AddCommand(const kx::TKxContourCommand* Cmd) {
  return HostCall(FContext->ErrorInfo, "IKxContour.AddCommand", [&] {
    FCommands.push_back(Required(Cmd, "Cmd"));
    return S_OK;
  });
}

HRESULT THostContour::DeleteCommand(std::int32_t Index) {
  return HostCall(FContext->ErrorInfo, "IKxContour.DeleteCommand", [&] {
    const std::size_t I = CheckIndex(Index, FCommands.size(), "Контур");
    FCommands.erase(FCommands.begin() + static_cast<std::ptrdiff_t>(I));
    if (FNext > I) --FNext;
    return S_OK;
  });
}

HRESULT THostContour::GetCommand(std::int32_t Index, kx::TKxContourCommand* Cmd) {
  return HostCall(FContext->ErrorInfo, "IKxContour.GetCommand", [&] {
    Required(Cmd, "Cmd") = FCommands[CheckIndex(Index, FCommands.size(), "Контур")];
    return S_OK;
  });
}

HRESULT THostContour::GetCommandCount(std::int32_t* Count) {
  return HostCall(FContext->ErrorInfo, "IKxContour.GetCommandCount", [&] {
    Required(Count, "Count") = static_cast<std::int32_t>(FCommands.size());
    return S_OK;
  });
}

THostCommands ReadContour(kx::IKxContour* Contour) {
  if (!Contour) throw EHostError("Нет контура", E_POINTER);
  std::int32_t Count = 0;
  if (FAILED(Contour->GetCommandCount(&Count)) || Count < 0)
    throw EHostError("Контур не отдаёт число команд");
  THostCommands Result(static_cast<std::size_t>(Count));
  for (std::int32_t I = 0; I < Count; ++I)
    if (FAILED(Contour->GetCommand(I, &Result[static_cast<std::size_t>(I)])))
      throw EHostError("Контур не отдаёт команду " + std::to_string(I));
  return Result;
}

HRESULT THostShapeList::AddShape(kx::IKxContour* Contour, const TKxID* StyleID) {
  return HostCall(FContext->ErrorInfo, "IKxShapeList.AddShape", [&] {
    const TKxID& Style = Required(StyleID, "StyleID");
    Add(Style, compat::TComPtr<kx::IKxContour>(&Required(Contour, "Contour")));
    return S_OK;
  });
}

HRESULT THostShapeList::GetCount(std::int32_t* Count) {
  return HostCall(FContext->ErrorInfo, "IKxShapeList.GetCount", [&] {
    Required(Count, "Count") = static_cast<std::int32_t>(FEntries.size());
    return S_OK;
  });
}

HRESULT THostShapeList::GetShapeContour(std::int32_t Index, kx::IKxContour** Contour) {
  if (Contour) *Contour = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxShapeList.GetShapeContour", [&] {
    kx::IKxContour*& Out = Required(Contour, "Contour");
    const TEntry& E = FEntries[CheckIndex(Index, FEntries.size(), "Список фигур")];
    Out = compat::TComPtr<kx::IKxContour>(E.Contour).Detach();
    return S_OK;
  });
}

HRESULT THostShapeList::GetShapeStyle(std::int32_t Index, TKxID* StyleID) {
  return HostCall(FContext->ErrorInfo, "IKxShapeList.GetShapeStyle", [&] {
    Required(StyleID, "StyleID") =
        FEntries[CheckIndex(Index, FEntries.size(), "Список фигур")].StyleID;
    return S_OK;
  });
}

HRESULT THostStyleValue::GetStyleLayers(kx::IKxIDsList** Layers) {
  if (Layers) *Layers = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxStyle.GetStyleLayers", [&] {
    return HandOut(MakeValue<THostIDsList>(FContext, FLayers), &Required(Layers, "Layers"));
  });
}

HRESULT THostStyleValue::GetStyleInfo(kx::TKxStyleInfo* Info) {
  return HostCall(FContext->ErrorInfo, "IKxStyle.GetStyleInfo", [&] {
    Required(Info, "Info") = FInfo;
    return S_OK;
  });
}

}  // namespace host
