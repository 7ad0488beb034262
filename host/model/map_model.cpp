#include "host/model/map_model.h"

#include <algorithm>
#include <atomic>

#include "compat/cp1251.h"
#include "geomio/number_text.h"
#include "host/model/host_error.h"

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

using geomio::TFieldDef;
using geomio::TFieldKind;
using geomio::TFieldValue;

bool IsWhole(TFieldKind K) {
  return K == TFieldKind::Integer || K == TFieldKind::Integer64;
}

// The kind of a field that holds values of both kinds without loss: whole
// numbers widen to 64 bits, with reals to reals, anything else to text.
TFieldKind SharedKind(TFieldKind A, TFieldKind B) {
  if (A == B) return A;
  if (IsWhole(A) && IsWhole(B)) return TFieldKind::Integer64;
  if ((IsWhole(A) || A == TFieldKind::Real) && (IsWhole(B) || B == TFieldKind::Real))
    return TFieldKind::Real;
  return TFieldKind::String;
}

constexpr std::pair<TFieldKind, const char*> KindNames[] = {
    {TFieldKind::Integer, "integer"},  {TFieldKind::Integer64, "integer64"},
    {TFieldKind::Real, "real"},        {TFieldKind::String, "string"},
    {TFieldKind::Date, "date"},        {TFieldKind::Time, "time"},
    {TFieldKind::DateTime, "datetime"}};

}  // namespace

bool SameFieldName(std::string_view A, std::string_view B) {
  const auto Lower = [](char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
  };
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                            [&](char X, char Y) { return Lower(X) == Lower(Y); });
}

const char* FieldKindName(TFieldKind Kind) {
  for (const auto& [K, Name] : KindNames)
    if (K == Kind) return Name;
  return "string";
}

bool FieldKindOfName(std::string_view Name, TFieldKind& Kind) {
  for (const auto& [K, N] : KindNames)
    if (Name == N) {
      Kind = K;
      return true;
    }
  return false;
}

bool ValueFits(const TFieldValue& Value, TFieldKind Kind) {
  if (std::holds_alternative<std::monostate>(Value)) return true;
  if (IsWhole(Kind)) return std::holds_alternative<std::int64_t>(Value);
  if (Kind == TFieldKind::Real) return std::holds_alternative<double>(Value);
  return std::holds_alternative<std::string>(Value);
}

TFieldValue WidenedValue(TFieldValue Value, TFieldKind Kind) {
  const auto* Whole = std::get_if<std::int64_t>(&Value);
  const auto* Real = std::get_if<double>(&Value);
  if (Kind == TFieldKind::Real && Whole) return static_cast<double>(*Whole);
  if (!IsWhole(Kind) && Kind != TFieldKind::Real) {
    if (Whole) return std::to_string(*Whole);
    if (Real) return geomio::NumberText(*Real);
  }
  return Value;
}

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

namespace {
std::atomic<std::uint64_t> LastRevision{0};
}  // namespace

THostProject::TRevision::TRevision() : Value(++LastRevision) {}
THostProject::TRevision::TRevision(TRevision&& Other) noexcept : Value(Other.Value) {
  Other.Value = ++LastRevision;
}
THostProject::TRevision& THostProject::TRevision::operator=(TRevision&& Other) noexcept {
  Value = Other.Value;
  if (this != &Other) Other.Value = ++LastRevision;
  return *this;
}

THostProject::THostProject() : FSpatial(std::make_unique<THostSpatialIndex>()) {}
THostProject::~THostProject() = default;
THostProject::THostProject(THostProject&&) noexcept = default;
THostProject& THostProject::operator=(THostProject&&) noexcept = default;

void THostProject::Clear() {
  *this = THostProject();
}

