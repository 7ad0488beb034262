// What a click would do, worked out once for the click and for the mouse
// moves before it: where it snaps, and the path along the zone it adds.
#include "addonlib/geometry/intersect.h"
#include "trace/editor/gully_editor.h"

namespace trace {

TClickPlan TGullyEditor::PlanClick(std::int32_t Shift, kx::TKxViewPoint Point) {
  const kx::TKxPoint M = AddOn->MapView.DeviceToMap({Point.X, Point.Y});
  const geo::TDPoint Pc{M.X, M.Y};
  const TNearestPoint Near = FindNearestPoint(Pc);
  TClickPlan Plan;
  Plan.P = Near.IsVertex ? *Graph->Vertices.Ptr(Near.Index) : ElemPoint(Near.Index);
  // Snapped within 8 pixels, measured on the view.
  const kx::TKxDevicePoint D = AddOn->MapView.MapToDevice({Plan.P.X, Plan.P.Y});
  const std::int64_t DX = std::int64_t{D.X} - Point.X;
  const std::int64_t DY = std::int64_t{D.Y} - Point.Y;
  Plan.Snapped = DX * DX + DY * DY <= SnapPixels2;
  if (!Plan.Snapped) Plan.P = Pc;
  if (Elems.Count() == 0) return Plan;
  const geo::TMGullyElem Last = *Elems.Ptr(Elems.Count() - 1);
  if (geo::SamePoint(Plan.P, Last.Point)) {
    Plan.Kind = TClickPlan::TKind::Undo;
    return Plan;
  }
  Plan.Kind = TClickPlan::TKind::Line;
  // Along the zone only from one zone vertex to another.
  if (!Plan.Snapped || !Along || !Near.IsVertex) return Plan;
  const std::int32_t LastIndex = Graph->FindVertex(Last.Point);
  if (LastIndex < 0) return Plan;
  const bool OtherWay = (Shift & kx::kxShiftStateCtrl) != 0;
  Plan.Path = ZonePath(LastIndex, Near.Index, Last.Index2, OtherWay);
  if (Plan.Path) Plan.Kind = TClickPlan::TKind::Path;
  return Plan;
}

std::shared_ptr<const TZonePath> TGullyEditor::ZonePath(std::int32_t LastIndex, std::int32_t Index,
                                                        std::int32_t ArrivalEdge, bool OtherWay) {
  const TPathKey Key{LastIndex,        Index, ArrivalEdge, OtherWay, Graph->Edges.Count(),
                     Graph->ClearCount};
  for (const std::optional<TCachedPath>& C : FPathCache)
    if (C && C->Key == Key) return C->Path;
  std::shared_ptr<const TZonePath> Path = SearchZonePath(LastIndex, Index, ArrivalEdge, OtherWay);
  FPathCache[FPathCacheNext] = TCachedPath{Key, Path};
  FPathCacheNext = (FPathCacheNext + 1) % FPathCache.size();
  return Path;
}

std::shared_ptr<const TZonePath> TGullyEditor::SearchZonePath(std::int32_t LastIndex,
                                                              std::int32_t Index,
                                                              std::int32_t ArrivalEdge,
                                                              bool OtherWay) {
  std::int32_t LastEdge = -1;
  if (!Graph->FindShortestPath(LastIndex, Index, ArrivalEdge, LastEdge)) return nullptr;
  if (OtherWay) {
    // The shortest way that shares no edge with the one just found.
    std::vector<bool> Excluded(static_cast<size_t>(Graph->Edges.Count()), false);
    if (ArrivalEdge >= 0) Excluded[static_cast<size_t>(ArrivalEdge)] = true;
    for (std::int32_t V = LastIndex; V != Index;) {
      const std::int32_t E = Graph->PathEdge[static_cast<size_t>(V)];
      Excluded[static_cast<size_t>(E)] = true;
      const geo::TGConnectBrief* B = Graph->Edges.Ptr(E);
      V = Graph->PathForward[static_cast<size_t>(V)] ? B->V2 : B->V1;
    }
    std::int32_t OtherEdge = -1;
    if (Graph->FindShortestPathAvoiding(LastIndex, Index, Excluded, OtherEdge)) {
      LastEdge = OtherEdge;
    } else {
      // No other way: the failed search left the path arrays half written,
      // so the shortest way is found again.
      Graph->FindShortestPath(LastIndex, Index, ArrivalEdge, LastEdge);
    }
  }
  auto Path = std::make_shared<TZonePath>();
  Path->Index2 = LastEdge;
  Path->Steps = PathSteps(LastIndex, Index);
  const std::int32_t E = Graph->PathEdge[static_cast<size_t>(LastIndex)];
  const geo::TGConnectBrief* B = Graph->Edges.Ptr(E);
  const std::int32_t Next = Graph->PathForward[static_cast<size_t>(LastIndex)] ? B->V2 : B->V1;
  if (Next == Index && Graph->CountEdgesBetween(LastIndex, Index) > 1) Path->Index1 = E;
  return Path;
}

}  // namespace trace
