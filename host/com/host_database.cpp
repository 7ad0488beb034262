#include "host/com/host_database.h"

#include <algorithm>

#include "host/com/host_call.h"
#include "host/com/host_values.h"

namespace host {

HRESULT THostGISDatabase::GetMapInfo(const TKxID* MapID, kx::TKxMapInfo* Info) {
  return HostCall(FContext->ErrorInfo, "IKxGISDatabase.GetMapInfo", [&] {
    const THostMap& M = FContext->Project.Map(Required(MapID, "MapID"));
    kx::TKxMapInfo R{};
    R.ID = M.ID;
    R.Name.AssignUtf8(M.Name);
    Required(Info, "Info") = R;
    return S_OK;
  });
}

HRESULT THostGISDatabase::GetMapLayers(const TKxID* MapID, kx::IKxIDsList** Layers) {
  if (Layers) *Layers = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxGISDatabase.GetMapLayers", [&] {
    kx::IKxIDsList*& Out = Required(Layers, "Layers");
    const THostMap& M = FContext->Project.Map(Required(MapID, "MapID"));
    return HandOut(MakeValue<THostIDsList>(FContext, M.Layers), &Out);
  });
}

HRESULT THostGISDatabase::GetLayerInfo(const TKxID* LayerID, kx::TKxLayerInfo* Info) {
  return HostCall(FContext->ErrorInfo, "IKxGISDatabase.GetLayerInfo", [&] {
    const THostLayer& L = FContext->Project.Layer(Required(LayerID, "LayerID"));
    kx::TKxLayerInfo R{};
    R.MapID = L.MapID;
    R.Name.AssignUtf8(L.Caption);
    Required(Info, "Info") = R;
    return S_OK;
  });
}

HRESULT THostGISDatabase::GetLayerStyles(const TKxID* LayerID, kx::IKxIDsList** Styles) {
  if (Styles) *Styles = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxGISDatabase.GetLayerStyles", [&] {
    kx::IKxIDsList*& Out = Required(Styles, "Styles");
    const THostLayer& L = FContext->Project.Layer(Required(LayerID, "LayerID"));
    return HandOut(MakeValue<THostIDsList>(FContext, L.Styles), &Out);
  });
}

HRESULT THostGISDatabase::GetStyle(const TKxID* StyleID, kx::IKxStyle** Style) {
  if (Style) *Style = nullptr;
  ++FGetStyleCount;
  return HostCall(FContext->ErrorInfo, "IKxGISDatabase.GetStyle", [&] {
    kx::IKxStyle*& Out = Required(Style, "Style");
    const THostStyle& S = FContext->Project.Style(Required(StyleID, "StyleID"));
    return HandOut(MakeValue<THostStyleValue>(FContext, S), &Out);
  });
}

HRESULT THostMapProject::GetMaps(kx::IKxIDsList** Maps) {
  if (Maps) *Maps = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapProject.GetMaps", [&] {
    kx::IKxIDsList*& Out = Required(Maps, "Maps");
    return HandOut(MakeValue<THostIDsList>(FContext, FContext->Project.Maps()), &Out);
  });
}

HRESULT THostMapObjects::NewContour(kx::IKxContour** Contour) {
  if (Contour) *Contour = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapObjects.NewContour", [&] {
    kx::IKxContour*& Out = Required(Contour, "Contour");
    return HandOut(MakeValue<THostContour>(FContext), &Out);
  });
}

HRESULT THostMapObjects::NewShapeList(kx::IKxShapeList** List) {
  if (List) *List = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapObjects.NewShapeList", [&] {
    kx::IKxShapeList*& Out = Required(List, "List");
    return HandOut(MakeValue<THostShapeList>(FContext), &Out);
  });
}

HRESULT THostMapObjects::CreateObject(const TKxID* LayerID, kx::IKxShapeList* Shapes,
                                      TKxID* NewID) {
  return HostCall(FContext->ErrorInfo, "IKxMapObjects.CreateObject", [&] {
    const TKxID& Layer = Required(LayerID, "LayerID");
    kx::IKxShapeList& List = Required(Shapes, "Shapes");
    TKxID& Out = Required(NewID, "NewID");
    std::int32_t Count = 0;
    if (FAILED(List.GetCount(&Count))) throw EHostError("Список фигур не отдаёт число фигур");
    std::vector<THostShape> Read(static_cast<std::size_t>(std::max(Count, 0)));
    for (std::int32_t I = 0; I < Count; ++I) {
      THostShape& S = Read[static_cast<std::size_t>(I)];
      compat::TComPtr<kx::IKxContour> C;
      if (FAILED(List.GetShapeStyle(I, &S.StyleID)) || FAILED(List.GetShapeContour(I, C.Out())))
        throw EHostError("Список фигур не отдаёт фигуру " + std::to_string(I));
      S.Commands = ReadContour(C.Get());
    }
    Out = FContext->Project.AddObject(Layer, std::move(Read));
    if (FOnCreated) FOnCreated(Out);
    return S_OK;
  });
}

HRESULT THostMapObjects::GetObjectShapes(const TKxID* ObjectID, kx::IKxShapeList** Shapes) {
  if (Shapes) *Shapes = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapObjects.GetObjectShapes", [&] {
    kx::IKxShapeList*& Out = Required(Shapes, "Shapes");
    const THostMapObject& O = FContext->Project.Object(Required(ObjectID, "ObjectID"));
    auto List = MakeValue<THostShapeList>(FContext);
    for (const THostShape& S : O.Shapes) {
      const auto C = MakeValue<THostContour>(FContext, S.Commands);
      List->Add(S.StyleID, compat::TComPtr<kx::IKxContour>(C.Get()));
    }
    return HandOut(std::move(List), &Out);
  });
}

}  // namespace host
