#include "addonkit/host_calls.h"

namespace kx {

void RaiseEmptyHolder() {
  throw EIntfCastError("Interface not supported");
}

HWND TKxAddOnManager::GetMainWindow() const {
  HWND Wnd = 0;
  OleCheck(Checked()->GetMainWindow(&Wnd));
  return Wnd;
}

HWND TKxAddOnManager::GetApplicationWindow() const {
  HWND Wnd = 0;
  OleCheck(Checked()->GetApplicationWindow(&Wnd));
  return Wnd;
}

TKxID TKxIDsList::GetID(std::int32_t Index) const {
  TKxID ID;
  ID.Clear();
  OleCheck(Checked()->GetID(Index, &ID));
  return ID;
}

std::int32_t TKxIDsList::GetCount() const {
  std::int32_t Count = 0;
  OleCheck(Checked()->GetCount(&Count));
  return Count;
}

VARIANT TKxParamsList::GetParam(std::int32_t Index) const {
  VARIANT Value;
  VariantInit(&Value);
  OleCheck(Checked()->GetParam(Index, &Value));
  return Value;
}

void TKxContour::Clear() const {
  OleCheck(Checked()->Clear());
}

bool TKxContour::GetFirstCommand(TKxContourCommand& Cmd) const {
  return OleCheck(Checked()->GetFirstCommand(&Cmd)) == S_OK;
}

bool TKxContour::GetNextCommand(TKxContourCommand& Cmd) const {
  return OleCheck(Checked()->GetNextCommand(&Cmd)) == S_OK;
}

void TKxContour::AddCommand(const TKxContourCommand& Cmd) const {
  OleCheck(Checked()->AddCommand(&Cmd));
}

void TKxContour::DeleteCommand(std::int32_t Index) const {
  OleCheck(Checked()->DeleteCommand(Index));
}

TKxContourCommand TKxContour::GetCommand(std::int32_t Index) const {
  TKxContourCommand Cmd{};
  OleCheck(Checked()->GetCommand(Index, &Cmd));
  return Cmd;
}

std::int32_t TKxContour::GetCommandCount() const {
  std::int32_t Count = 0;
  OleCheck(Checked()->GetCommandCount(&Count));
  return Count;
}

void TKxShapeList::AddShape(const TKxID& StyleID, IKxContour* Contour) const {
  OleCheck(Checked()->AddShape(Contour, &StyleID));
}

std::int32_t TKxShapeList::GetCount() const {
  std::int32_t Count = 0;
  OleCheck(Checked()->GetCount(&Count));
  return Count;
}

TKxContour TKxShapeList::GetShapeContour(std::int32_t Index) const {
  return TKxContour(OutInterface<IKxContour>(
      [&](IKxContour** C) { return Checked()->GetShapeContour(Index, C); }));
}

TKxID TKxShapeList::GetShapeStyle(std::int32_t Index) const {
  TKxID ID;
  ID.Clear();
  OleCheck(Checked()->GetShapeStyle(Index, &ID));
  return ID;
}

TKxIDsList TKxStyle::GetStyleLayers() const {
  return TKxIDsList(
      OutInterface<IKxIDsList>([&](IKxIDsList** L) { return Checked()->GetStyleLayers(L); }));
}

TKxStyleInfo TKxStyle::GetStyleInfo() const {
  TKxStyleInfo Info{};
  OleCheck(Checked()->GetStyleInfo(&Info));
  return Info;
}

TKxMapInfo TKxGISDatabase::GetMapInfo(const TKxID& MapID) const {
  TKxMapInfo Info{};
  OleCheck(Checked()->GetMapInfo(&MapID, &Info));
  return Info;
}

TKxIDsList TKxGISDatabase::GetMapLayers(const TKxID& MapID) const {
  return TKxIDsList(
      OutInterface<IKxIDsList>([&](IKxIDsList** L) { return Checked()->GetMapLayers(&MapID, L); }));
}

TKxLayerInfo TKxGISDatabase::GetLayerInfo(const TKxID& LayerID) const {
  TKxLayerInfo Info{};
  OleCheck(Checked()->GetLayerInfo(&LayerID, &Info));
  return Info;
}

TKxIDsList TKxGISDatabase::GetLayerStyles(const TKxID& LayerID) const {
  return TKxIDsList(OutInterface<IKxIDsList>(
      [&](IKxIDsList** L) { return Checked()->GetLayerStyles(&LayerID, L); }));
}

TKxStyle TKxGISDatabase::GetStyle(const TKxID& StyleID) const {
  return TKxStyle(
      OutInterface<IKxStyle>([&](IKxStyle** S) { return Checked()->GetStyle(&StyleID, S); }));
}

TKxIDsList TKxMapProject::GetMaps() const {
  return TKxIDsList(
      OutInterface<IKxIDsList>([&](IKxIDsList** L) { return Checked()->GetMaps(L); }));
}

TKxContour TKxMapObjects::NewContour() const {
  return TKxContour(
      OutInterface<IKxContour>([&](IKxContour** C) { return Checked()->NewContour(C); }));
}

TKxShapeList TKxMapObjects::NewShapeList() const {
  return TKxShapeList(
      OutInterface<IKxShapeList>([&](IKxShapeList** L) { return Checked()->NewShapeList(L); }));
}

TKxID TKxMapObjects::CreateObject(const TKxID& LayerID, IKxShapeList* Shapes) const {
  TKxID NewID;
  NewID.Clear();
  OleCheck(Checked()->CreateObject(&LayerID, Shapes, &NewID));
  return NewID;
}

TKxShapeList TKxMapObjects::GetObjectShapes(const TKxID& ObjectID) const {
  return TKxShapeList(OutInterface<IKxShapeList>(
      [&](IKxShapeList** L) { return Checked()->GetObjectShapes(&ObjectID, L); }));
}

void TKxMapView::Operation5() const {
  OleCheck(Checked()->Operation5());
}

TKxIDsList TKxMapView::GetSelection() const {
  return TKxIDsList(
      OutInterface<IKxIDsList>([&](IKxIDsList** L) { return Checked()->GetSelection(L); }));
}

void TKxMapView::SetEditor(IKxEditor* Editor) const {
  OleCheck(Checked()->SetEditor(Editor));
}

void TKxMapView::Invalidate() const {
  OleCheck(Checked()->Invalidate());
}

void TKxMapView::Operation27() const {
  OleCheck(Checked()->Operation27());
}

TKxDevicePoint TKxMapView::MapToDevice(const TKxPoint& P) const {
  TKxDevicePoint D{0, 0};
  OleCheck(Checked()->MapToDevice(P.X, P.Y, &D.X, &D.Y));
  return D;
}

TKxPoint TKxMapView::DeviceToMap(const TKxDevicePoint& P) const {
  TKxPoint M{0, 0};
  OleCheck(Checked()->DeviceToMap(P.X, P.Y, &M.X, &M.Y));
  return M;
}

}  // namespace kx
