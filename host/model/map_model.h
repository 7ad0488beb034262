// The host's map model: a project of maps, each a list of layers; styles
// (with their pen, brush and information words) attached to layers; and map
// objects, each in one layer with one or more shapes of a style and a host
// contour. Identifiers are ShortString[15] in cp1251, unique per kind and
// compared as bytes. Objects are found by ID through a hash and by
// rectangle through a spatial index.
//
// Every change either succeeds whole or raises EHostError and changes
// nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "addonlib/geometry/primitives.h"
#include "geomio/feature_fields.h"
#include "host/model/host_contour.h"
#include "host/model/spatial_index.h"
#include "hostapi/kx_records.h"

namespace host {

using kx::TKxID;

// The bytes of an ID: the key of every lookup.
inline std::string IDKey(const TKxID& ID) {
  return std::string(ID.Bytes());
}
// Maps keyed by ID bytes that are searched with ID.Bytes(), so that a
// lookup (the map view makes many a redraw) builds no string.
struct TIDKeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view Bytes) const noexcept {
    return std::hash<std::string_view>{}(Bytes);
  }
};
template <class V>
using TIDKeyMap = std::unordered_map<std::string, V, TIDKeyHash, std::equal_to<>>;
// An ID from UTF-8 text; raises EHostError when the text is empty, has
// characters cp1251 lacks, or is longer than 15 bytes in cp1251.
TKxID MakeID(std::string_view Utf8);
inline std::string IDText(const TKxID& ID) {
  return ID.ToUtf8();
}

// Whether two field names are the same to GIS formats: ASCII case ignored.
bool SameFieldName(std::string_view A, std::string_view B);
// How the project file and messages name a field kind: "integer",
// "integer64", "real", "string", "date", "time", "datetime".
const char* FieldKindName(geomio::TFieldKind Kind);
// The kind of a name FieldKindName gives; false for any other text.
bool FieldKindOfName(std::string_view Name, geomio::TFieldKind& Kind);
// Whether a field of the kind holds the value: null always; a whole number
// in the integer kinds, a real in "real", text in the others.
bool ValueFits(const geomio::TFieldValue& Value, geomio::TFieldKind Kind);
// A value of a field merged into a wider one (MergedFields): a whole number
// as a real, a number as text; other values as they are.
geomio::TFieldValue WidenedValue(geomio::TFieldValue Value, geomio::TFieldKind Kind);

struct THostMap {
  TKxID ID;
  std::string Name;  // UTF-8
  std::vector<TKxID> Layers;
};

struct THostLayer {
  TKxID ID;
  TKxID MapID;
  std::string Caption;  // UTF-8
  std::vector<TKxID> Styles;
  // The attribute fields of the layer's objects, as GIS files give them:
  // one schema for the layer, so that an object keeps only its values.
  std::vector<geomio::TFieldDef> Fields;
};

struct THostStyle {
  TKxID ID;
  std::string Name;  // UTF-8; at most 63 bytes in cp1251 reach the info record
  std::uint32_t Flags = kx::kxStyleDefinesGeometry;
  std::int32_t Value1 = 0;
  std::int32_t Value2 = 0;
  // Objects of an area style must have closed parts only.
  bool Area = false;
  kx::TKxPenRecord Pen{0, 0.5, 0, 0, 4};
  kx::TKxBrushRecord Brush{1, 0xFFFFFF, 0, 1};
  std::vector<TKxID> Layers;  // kept by the project, in attachment order

  bool DefinesGeometry() const { return (Flags & kx::kxStyleDefinesGeometry) != 0; }
  kx::TKxStyleInfo Info() const;
};

struct THostShape {
  TKxID StyleID;
  THostCommands Commands;
};

struct THostMapObject {
  TKxID ID;
  TKxID LayerID;
  std::vector<THostShape> Shapes;
  geo::TDRect Bounds;
  // One value per field of the layer, in its order; missing trailing values
  // (an object made by an add-on has none) are null.
  std::vector<geomio::TFieldValue> Values;
};

class THostProject {
 public:
  THostProject();
  ~THostProject();
  THostProject(THostProject&&) noexcept;
  THostProject& operator=(THostProject&&) noexcept;

  std::string Name;  // UTF-8
  // The coordinate system of the map metres, as WKT (geomio/gdal/crs.h
  // names it); empty when unknown. Set by the first GIS file imported.
  std::string Crs;

  void Clear();

  // Moves on with every change that can alter the drawn map (maps, layers,
  // styles, objects), so that a picture drawn at one revision can be reused
  // for as long as it stays. Revisions come from one counter for all
  // projects: two projects, or one project before and after it was
  // replaced, never share one.
  std::uint64_t Revision() const { return FRevision.Value; }

