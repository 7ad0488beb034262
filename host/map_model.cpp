#include "host/map_model.h"

#include <algorithm>

#include "compat/cp1251.h"
#include "host/host_error.h"

namespace host {

namespace {

std::string Quoted(const TKxID& ID) {
  return "«" + ID.ToUtf8() + "»";
}

void Unite(geo::TDRect& A, const geo::TDRect& B) {
  A.X1 = std::min(A.X1, B.X1);
  A.Y1 = std::min(A.Y1, B.Y1);
  A.X2 = std::max(A.X2, B.X2);
  A.Y2 = std::max(A.Y2, B.Y2);
}

void CheckNewID(const TKxID& ID, const char* Kind) {
  if (ID.Empty()) throw EHostError(std::string("Пустой идентификатор: ") + Kind);
}

}  // namespace

TKxID MakeID(std::string_view Utf8) {
  const std::string Bytes = compat::Utf8ToCp1251(Utf8);
  if (Bytes.empty()) throw EHostError("Пустой идентификатор");
  if (compat::Cp1251ToUtf8(Bytes) != Utf8)
    throw EHostError("Идентификатор «" + std::string(Utf8) + "» содержит знаки вне cp1251");
  if (Bytes.size() > 15)
    throw EHostError("Идентификатор «" + std::string(Utf8) + "» длиннее 15 байтов");
  return TKxID::FromBytes(Bytes);
}

kx::TKxStyleInfo THostStyle::Info() const {
  kx::TKxStyleInfo R{};
  R.Name.AssignUtf8(Name);
  R.Flags = Flags;
  R.Value1 = Value1;
  R.Value2 = Value2;
  return R;
}

THostProject::THostProject() : FSpatial(std::make_unique<THostSpatialIndex>()) {}
THostProject::~THostProject() = default;
THostProject::THostProject(THostProject&&) noexcept = default;
THostProject& THostProject::operator=(THostProject&&) noexcept = default;

void THostProject::Clear() {
  *this = THostProject();
}

THostMap& THostProject::AddMap(const TKxID& ID, std::string AName) {
  CheckNewID(ID, "карта");
  const std::string Key = IDKey(ID);
  if (FMaps.count(Key)) throw EHostError("Карта " + Quoted(ID) + " уже есть");
  FMapOrder.push_back(ID);
  THostMap& M = FMaps[Key];
  M.ID = ID;
  M.Name = std::move(AName);
  return M;
}

THostLayer& THostProject::AddLayer(const TKxID& MapID, const TKxID& ID, std::string Caption) {
  CheckNewID(ID, "слой");
  auto MapIt = FMaps.find(IDKey(MapID));
  if (MapIt == FMaps.end()) throw EHostError("Неизвестная карта " + Quoted(MapID));
  const std::string Key = IDKey(ID);
  if (FLayers.count(Key)) throw EHostError("Слой " + Quoted(ID) + " уже есть");
  MapIt->second.Layers.push_back(ID);
  THostLayer& L = FLayers[Key];
  L.ID = ID;
  L.MapID = MapID;
  L.Caption = std::move(Caption);
  return L;
}

THostStyle& THostProject::AddStyle(THostStyle Style) {
  CheckNewID(Style.ID, "стиль");
  const std::string Key = IDKey(Style.ID);
  if (FStyles.count(Key)) throw EHostError("Стиль " + Quoted(Style.ID) + " уже есть");
  Style.Layers.clear();
  FStyleOrder.push_back(Style.ID);
  return FStyles[Key] = std::move(Style);
}

void THostProject::AttachStyle(const TKxID& LayerID, const TKxID& StyleID) {
  auto LayerIt = FLayers.find(IDKey(LayerID));
  if (LayerIt == FLayers.end()) throw EHostError("Неизвестный слой " + Quoted(LayerID));
  auto StyleIt = FStyles.find(IDKey(StyleID));
  if (StyleIt == FStyles.end()) throw EHostError("Неизвестный стиль " + Quoted(StyleID));
  auto& Styles = LayerIt->second.Styles;
  if (std::find(Styles.begin(), Styles.end(), StyleID) != Styles.end()) return;
  Styles.push_back(StyleID);
  StyleIt->second.Layers.push_back(LayerID);
}

const THostMap* THostProject::FindMap(const TKxID& ID) const {
  auto It = FMaps.find(IDKey(ID));
  return It == FMaps.end() ? nullptr : &It->second;
}

const THostLayer* THostProject::FindLayer(const TKxID& ID) const {
  auto It = FLayers.find(IDKey(ID));
  return It == FLayers.end() ? nullptr : &It->second;
}

const THostStyle* THostProject::FindStyle(const TKxID& ID) const {
  auto It = FStyles.find(IDKey(ID));
  return It == FStyles.end() ? nullptr : &It->second;
}

THostStyle* THostProject::FindStyle(const TKxID& ID) {
  auto It = FStyles.find(IDKey(ID));
  return It == FStyles.end() ? nullptr : &It->second;
}

const THostMap& THostProject::Map(const TKxID& ID) const {
  if (const THostMap* M = FindMap(ID)) return *M;
  throw EHostError("Неизвестная карта " + Quoted(ID));
}

const THostLayer& THostProject::Layer(const TKxID& ID) const {
  if (const THostLayer* L = FindLayer(ID)) return *L;
  throw EHostError("Неизвестный слой " + Quoted(ID));
}

const THostStyle& THostProject::Style(const TKxID& ID) const {
  if (const THostStyle* S = FindStyle(ID)) return *S;
  throw EHostError("Неизвестный стиль " + Quoted(ID));
}

void THostProject::CheckObject(const TKxID& LayerID, const std::vector<THostShape>& Shapes) const {
  const THostLayer& L = Layer(LayerID);
  if (Shapes.empty()) throw EHostError("Объект без фигур");
  for (std::size_t I = 0; I < Shapes.size(); ++I) {
    const THostStyle& S = Style(Shapes[I].StyleID);
    if (std::find(L.Styles.begin(), L.Styles.end(), S.ID) == L.Styles.end())
      throw EHostError("Стиль " + Quoted(S.ID) + " не принадлежит слою " + Quoted(L.ID));
    try {
      CheckHostCommands(Shapes[I].Commands, S.Area);
    } catch (const EHostError& E) {
      throw EHostError("Фигура " + std::to_string(I) + ": " + E.what());
    }
  }
}

TKxID THostProject::NewObjectID() {
  for (;;) {
    const TKxID ID = TKxID::FromBytes(std::to_string(FNextNumber++));
    if (!FObjectIndex.count(IDKey(ID))) return ID;
  }
}

TKxID THostProject::AddObject(const TKxID& LayerID, std::vector<THostShape> Shapes,
                              const TKxID* ID) {
  CheckObject(LayerID, Shapes);
  if (ID && !ID->Empty() && FObjectIndex.count(IDKey(*ID)))
    throw EHostError("Объект " + Quoted(*ID) + " уже есть");
  auto Obj = std::make_unique<THostMapObject>();
  Obj->LayerID = LayerID;
  Obj->Shapes = std::move(Shapes);
  bool HasBounds = false;
  for (const THostShape& S : Obj->Shapes) {
    geo::TDRect R;
    if (!HostBounds(S.Commands, R)) continue;
    if (HasBounds)
      Unite(Obj->Bounds, R);
    else
      Obj->Bounds = R;
    HasBounds = true;
  }
  Obj->ID = ID && !ID->Empty() ? *ID : NewObjectID();
  const auto Slot = static_cast<std::int32_t>(FObjects.size());
  FObjectIndex.emplace(IDKey(Obj->ID), Slot);
  FSpatial->Insert(Slot, Obj->Bounds);
  FObjects.push_back(std::move(Obj));
  return FObjects.back()->ID;
}

bool THostProject::RemoveObject(const TKxID& ID) {
  auto It = FObjectIndex.find(IDKey(ID));
  if (It == FObjectIndex.end()) return false;
  FSpatial->Remove(It->second);
  FObjects[static_cast<std::size_t>(It->second)].reset();
  FObjectIndex.erase(It);
  return true;
}

const THostMapObject* THostProject::FindObject(const TKxID& ID) const {
  auto It = FObjectIndex.find(IDKey(ID));
  return It == FObjectIndex.end() ? nullptr : FObjects[static_cast<std::size_t>(It->second)].get();
}

const THostMapObject& THostProject::Object(const TKxID& ID) const {
  if (const THostMapObject* O = FindObject(ID)) return *O;
  throw EHostError("Неизвестный объект " + Quoted(ID));
}

std::vector<const THostMapObject*> THostProject::ObjectsInRect(const geo::TDRect& R) const {
  std::vector<std::int32_t> Slots;
  FSpatial->Query(R, Slots);
  std::sort(Slots.begin(), Slots.end());
  std::vector<const THostMapObject*> Result;
  Result.reserve(Slots.size());
  for (std::int32_t S : Slots) Result.push_back(FObjects[static_cast<std::size_t>(S)].get());
  return Result;
}

std::vector<const THostMapObject*> THostProject::Objects(const TKxID& LayerID) const {
  std::vector<const THostMapObject*> Result;
  for (const auto& O : FObjects)
    if (O && (LayerID.Empty() || O->LayerID == LayerID)) Result.push_back(O.get());
  return Result;
}

bool THostProject::Bounds(geo::TDRect& R) const {
  bool Any = false;
  for (const auto& O : FObjects) {
    if (!O) continue;
    if (Any)
      Unite(R, O->Bounds);
    else
      R = O->Bounds;
    Any = true;
  }
  return Any;
}

}  // namespace host
