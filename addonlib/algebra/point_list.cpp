#include "addonlib/algebra/point_list.h"

#include <cmath>

#include "core/exception.h"

namespace geoalg {

namespace {
constexpr int32_t StoreMaxItems = 10;
}

TDPointList::TDPointList()
    : FTolerance(geo::ConnectTolerance), FTree(StoreMaxItems, TDRect{0, 0, 0, 0}) {}

void TDPointList::Init(const TDRect& Bounds, int32_t Capacity, double ATolerance) {
  FItems.assign(static_cast<size_t>(Capacity > 0 ? Capacity : 0), TDPoint{0, 0});
  FTree.Reset(Bounds);
  FTolerance = ATolerance;
  FCount = 0;
}

TDRect TDPointList::Widened(const TDPoint& P) const {
  return {P.X - FTolerance, P.Y - FTolerance, P.X + FTolerance, P.Y + FTolerance};
}

int32_t TDPointList::Add(const TDPoint& P) {
  if (FCount == static_cast<int32_t>(FItems.size()))
    FItems.resize(FItems.empty() ? 1 : FItems.size() * 2);
  FItems[FCount] = P;
  FTree.Insert(FCount, Widened(P));
  return FCount++;
}

int32_t TDPointList::Find(const TDPoint& P) const {
  const TQuadroSector* S = FTree.FindSector(Widened(P));
  int32_t Best = -1;
  long double BestDist = 0;
  for (const TSpatialIndexItem* Item : S->Items) {
    const TDPoint& Q = FItems[Item->Index];
    if (geo::SamePoint(Q, P)) return Item->Index;
    const long double DX = std::fabs(static_cast<long double>(Q.X) - P.X);
    const long double DY = std::fabs(static_cast<long double>(Q.Y) - P.Y);
    if (DX <= FTolerance && DY <= FTolerance) {
      const long double D = DX * DX + DY * DY;
      if (Best < 0 || D < BestDist) {
        Best = Item->Index;
        BestDist = D;
      }
    }
  }
  return Best;
}

TDPoint TDPointList::Get(int32_t I) const {
  TRACE_ASSERT(I >= 0 && I < FCount);
  return FItems[I];
}

}  // namespace geoalg
