#include "trace/engine/buffer_zone.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/coord_sys.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/rect.h"
#include "trace/engine/zone_path.h"

namespace trace {

namespace {

bool HasUsableBounds(const TContour& C, geo::TDRect& R) {
  return geo::GetBounds(C, R) && std::min(geo::RectWidth(R), geo::RectHeight(R)) > 1E-8;
}

}  // namespace

TZoneCancelPoll::TZoneCancelPoll(const TZoneCancel& Cancel, double Interval)
    : FCancel(Cancel), FInterval(Interval), FLast(Now()) {}

double TZoneCancelPoll::Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void TZoneCancelPoll::operator()() {
  if (!FCancel) return;
  const double T = Now();
  if (T - FLast < FInterval) return;
  FLast = T;
  if (FCancel()) throw EZoneCancelled("Построение буферной зоны прервано");
}

TTBufferZoneEnum::TTBufferZoneEnum(const TContour& ASource, double AWidth,
                                   const TZoneCancel& ACancel)
    : Source(ASource), Width(AWidth), FPoll(ACancel) {
  Union.SkipSmall = true;
  // 0.1 mm, but at most a thousandth of the width: for zones a few
  // centimetres wide a fixed 0.1 mm lets slivers fall between the pieces.
  Union.SplitTolerance = std::min(1E-4, AWidth * 1E-3);
  Union.Operation = geoalg::TUnionOperation::Union;
}

double GetConnectDirectionAngle(const geo::TDSegment& Segment, bool Forward) {
  const geo::TDSegment S = Forward ? Segment : geo::ReverseSegment(Segment);
  if (geo::IsLine(S)) return geo::AngleOf(S.P1, S.P2);
  double Sweep;
  TDPoint Center;
  if (!geo::GetCenter2(S.P1, S.P2, Sweep, S.Convexity, Center))
    throw core::Exception("GetConnectDirectionAngle: GetCenter2 failed");
  const double A = geo::AngleOf(Center, S.P1);
  return A > 0 ? A + std::numbers::pi / 2 : A - std::numbers::pi / 2;
}

std::unique_ptr<TContour> TTBufferZoneEnum::MakeVertexDisc(const TDPoint& Center,
                                                           double Angle) const {
  geo::TCoordSys F;
  F.InitAngle(Center, Angle);
  const double H = Width / std::sqrt(2.0);
  const TDPoint Start = F.ToWorld({H, H});
  const TDPoint Front = F.ToWorld({Width, 0});
  const TDPoint Turn = F.ToWorld({H, -H});
  const TDPoint Back = F.ToWorld({-Width, 0});
  auto Disc = std::make_unique<TContour>();
  Disc->AddMoveTo(Start);
  double C;
  if (geo::ConvexityBy3Points(Start, Front, Turn, C))
    Disc->AddArcTo(Turn, C);
  else
    Disc->AddLineTo(Turn);
  if (geo::ConvexityBy3Points(Turn, Back, Start, C))
    Disc->AddCloseArc(C);
  else
    Disc->AddClose();
  return Disc;
}

std::unique_ptr<TContour> TTBufferZoneEnum::MakeSegmentPiece(const geo::TEdge& S) const {
  auto Piece = std::make_unique<TContour>();
  const double W = Width;
  if (geo::IsLine(S)) {
    geo::TCoordSys F;
    F.InitPoints(S.P1, S.P2);
    const double L = F.ToLocal(S.P2).X;
    Piece->AddMoveTo(F.ToWorld({0, W}));
    Piece->AddLineTo(F.ToWorld({0, -W}));
    Piece->AddLineTo(F.ToWorld({L, -W}));
    Piece->AddLineTo(F.ToWorld({L, W}));
    Piece->AddClose();
    return Piece;
  }
  const TDPoint C = S.Center;
  const double R = geo::Distance(C, S.P1);
  geo::TCoordSys F1, F2;
  F1.InitPoints(C, S.P1);
  F2.InitPoints(C, S.P2);
  const TDPoint Outer1 = F1.ToWorld({R + W, 0});
  const TDPoint Outer2 = F2.ToWorld({R + W, 0});
  if (std::fabs(R - W) < geo::ConnectTolerance) {
    Piece->AddMoveTo(C);
    Piece->AddLineTo(Outer1);
    Piece->AddArcTo(Outer2, S.Convexity);
    Piece->AddClose();
  } else if (R < W) {
    Piece->AddMoveTo(S.P1);
    Piece->AddLineTo(Outer1);
    Piece->AddArcTo(Outer2, S.Convexity);
    Piece->AddLineTo(S.P2);
    Piece->AddClose();
  } else {
    // Concentric arcs share the convexity: it depends on the sweep alone.
    Piece->AddMoveTo(F1.ToWorld({R - W, 0}));
    Piece->AddLineTo(Outer1);
    Piece->AddArcTo(Outer2, S.Convexity);
    Piece->AddLineTo(F2.ToWorld({R - W, 0}));
    Piece->AddCloseArc(-S.Convexity);
  }
  return Piece;
}

void TTBufferZoneEnum::Keep(std::unique_ptr<TContour> Piece) {
  FSlot[Piece.get()] = FPieces.size();
  FPieces.push_back(std::move(Piece));
}

void TTBufferZoneEnum::Execute() {
  geo::TContourEdgeIter It;
  for (bool More = It.Start(Source); More; More = It.Next()) {
    FPoll();
    const geo::TEdge& S = It.Edge;
    const double Angle = GetConnectDirectionAngle(S);
    if (It.IsFirstOfPart()) Keep(MakeVertexDisc(S.P1, Angle));
    if (!(It.IsLastOfPart() && It.IsClosedPart())) Keep(MakeVertexDisc(S.P2, Angle));
    std::unique_ptr<TContour> Piece = MakeSegmentPiece(S);
    geo::TDRect R;
    if (HasUsableBounds(*Piece, R)) Keep(std::move(Piece));
  }
  geo::TDRect Bounds;
  if (!geo::GetBounds(Source, Bounds)) return;
  geo::InflateRect(Bounds, Width, Width);
  geoalg::TQuadroTree Tree(1, Bounds);
  for (const auto& Piece : FPieces) {
    FPoll();
    geo::TDRect R;
    if (Piece && geo::GetBounds(*Piece, R)) Tree.Insert(Piece.get(), R);
  }
  UniteSectors(Tree.Root(), nullptr, Tree);
  AddClosedParts();
  FPieces.clear();
  FSlot.clear();
}

void TTBufferZoneEnum::UniteSectors(geoalg::TQuadroSector& Sector, geoalg::TQuadroSector* Parent,
                                    geoalg::TQuadroTree& Tree) {
  if (Sector.HasChildren())
    for (geoalg::TQuadroSector* Child : Sector.Children) UniteSectors(*Child, &Sector, Tree);
  if (Sector.Items.empty()) return;
  FPoll();
  Union.Clear();
  for (geoalg::TSpatialIndexItem* Item : Sector.Items) {
    auto* Piece = static_cast<TContour*>(Item->Object);
    Union.Add(*Piece);
    auto Slot = FSlot.find(Piece);
    FPieces[Slot->second].reset();
    FSlot.erase(Slot);
  }
  auto United = std::make_unique<TContour>();
  United->Assign(&Union.Result);
  geo::TDRect R;
  if (Parent && geo::GetBounds(*United, R)) Tree.Append(*Parent, United.get(), R);
  Keep(std::move(United));
}

void TTBufferZoneEnum::AddClosedParts() {
  geo::TContourList Parts, Closed;
  std::vector<int32_t> Depth;
  std::vector<bool> Holds;
  zone::ClosedNesting(Source, Parts, Closed, Depth, Holds);
  int32_t MaxDepth = 0;
  for (int32_t D : Depth) MaxDepth = std::max(MaxDepth, D);
  if (MaxDepth == 0) {
    for (const auto& Part : Closed) Union.Add(*Part);
    return;
  }
  // The interior as the contour's nesting reads it, level by level: the
  // outer parts, less the holes, with the islands in them, and so on. A
  // hole's inside is no part of the polygon: only its band is in the zone.
  geoalg::TGUnionGraphBigReference Interior;
  Interior.SkipSmall = true;
  Interior.SplitTolerance = Union.SplitTolerance;
  for (int32_t D = 0; D <= MaxDepth; ++D) {
    Interior.Operation =
        D % 2 == 0 ? geoalg::TUnionOperation::Union : geoalg::TUnionOperation::Difference;
    for (size_t I = 0; I < Closed.size(); ++I)
      if (Depth[I] == D) Interior.Add(*Closed[I]);
  }
  if (!Interior.IsEmpty) Union.Add(Interior.Result);
}

void BuildBufferZoneReference(const TContour& Source, TContour& Dest, double Width,
                              const TZoneCancel& Cancel) {
  TRACE_ASSERT(&Source != &Dest);
  TTBufferZoneEnum Enum(Source, Width, Cancel);
  Enum.Execute();
  Dest.Assign(&Enum.Union.Result);
}

}  // namespace trace
