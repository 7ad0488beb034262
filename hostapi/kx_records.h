// Records that cross the host boundary. Their byte layout is the host's and
// holds on every platform; the static_asserts below pin it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "compat/com.h"
#include "compat/short_string.h"

namespace kx {

// Map, layer, style and object identifiers.
using TKxID = compat::ShortString15;

// The add-on's information record: the first five fields of TKxCustomAddon.
struct TKxAddOnInfo {
  GUID ClassID;
  compat::ShortString31 Name;
  compat::ShortString63 Description;
  std::uint32_t Flags;
  std::uint32_t Version;
};

// One command of the add-on, as the host's menus and tool bars show it.
struct TKxMacroAttrs {
  std::int32_t Param1;  // meaning fixed by the host
  compat::ShortString31 Ident;
  compat::ShortString63 Caption;
  compat::ShortString63 MenuPath;  // "\" separates menu levels, "&" marks the accelerator
  std::int32_t Param2;             // meaning fixed by the host
  compat::ShortString31 GroupA;
  compat::ShortString31 GroupB;
  std::uint32_t Image;  // bitmap handle
};

// A context menu entry of an editor; this module never looks inside.
struct TKxContextMacroAttrs {
  std::uint8_t Data[172];
};

struct TKxPoint {
  double X;
  double Y;
};

enum TKxContourCommandKind : std::int32_t {
  kxNone = 0,
  kxMoveTo = 1,
  kxLineTo = 2,
  kxArcTo = 3,
  kxClose = 4,
  kxCloseArc = 5,
};

// The exchange record of host contours. Kinds 1 to 3 carry Point, kind 3
// also Convexity; kind 5 carries its convexity where the point would start.
#pragma pack(push, 1)
struct TKxContourCommand {
  std::int32_t Kind;
  union {
    TKxPoint Point;
    double CloseConvexity;
  };
  double Convexity;
};
#pragma pack(pop)

// The host's map, layer and style information records. Only the fields the
// module reads are named; the rest is the host's.
struct TKxMapInfo {
  TKxID ID;
  compat::ShortString255 Name;
};

struct TKxLayerInfo {
  TKxID MapID;
  compat::ShortString255 Name;
};

struct TKxStyleInfo {
  compat::ShortString63 Name;
  std::uint32_t Flags;  // bit 0: the style defines the geometry of its objects
  std::uint8_t Reserved[20];
  std::int32_t Value1;
  std::int32_t Value2;
};

inline constexpr std::uint32_t kxStyleDefinesGeometry = 1;

// A drawing style as the host's pen and brush take it. Colours are 0x00BBGGRR.
#pragma pack(push, 1)
struct TKxPenRecord {
  std::uint8_t Style;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none, 6 inside frame
  double Width;        // millimetres
  double ForZoomScale;  // scale denominator the width is given for; 0: none
  std::uint32_t Color;
  std::uint8_t Mode;  // 4: copy
};

struct TKxBrushRecord {
  std::uint8_t Style;  // 0 solid, 1 clear, 2 horizontal, 3 vertical, 4 forward diagonal,
                       // 5 backward diagonal, 6 cross, 7 diagonal cross
  std::uint32_t BackColor;
  std::uint32_t HatchColor;
  std::uint8_t Transparency;  // 1: the hatch's background is left transparent
};
#pragma pack(pop)

static_assert(sizeof(TKxAddOnInfo) == 120);
static_assert(offsetof(TKxAddOnInfo, Name) == 16);
static_assert(offsetof(TKxAddOnInfo, Description) == 48);
static_assert(offsetof(TKxAddOnInfo, Flags) == 112);
static_assert(offsetof(TKxAddOnInfo, Version) == 116);

static_assert(sizeof(TKxMacroAttrs) == 236);
static_assert(offsetof(TKxMacroAttrs, Ident) == 4);
static_assert(offsetof(TKxMacroAttrs, Caption) == 36);
static_assert(offsetof(TKxMacroAttrs, MenuPath) == 100);
static_assert(offsetof(TKxMacroAttrs, Param2) == 164);
static_assert(offsetof(TKxMacroAttrs, GroupA) == 168);
static_assert(offsetof(TKxMacroAttrs, GroupB) == 200);
static_assert(offsetof(TKxMacroAttrs, Image) == 232);

static_assert(sizeof(TKxContextMacroAttrs) == 172);

static_assert(sizeof(TKxContourCommand) == 28);
static_assert(offsetof(TKxContourCommand, Point) == 4);
static_assert(offsetof(TKxContourCommand, CloseConvexity) == 4);
static_assert(offsetof(TKxContourCommand, Convexity) == 20);

static_assert(sizeof(TKxPenRecord) == 22);
static_assert(offsetof(TKxPenRecord, Width) == 1 && offsetof(TKxPenRecord, ForZoomScale) == 9);
static_assert(offsetof(TKxPenRecord, Color) == 17 && offsetof(TKxPenRecord, Mode) == 21);
static_assert(sizeof(TKxBrushRecord) == 10);
static_assert(offsetof(TKxBrushRecord, BackColor) == 1 &&
              offsetof(TKxBrushRecord, HatchColor) == 5);
static_assert(offsetof(TKxBrushRecord, Transparency) == 9);

static_assert(sizeof(TKxMapInfo) == 272 && offsetof(TKxMapInfo, Name) == 16);
static_assert(sizeof(TKxLayerInfo) == 272 && offsetof(TKxLayerInfo, Name) == 16);
static_assert(sizeof(TKxStyleInfo) == 96);
static_assert(offsetof(TKxStyleInfo, Flags) == 64);
static_assert(offsetof(TKxStyleInfo, Value1) == 88);
static_assert(offsetof(TKxStyleInfo, Value2) == 92);

}  // namespace kx
