#include "addonlib/algebra/connect_brief_list.h"

#include "addonlib/geometry/intersect.h"
#include "core/exception.h"

namespace geoalg {

namespace {
constexpr int32_t StoreMaxItems = 10;
}

TConnectBriefList::TConnectBriefList(const TDPointList& APointList)
    : FPointList(APointList), FTree(StoreMaxItems, TDRect{0, 0, 0, 0}) {}

void TConnectBriefList::Init(const TDRect& Bounds, int32_t Capacity) {
  FItems.assign(static_cast<size_t>(Capacity > 0 ? Capacity : 0), TGConnectBrief{});
  FCount = 0;
  FTree.Reset(Bounds);
}

TDRect TConnectBriefList::Bounds(const TGConnectBrief& B) const {
  geo::TGConnectFull C{};
  C.P1 = FPointList.Get(B.V1);
  C.P2 = FPointList.Get(B.V2);
  C.Kind = B.Kind;
  C.Convexity = B.Convexity;
  return geo::GetBoundsConnectFull(C);
}

int32_t TConnectBriefList::Add(const TGConnectBrief& B, const TDRect& R) {
  if (FCount == static_cast<int32_t>(FItems.size()))
    FItems.resize(FItems.empty() ? 1 : FItems.size() * 2);
  FItems[FCount] = B;
  FTree.Insert(FCount, R);
  return FCount++;
}

int32_t TConnectBriefList::Find(const TGConnectBrief& B) const {
  const TQuadroSector* S = FTree.FindSector(Bounds(B));
  for (const TSpatialIndexItem* Item : S->Items)
    if (geo::ConnectBriefsDiffer(&B, &FItems[Item->Index]) == 0) return Item->Index;
  return -1;
}

TGConnectBrief TConnectBriefList::Get(int32_t I) const {
  TRACE_ASSERT(I >= 0 && I < FCount);
  return FItems[I];
}

}  // namespace geoalg
