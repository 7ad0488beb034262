#include "host/model/spatial_index.h"

#include <algorithm>
#include <bit>

namespace host {

void THostSpatialIndex::Clear() {
  *this = THostSpatialIndex();
}

void THostSpatialIndex::Insert(std::int32_t Slot, const geo::TDRect& Rect) {
  const auto S = static_cast<std::size_t>(Slot);
  if (S >= FRects.size()) {
    FRects.resize(S + 1, geo::TDRect{0, 0, 0, 0});
    FWhere.resize(S + 1, Absent);
    FListed.resize(S + 1, false);
  }
  Remove(Slot);
  FRects[S] = Rect;
  FWhere[S] = Pending;
  if (!FListed[S]) {
    FListed[S] = true;
    FPending.push_back(Slot);
  }
  ++FLiveCount;
}

void THostSpatialIndex::Remove(std::int32_t Slot) {
  const auto S = static_cast<std::size_t>(Slot);
  if (S >= FWhere.size() || FWhere[S] == Absent) return;
  if (FWhere[S] == InTree) ++FDeadCount;
  FWhere[S] = Absent;
  --FLiveCount;
}

void THostSpatialIndex::Refresh() const {
  // The rectangles aside are scanned by every lookup: a few hundred at most
  // in a large project, a few dozen in a small one.
  const std::size_t Aside = 32 + static_cast<std::size_t>(FLiveCount) / 1024;
  const std::size_t Dead = 64 + static_cast<std::size_t>(FLiveCount) / 4;
  if (FPending.size() <= Aside && static_cast<std::size_t>(FDeadCount) <= Dead) return;
  std::vector<std::int32_t> Live;
  Live.reserve(static_cast<std::size_t>(FLiveCount));
  for (std::size_t S = 0; S < FWhere.size(); ++S)
    if (FWhere[S] != Absent) {
      FWhere[S] = InTree;
      Live.push_back(static_cast<std::int32_t>(S));
    }
  FTree.Build(Live, [&](std::int32_t Slot) -> const geo::TDRect& {
    return FRects[static_cast<std::size_t>(Slot)];
  });
  for (const std::int32_t Slot : FPending) FListed[static_cast<std::size_t>(Slot)] = false;
  FPending.clear();
  FDeadCount = 0;
}

void THostSpatialIndex::Query(const geo::TDRect& Rect, std::vector<std::int32_t>& Out) const {
  Out.clear();
  Visit(Rect, [&](std::int32_t Slot) { Out.push_back(Slot); });
  // A few slots are sorted; many (a view of the whole map) are put in order
  // through a bit per slot, which costs a pass over the bits and no
  // comparisons.
  const std::size_t Words = (FWhere.size() + 63) / 64;
  if (Out.size() * 8 <= Words) {
    std::sort(Out.begin(), Out.end());
    return;
  }
  FOrderBits.resize(Words, 0);
  for (const std::int32_t Slot : Out) {
    const auto S = static_cast<std::uint32_t>(Slot);
    FOrderBits[S / 64] |= std::uint64_t{1} << (S % 64);
  }
  std::size_t K = 0;
  for (std::size_t W = 0; W < Words; ++W) {
    std::uint64_t Bits = FOrderBits[W];
    if (!Bits) continue;
    FOrderBits[W] = 0;
    for (; Bits; Bits &= Bits - 1)
      Out[K++] =
          static_cast<std::int32_t>(W * 64 + static_cast<std::size_t>(std::countr_zero(Bits)));
  }
}

}  // namespace host