const THostMap& THostProject::AddMap(const TKxID& ID, std::string AName) {
  CheckNewID(ID, "карта");
  const std::string Key = IDKey(ID);
  if (FMaps.count(Key)) throw EHostError("Карта " + Quoted(ID) + " уже есть");
  Changed();
  FMapOrder.push_back(ID);
  THostMap& M = FMaps[Key];
  M.ID = ID;
  M.Name = std::move(AName);
  return M;
}

const THostLayer& THostProject::AddLayer(const TKxID& MapID, const TKxID& ID, std::string Caption) {
  CheckNewID(ID, "слой");
  auto MapIt = FMaps.find(MapID.Bytes());
  if (MapIt == FMaps.end()) throw EHostError("Неизвестная карта " + Quoted(MapID));
  const std::string Key = IDKey(ID);
  if (FLayers.count(Key)) throw EHostError("Слой " + Quoted(ID) + " уже есть");
  Changed();
  MapIt->second.Layers.push_back(ID);
  THostLayer& L = FLayers[Key];
  L.ID = ID;
  L.MapID = MapID;
  L.Caption = std::move(Caption);
  return L;
}

const THostStyle& THostProject::AddStyle(THostStyle Style) {
  CheckNewID(Style.ID, "стиль");
  const std::string Key = IDKey(Style.ID);
  if (FStyles.count(Key)) throw EHostError("Стиль " + Quoted(Style.ID) + " уже есть");
  Style.Layers.clear();
  Changed();
  FStyleOrder.push_back(Style.ID);
  return FStyles[Key] = std::move(Style);
}

void THostProject::AttachStyle(const TKxID& LayerID, const TKxID& StyleID) {
  auto LayerIt = FLayers.find(LayerID.Bytes());
  if (LayerIt == FLayers.end()) throw EHostError("Неизвестный слой " + Quoted(LayerID));
  auto StyleIt = FStyles.find(StyleID.Bytes());
  if (StyleIt == FStyles.end()) throw EHostError("Неизвестный стиль " + Quoted(StyleID));
  auto& Styles = LayerIt->second.Styles;
  if (std::find(Styles.begin(), Styles.end(), StyleID) != Styles.end()) return;
  Changed();
  Styles.push_back(StyleID);
  StyleIt->second.Layers.push_back(LayerID);
}

std::vector<TFieldDef> THostProject::MergedFields(const TKxID& LayerID,
                                                  const std::vector<TFieldDef>& Fields,
                                                  std::vector<std::size_t>& Slots) const {
  std::vector<TFieldDef> Result = Layer(LayerID).Fields;
  // A slot takes one field of the input, so that two input fields whose
  // names differ only in case keep their values apart.
  std::vector<bool> Taken(Result.size(), false);
  Slots.clear();
  for (const TFieldDef& F : Fields) {
    std::size_t Slot = 0;
    while (Slot < Result.size() && (Taken[Slot] || !SameFieldName(Result[Slot].Name, F.Name)))
      ++Slot;
    if (Slot == Result.size()) {
      Result.push_back(F);
      Taken.push_back(true);
    } else {
      TFieldDef& Have = Result[Slot];
      Have.Kind = SharedKind(Have.Kind, F.Kind);
      Have.Width = Have.Width && F.Width ? std::max(Have.Width, F.Width) : 0;
      Have.Precision = std::max(Have.Precision, F.Precision);
      Taken[Slot] = true;
    }
    Slots.push_back(Slot);
  }
  return Result;
}