  // ---- Maps, layers, styles ----
  // What these return is for reading: changes go through the project.
  const THostMap& AddMap(const TKxID& ID, std::string Name);
  const THostLayer& AddLayer(const TKxID& MapID, const TKxID& ID, std::string Caption);
  // The style's Layers are ignored; attach it with AttachStyle.
  const THostStyle& AddStyle(THostStyle Style);
  void AttachStyle(const TKxID& LayerID, const TKxID& StyleID);
  // The layer's fields with Fields added: a field of the same name (ASCII
  // case ignored, as GIS formats do) is shared, widened to hold both kinds
  // (whole numbers to 64 bits, with reals to reals, else to text); others
  // are appended. Slots receives the layer field each of Fields goes to.
  std::vector<geomio::TFieldDef> MergedFields(const TKxID& LayerID,
                                              const std::vector<geomio::TFieldDef>& Fields,
                                              std::vector<std::size_t>& Slots) const;
  // Replaces the layer's fields with an extension of them (as MergedFields
  // gives: the same names in the same order, kinds widened, then new ones);
  // the values stored in widened fields are widened with them. Fields are
  // not drawn: the revision stays.
  void SetLayerFields(const TKxID& LayerID, std::vector<geomio::TFieldDef> Fields);

  const std::vector<TKxID>& Maps() const { return FMapOrder; }
  const std::vector<TKxID>& StyleOrder() const { return FStyleOrder; }
  const THostMap* FindMap(const TKxID& ID) const;
  const THostLayer* FindLayer(const TKxID& ID) const;
  const THostStyle* FindStyle(const TKxID& ID) const;
  // The style to change in place (null for an unknown ID): the project
  // takes it as changed.
  THostStyle* EditStyle(const TKxID& ID);
  // Raise EHostError naming the missing ID.
  const THostMap& Map(const TKxID& ID) const;
  const THostLayer& Layer(const TKxID& ID) const;
  const THostStyle& Style(const TKxID& ID) const;

  // ---- Objects ----
  // Checks the layer, every shape's style (known and one of the layer's)
  // and contour, and the values against the layer's fields, then adds the
  // object under ID, or under a new ID when ID is null or empty. Returns the
  // object's ID.
  TKxID AddObject(const TKxID& LayerID, std::vector<THostShape> Shapes, const TKxID* ID = nullptr,
                  std::vector<geomio::TFieldValue> Values = {});
  // Checks what AddObject checks, without adding.
  void CheckObject(const TKxID& LayerID, const std::vector<THostShape>& Shapes) const;
  bool RemoveObject(const TKxID& ID);
  const THostMapObject* FindObject(const TKxID& ID) const;
  const THostMapObject& Object(const TKxID& ID) const;
  std::int32_t ObjectCount() const { return static_cast<std::int32_t>(FObjectIndex.size()); }
  // Objects whose bounds meet R (borders included), in the order they were
  // added.
  std::vector<const THostMapObject*> ObjectsInRect(const geo::TDRect& R) const;
  // Calls Fn(object) for the same objects in no set order, with no list
  // made: for lookups that need no order.
  template <class F>
  void VisitObjectsInRect(const geo::TDRect& R, F&& Fn) const {
    FSpatial->Visit(R, [&](std::int32_t Slot) { Fn(*FObjects[static_cast<std::size_t>(Slot)]); });
  }
  // Objects of one layer, or all with an empty layer ID, in the order they
  // were added.
  std::vector<const THostMapObject*> Objects(const TKxID& LayerID = TKxID{}) const;
  // Bounds of all objects; false when there are none.
  bool Bounds(geo::TDRect& R) const;

 private:
  TKxID NewObjectID();
  void Changed() { FRevision = TRevision(); }

  // A fresh number on creation; a project moved from gets a fresh one too,
  // as what it holds is no longer what was drawn.
  struct TRevision {
    std::uint64_t Value;
    TRevision();
    TRevision(TRevision&& Other) noexcept;
    TRevision& operator=(TRevision&& Other) noexcept;
  };

  TIDKeyMap<THostMap> FMaps;
  TIDKeyMap<THostLayer> FLayers;
  TIDKeyMap<THostStyle> FStyles;
  std::vector<TKxID> FMapOrder;
  std::vector<TKxID> FStyleOrder;
  // Slots never reused: a removed object leaves an empty slot.
  std::vector<std::unique_ptr<THostMapObject>> FObjects;
  TIDKeyMap<std::int32_t> FObjectIndex;
  std::unique_ptr<THostSpatialIndex> FSpatial;
  // ObjectsInRect's slots, kept to spare an allocation per lookup (the
  // project is used from one thread).
  mutable std::vector<std::int32_t> FLookupSlots;
  std::uint64_t FNextNumber = 1;
  TRevision FRevision;
};

}  // namespace host
