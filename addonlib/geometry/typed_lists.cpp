#include "addonlib/geometry/typed_lists.h"

#include <algorithm>
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
  if (X.V1 != Y.V1 || X.V2 != Y.V2 || X.Flags[0] != Y.Flags[0] || X.Flags[1] != Y.Flags[1])
    return 1;
  const TLongintList &EX = X.List(), &EY = Y.List();
  return EX.Count() == EY.Count() && std::equal(EX.List(), EX.List() + EX.Count(), EY.List()) ? 0
                                                                                              : 1;
}

TMGullyElem MakeGullyElem(const TDPoint& Point, int32_t Index1, int32_t Index2) {
  return {Point, Index1, Index2};
}

TGConnectLong::TGConnectLong() : FList(std::make_unique<TLongintList>()) {}

TGConnectLong::~TGConnectLong() = default;

TGConnectLong::TGConnectLong(const TGConnectLong& Other)
    : V1(Other.V1),
      V2(Other.V2),
      Flags{Other.Flags[0], Other.Flags[1]},
      FList(std::make_unique<TLongintList>()) {
  FList->Assign(*Other.FList);
}

TGConnectLong& TGConnectLong::operator=(const TGConnectLong& Other) {
  if (this == &Other) return *this;
  auto Copy = std::make_unique<TLongintList>();
  Copy->Assign(*Other.FList);
  V1 = Other.V1;
  V2 = Other.V2;
  Flags[0] = Other.Flags[0];
  Flags[1] = Other.Flags[1];
  FList = std::move(Copy);
  return *this;
}

TGConnectLong::TGConnectLong(TGConnectLong&& Other) noexcept = default;
TGConnectLong& TGConnectLong::operator=(TGConnectLong&& Other) noexcept = default;

void TGConnectLong::Init() {
  FList = std::make_unique<TLongintList>();
}

int32_t TGConnectLongList::Add(TGConnectLong Item) {
  Changing();
  FItems.push_back(std::move(Item));
  FCount = static_cast<int32_t>(FItems.size());
  Changed();
  return FCount - 1;
}

void TGConnectLongList::Put(int32_t Index, TGConnectLong Item) {
  CheckIndex(Index, FCount);
  Changing();
  FItems[Index] = std::move(Item);
  Changed();
}

void TGConnectLongList::Delete(int32_t Index) {
  CheckIndex(Index, FCount);
  Changing();
  FItems.erase(FItems.begin() + Index);
  FCount = static_cast<int32_t>(FItems.size());
  Changed();
}

void TGConnectLongList::Clear() {
  Changing();
  FItems.clear();
  FCount = 0;
  Changed();
}

int32_t TGConnectLongList::IndexOf(const TGConnectLong& Item) const {
  for (int32_t I = 0; I < FCount; ++I)
    if (ConnectLongsDiffer(&FItems[I], &Item) == 0) return I;
  return -1;
}

TGConnectLong* TGConnectLongList::Ptr(int32_t Index) {
  CheckIndex(Index, FCount);
  return &FItems[Index];
}

const TGConnectLong* TGConnectLongList::Ptr(int32_t Index) const {
  CheckIndex(Index, FCount);
  return &FItems[Index];
}

void TGConnectLongList::AssignTo(TListBase& Dest) const {
  auto* Target = dynamic_cast<TGConnectLongList*>(&Dest);
  if (!Target) {
    TListBase::AssignTo(Dest);
    return;
  }
  if (Target == this) return;
  std::vector<TGConnectLong> Copy(FItems);
  Target->Changing();
  Target->FItems = std::move(Copy);
  Target->FCount = FCount;
  Target->Changed();
}

void TGConnectLongList::QuickSort(int32_t, int32_t) {
  throw EArray("TGConnectLongList: chains have no order");
}

}  // namespace geo