void THostProject::SetLayerFields(const TKxID& LayerID, std::vector<TFieldDef> Fields) {
  auto It = FLayers.find(LayerID.Bytes());
  if (It == FLayers.end()) throw EHostError("Неизвестный слой " + Quoted(LayerID));
  const std::vector<TFieldDef>& Old = It->second.Fields;
  bool Extends = Fields.size() >= Old.size(), Widened = false;
  for (std::size_t I = 0; Extends && I < Old.size(); ++I) {
    Extends =
        Fields[I].Name == Old[I].Name && SharedKind(Old[I].Kind, Fields[I].Kind) == Fields[I].Kind;
    Widened = Widened || Fields[I].Kind != Old[I].Kind;
  }
  if (!Extends) throw EHostError("Поля слоя " + Quoted(LayerID) + " можно только дополнить");
  // Values already stored keep fitting: whole numbers widened to reals or
  // text become them.
  for (auto& O : FObjects)
    if (Widened && O && O->LayerID == LayerID)
      for (std::size_t I = 0; I < O->Values.size(); ++I)
        if (Fields[I].Kind != Old[I].Kind)
          O->Values[I] = WidenedValue(std::move(O->Values[I]), Fields[I].Kind);
  It->second.Fields = std::move(Fields);
}

const THostMap* THostProject::FindMap(const TKxID& ID) const {
  auto It = FMaps.find(ID.Bytes());
  return It == FMaps.end() ? nullptr : &It->second;
}

const THostLayer* THostProject::FindLayer(const TKxID& ID) const {
  auto It = FLayers.find(ID.Bytes());
  return It == FLayers.end() ? nullptr : &It->second;
}

const THostStyle* THostProject::FindStyle(const TKxID& ID) const {
  auto It = FStyles.find(ID.Bytes());
  return It == FStyles.end() ? nullptr : &It->second;
}

THostStyle* THostProject::EditStyle(const TKxID& ID) {
  auto It = FStyles.find(ID.Bytes());
  if (It == FStyles.end()) return nullptr;
  Changed();
  return &It->second;
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
    if (!FObjectIndex.count(ID.Bytes())) return ID;
  }
}

TKxID THostProject::AddObject(const TKxID& LayerID, std::vector<THostShape> Shapes, const TKxID* ID,
                              std::vector<TFieldValue> Values) {
  CheckObject(LayerID, Shapes);
  if (ID && !ID->Empty() && FObjectIndex.count(ID->Bytes()))
    throw EHostError("Объект " + Quoted(*ID) + " уже есть");
  const std::vector<TFieldDef>& Fields = Layer(LayerID).Fields;
  if (Values.size() > Fields.size())
    throw EHostError("Значений " + std::to_string(Values.size()) + ", а полей у слоя " +
                     std::to_string(Fields.size()));
  for (std::size_t I = 0; I < Values.size(); ++I)
    if (!ValueFits(Values[I], Fields[I].Kind))
      throw EHostError("Значение поля «" + Fields[I].Name + "» не вида " +
                       FieldKindName(Fields[I].Kind));
  // Trailing nulls cost nothing when left out.
  while (!Values.empty() && std::holds_alternative<std::monostate>(Values.back()))
    Values.pop_back();
  auto Obj = std::make_unique<THostMapObject>();
  Obj->LayerID = LayerID;
  Obj->Shapes = std::move(Shapes);
  Obj->Values = std::move(Values);
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
  Changed();
  return FObjects.back()->ID;
}

bool THostProject::RemoveObject(const TKxID& ID) {
  auto It = FObjectIndex.find(ID.Bytes());
  if (It == FObjectIndex.end()) return false;
  FSpatial->Remove(It->second);
  FObjects[static_cast<std::size_t>(It->second)].reset();
  FObjectIndex.erase(It);
  Changed();
  return true;
}

const THostMapObject* THostProject::FindObject(const TKxID& ID) const {
  auto It = FObjectIndex.find(ID.Bytes());
  return It == FObjectIndex.end() ? nullptr : FObjects[static_cast<std::size_t>(It->second)].get();
}

const THostMapObject& THostProject::Object(const TKxID& ID) const {
  if (const THostMapObject* O = FindObject(ID)) return *O;
  throw EHostError("Неизвестный объект " + Quoted(ID));
}

std::vector<const THostMapObject*> THostProject::ObjectsInRect(const geo::TDRect& R) const {
  std::vector<std::int32_t>& Slots = FLookupSlots;
  FSpatial->Query(R, Slots);
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
