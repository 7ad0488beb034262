#include "addonlib/geometry/typed_lists.h"

#include <cmath>
#include <memory>

namespace geo {

namespace {

template <class T>
const T& Rec(const void* P) {
  return *static_cast<const T*>(P);
}

int32_t ConnectBriefsDifferWith(const void* A, const void* B, bool Strict) {
  const auto& X = Rec<TGConnectBrief>(A);
  const auto& Y = Rec<TGConnectBrief>(B);
  if (X.V1 != Y.V1 || X.V2 != Y.V2 || X.Kind != Y.Kind) return 1;
  if (X.Kind == TConnectKind::Line) return 0;
  if (X.Kind != TConnectKind::Arc) return 1;
  if (X.Convexity == Y.Convexity) return 0;
  if (Strict) return 1;
  return std::fabs(static_cast<long double>(X.Convexity) - Y.Convexity) < ConnectTolerance ? 0 : 1;
}

}  // namespace

int32_t PointsDiffer(const void* A, const void* B) {
  return SamePoint(Rec<TDPoint>(A), Rec<TDPoint>(B)) ? 0 : 1;
}

int32_t GullyElemsDiffer(const void* A, const void* B) {
  const auto& X = Rec<TMGullyElem>(A);
  const auto& Y = Rec<TMGullyElem>(B);
  return SamePoint(X.Point, Y.Point) && X.Index1 == Y.Index1 ? 0 : 1;
}

int32_t ConnectBriefsDiffer(const void* A, const void* B) {
  return ConnectBriefsDifferWith(A, B, false);
}

int32_t ConnectBriefsDifferStrict(const void* A, const void* B) {
  return ConnectBriefsDifferWith(A, B, true);
}

int32_t BelongEdgePairsDiffer(const void* A, const void* B) {
  const auto& X = Rec<TGBelongEdgePair>(A);
  const auto& Y = Rec<TGBelongEdgePair>(B);
  return X.Belong[0] == Y.Belong[0] && X.Belong[1] == Y.Belong[1] ? 0 : 1;
}

int32_t ConnectLongsDiffer(const void* A, const void* B) {
  const auto& X = Rec<TGConnectLong>(A);
  const auto& Y = Rec<TGConnectLong>(B);
  return X.V1 == Y.V1 && X.V2 == Y.V2 && X.Flags[0] == Y.Flags[0] && X.Flags[1] == Y.Flags[1] &&
                 X.List == Y.List
             ? 0
             : 1;
}

TMGullyElem MakeGullyElem(const TDPoint& Point, int32_t Index1, int32_t Index2) {
  return {Point, Index1, Index2};
}

void TGConnectLong::Init() {
  List = std::make_unique<TLongintList>().release();
}

TGConnectLongList::~TGConnectLongList() {
  FreeLists();
}

void TGConnectLongList::FreeLists() {
  for (int32_t I = 0; I < FCount; ++I) {
    TGConnectLong* L = Ptr(I);
    delete L->List;
    L->List = nullptr;
  }
}

void TGConnectLongList::Put(int32_t Index, const TGConnectLong& Item) {
  TLongintList* Old = Ptr(Index)->List;
  TTypedRecList::Put(Index, Item);
  if (Old != Item.List) delete Old;
}

void TGConnectLongList::Delete(int32_t Index) {
  std::unique_ptr<TLongintList> Owned(Ptr(Index)->List);
  TTypedRecList::Delete(Index);
}

void TGConnectLongList::Clear() {
  FreeLists();
  TTypedRecList::Clear();
}

}  // namespace geo
