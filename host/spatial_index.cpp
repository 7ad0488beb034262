#include "host/spatial_index.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr std::int32_t SectorItems = 16;

bool Meets(const geo::TDRect& A, const geo::TDRect& B) {
  return A.X1 <= B.X2 && B.X1 <= A.X2 && A.Y1 <= B.Y2 && B.Y1 <= A.Y2;
}

}  // namespace

THostSpatialIndex::THostSpatialIndex() = default;
THostSpatialIndex::~THostSpatialIndex() = default;

void THostSpatialIndex::Clear() {
  FTree.reset();
  FRects.clear();
  FSlotEntry.clear();
  FEntrySlot.clear();
  FLiveCount = 0;
  FDeadCount = 0;
}

bool THostSpatialIndex::Contains(const geo::TDRect& R) const {
  return FTree && R.X1 >= FRoot.X1 && R.X2 <= FRoot.X2 && R.Y1 >= FRoot.Y1 && R.Y2 <= FRoot.Y2;
}

void THostSpatialIndex::Rebuild(const geo::TDRect& Root) {
  FRoot = Root;
  FTree = std::make_unique<geoalg::TQuadroTree>(SectorItems, Root);
  FEntrySlot.clear();
  for (std::size_t Slot = 0; Slot < FSlotEntry.size(); ++Slot) {
    if (FSlotEntry[Slot] < 0) continue;
    FSlotEntry[Slot] = static_cast<std::int32_t>(FEntrySlot.size());
    FEntrySlot.push_back(static_cast<std::int32_t>(Slot));
    FTree->Insert(FSlotEntry[Slot], FRects[Slot]);
  }
  FDeadCount = 0;
}

void THostSpatialIndex::Insert(std::int32_t Slot, const geo::TDRect& Rect) {
  const auto S = static_cast<std::size_t>(Slot);
  if (S >= FRects.size()) {
    FRects.resize(S + 1, geo::TDRect{0, 0, 0, 0});
    FSlotEntry.resize(S + 1, -1);
  }
  Remove(Slot);
  FRects[S] = Rect;
  FSlotEntry[S] = static_cast<std::int32_t>(FEntrySlot.size());
  FEntrySlot.push_back(Slot);
  ++FLiveCount;
  if (Contains(Rect)) {
    FTree->Insert(FSlotEntry[S], Rect);
    return;
  }
  // A square root that holds the old root and the new rectangle, doubled
  // towards the rectangle until it does, so that far-flung items cost a few
  // rebuilds only.
  geo::TDRect Root = FRoot;
  if (!FTree) {
    const double Side = 4 * std::max({Rect.X2 - Rect.X1, Rect.Y2 - Rect.Y1, 1.0});
    const double CX = (Rect.X1 + Rect.X2) / 2, CY = (Rect.Y1 + Rect.Y2) / 2;
    Root = {CX - Side / 2, CY - Side / 2, CX + Side / 2, CY + Side / 2};
  }
  while (Rect.X1 < Root.X1 || Rect.X2 > Root.X2 || Rect.Y1 < Root.Y1 || Rect.Y2 > Root.Y2) {
    const double Side = 2 * std::max(Root.X2 - Root.X1, Root.Y2 - Root.Y1);
    if (!std::isfinite(Side)) break;
    const double X1 = Rect.X1 < Root.X1 ? Root.X2 - Side : Root.X1;
    const double Y1 = Rect.Y1 < Root.Y1 ? Root.Y2 - Side : Root.Y1;
    Root = {X1, Y1, X1 + Side, Y1 + Side};
  }
  Rebuild(Root);
}

void THostSpatialIndex::Remove(std::int32_t Slot) {
  const auto S = static_cast<std::size_t>(Slot);
  if (S >= FSlotEntry.size() || FSlotEntry[S] < 0) return;
  FSlotEntry[S] = -1;
  --FLiveCount;
  ++FDeadCount;
  if (FDeadCount > 64 && FDeadCount > FLiveCount) Rebuild(FRoot);
}

void THostSpatialIndex::Query(const geo::TDRect& Rect, std::vector<std::int32_t>& Out) const {
  if (!FTree) return;
  std::vector<const geoalg::TQuadroSector*> Stack{&FTree->Root()};
  while (!Stack.empty()) {
    const geoalg::TQuadroSector* S = Stack.back();
    Stack.pop_back();
    for (const geoalg::TSpatialIndexItem* Item : S->Items) {
      const std::int32_t Slot = FEntrySlot[static_cast<std::size_t>(Item->Index)];
      if (FSlotEntry[static_cast<std::size_t>(Slot)] == Item->Index && Meets(Item->Rect, Rect))
        Out.push_back(Slot);
    }
    if (S->HasChildren())
      for (const geoalg::TQuadroSector* C : S->Children)
        if (Meets(C->Rect, Rect)) Stack.push_back(C);
  }
}

}  // namespace host
