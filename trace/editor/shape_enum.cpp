#include "trace/editor/shape_enum.h"

#include "trace/engine/zone_batch.h"

#include <cmath>

#include "core/exception.h"
#include "trace/engine/buffer_zone.h"

namespace trace {

TTMObjectEnum::TTMObjectEnum(kx::TKxCustomAddon& AContext, kx::TKxIDsList AIDs)
    : IDs(std::move(AIDs)), Context(AContext) {}

bool TTMObjectEnum::Execute() {
  const std::int32_t Count = IDs.GetCount();
  for (std::int32_t I = 0; I < Count; ++I) {
    ObjectIndex = I;
    ProcessObject(IDs.GetID(I));
    if (OnObjectDone && !OnObjectDone(I + 1, Count)) return false;
  }
  return true;
}

void TTMObjectShapeEnum::ProcessObject(const kx::TKxID& ID) {
  ShapeIndex = 0;
  const kx::TKxShapeList Shapes = Context.MapObjects.GetObjectShapes(ID);
  const std::int32_t N = Shapes.GetCount();
  BeginShapes(N);
  for (std::int32_t I = 0; I < N; ++I) {
    const kx::TKxID StyleID = Shapes.GetShapeStyle(I);
    const TTMShape Shape{Shapes.GetShapeContour(I)};
    ProcessShape(Shape, StyleID);
    ++ShapeIndex;
  }
  EndShapes();
}

std::string Cp1251Upper(std::string_view Text) {
  std::string S(Text);
  for (char& C : S) {
    auto B = static_cast<unsigned char>(C);
    if (B >= 'a' && B <= 'z')
      B -= 32;
    else if (B >= 0xE0)  // а..я
      B -= 32;
    else
      switch (B) {
        case 0xB8:
          B = 0xA8;
          break;  // ё
        case 0xA2:
          B = 0xA1;
          break;  // ў
        case 0xB3:
          B = 0xB2;
          break;  // і
        case 0xB4:
          B = 0xA5;
          break;  // ґ
        case 0xBA:
          B = 0xAA;
          break;  // є
        case 0xBF:
          B = 0xAF;
          break;  // ї
        case 0xBC:
          B = 0xA3;
          break;  // ј
        case 0xBE:
          B = 0xBD;
          break;  // ѕ
        case 0x83:
          B = 0x81;
          break;  // ѓ
        case 0x90:
          B = 0x80;
          break;  // ђ
        case 0x9A:
          B = 0x8A;
          break;  // љ
        case 0x9C:
          B = 0x8C;
          break;  // њ
        case 0x9D:
          B = 0x8D;
          break;  // ќ
        case 0x9E:
          B = 0x8E;
          break;  // ћ
        case 0x9F:
          B = 0x8F;
          break;  // џ
        default:
          break;
      }
    C = static_cast<char>(B);
  }
  return S;
}

std::uint32_t TTMObjectShapeDefineGeometryEnumBase::GetStyleFlags(const kx::TKxID& StyleID) {
  const std::string Key = Cp1251Upper(StyleID.Bytes());
  auto It = FStyleCache.find(Key);
  if (It == FStyleCache.end()) {
    const kx::TKxStyleInfo Info = Context.GISDatabase.GetStyle(StyleID).GetStyleInfo();
    It = FStyleCache.emplace(Key, TCacheStyleHolder{Info.Value1, Info.Value2, Info.Flags}).first;
  }
  StyleValue1 = It->second.StyleValue1;
  StyleValue2 = It->second.StyleValue2;
  return It->second.Flags;
}

void TTMObjectShapeDefineGeometryEnumBase::ProcessShape(const TTMShape& Shape,
                                                        const kx::TKxID& StyleID) {
  if (GetStyleFlags(StyleID) & kx::kxStyleDefinesGeometry) ProcessGeometryShape(Shape, StyleID);
}

void TTMObjectShapeDefineGeometryEnum::ProcessGeometryShape(const TTMShape& Shape,
                                                            const kx::TKxID&) {
  ProcessContour(Shape);
}

TTMContourEnumAdd::TTMContourEnumAdd(kx::TKxCustomAddon& AContext, double AWidth,
                                     TGConnectGraph& AGraph, kx::TKxIDsList AIDs)
    : TTMObjectShapeDefineGeometryEnum(AContext, std::move(AIDs)), Graph(AGraph), Width(AWidth) {}

void TTMContourEnumAdd::ProcessContour(const TTMShape& Shape) {
  geo::TContour C;
  HostContourToContour(Shape.Contour, C);
  if (FStaged) {
    FStaged->push_back(std::make_unique<geo::TContour>(std::move(C)));
    return;
  }
  if (std::fabs(Width) != 0) {
    geo::TContour Z;
    BuildBufferZone(C, Z, std::fabs(Width), Cancel);
    Graph.AddContour(Z);
  } else {
    Graph.AddContour(C);
  }
}

bool TTMContourEnumAdd::ExecuteAll(
    std::function<bool(std::int32_t Done, std::int32_t Count)> Progress) {
  // The shapes are read from the host on its thread, in order, and quickly;
  // the zones are then built on every core, and added in the same order.
  std::vector<std::unique_ptr<geo::TContour>> Sources;
  FStaged = &Sources;
  try {
    Execute();
  } catch (...) {
    FStaged = nullptr;
    throw;
  }
  FStaged = nullptr;
  std::vector<const geo::TContour*> Ptrs;
  Ptrs.reserve(Sources.size());
  for (const auto& S : Sources) Ptrs.push_back(S.get());
  const std::int32_t Count = IDs.GetCount();
  // Objects done, told by the share of shapes done.
  const auto Ask = [&](std::size_t Done) {
    const auto Objects =
        Ptrs.empty() ? Count
                     : static_cast<std::int32_t>(static_cast<double>(Done) * Count / Ptrs.size());
    return (!Progress || Progress(Objects, Count)) && !(Cancel && Cancel());
  };
  std::vector<geo::TContour> Zones;
  if (!BuildBufferZones(Ptrs, std::fabs(Width), Zones, Ask, Threads)) return false;
  for (const geo::TContour& Zone : Zones) Graph.AddContour(Zone);
  return true;
}

bool HostCommandToCommand(const kx::TKxContourCommand& HostCmd, geo::TComplexCommand& Cmd) {
  switch (HostCmd.Kind) {
    case kx::kxNone:
      return false;
    case kx::kxMoveTo:
      Cmd = geo::MakeMoveTo({HostCmd.Point.X, HostCmd.Point.Y});
      return true;
    case kx::kxLineTo:
      Cmd = geo::MakeLineTo({HostCmd.Point.X, HostCmd.Point.Y});
      return true;
    case kx::kxArcTo:
      Cmd = geo::MakeArcTo({HostCmd.Point.X, HostCmd.Point.Y}, HostCmd.Convexity);
      return true;
    case kx::kxClose:
      Cmd = geo::MakeClose();
      return true;
    case kx::kxCloseArc:
      Cmd = geo::MakeCloseArc(HostCmd.CloseConvexity);
      return true;
    default:
      throw core::Exception("Неизвестная команда контура: вид " + std::to_string(HostCmd.Kind));
  }
}

kx::TKxContourCommand CommandToHostCommand(const geo::TComplexCommand& Cmd) {
  kx::TKxContourCommand H{};
  switch (Cmd.Kind) {
    case geo::ccMoveTo:
      H.Kind = kx::kxMoveTo;
      H.Point = {Cmd.Point.X, Cmd.Point.Y};
      break;
    case geo::ccLineTo:
      H.Kind = kx::kxLineTo;
      H.Point = {Cmd.Point.X, Cmd.Point.Y};
      break;
    case geo::ccArcTo:
      H.Kind = kx::kxArcTo;
      H.Point = {Cmd.Point.X, Cmd.Point.Y};
      H.Convexity = Cmd.Convexity;
      break;
    case geo::ccClose:
      H.Kind = kx::kxClose;
      break;
    case geo::ccCloseArc:
      H.Kind = kx::kxCloseArc;
      H.CloseConvexity = Cmd.Convexity;
      break;
  }
  return H;
}

void HostContourToContour(const kx::TKxContour& HostContour, geo::TContour& Contour) {
  kx::TKxContourCommand HostCmd{};
  for (bool More = HostContour.GetFirstCommand(HostCmd); More;
       More = HostContour.GetNextCommand(HostCmd)) {
    geo::TComplexCommand Cmd;
    if (HostCommandToCommand(HostCmd, Cmd)) Contour.AddCommand(Cmd);
  }
}

}  // namespace trace
