// A list of edge numbers that removes entries in logarithmic time, for the
// union graph's per-input edge lists while edges are added and cut.
#pragma once

#include <cstdint>
#include <vector>

#include "addonlib/geometry/rec_list.h"
#include "core/exception.h"

namespace geoalg {

// The edges of one input in list order, with removal in logarithmic time:
// removed entries stay as gaps, and a Fenwick tree over the live flags turns
// positions into slots and back. Slots grow in append order.
class TEdgeSequence {
 public:
  void Clear() {
    FEdges.clear();
    FAlive.clear();
    FCapacity = 1;
    FTree.assign(2, 0);
    FLive = 0;
  }
  int32_t Append(int32_t Edge) {
    const int32_t Slot = static_cast<int32_t>(FEdges.size());
    FEdges.push_back(Edge);
    FAlive.push_back(1);
    if (Slot >= FCapacity) Rebuild(FCapacity * 2);
    Add(Slot, 1);
    ++FLive;
    return Slot;
  }
  void Kill(int32_t Slot) {
    FAlive[Slot] = 0;
    Add(Slot, -1);
    --FLive;
  }
  int32_t Count() const { return FLive; }
  int32_t SlotCount() const { return static_cast<int32_t>(FEdges.size()); }
  int32_t Edge(int32_t Slot) const { return FEdges[Slot]; }
  // Live entries before Slot.
  int32_t Position(int32_t Slot) const {
    int32_t Sum = 0;
    for (int32_t I = Slot; I > 0; I -= I & -I) Sum += FTree[I];
    return Sum;
  }
  // The slot of the live entry at Pos.
  int32_t SlotAt(int32_t Pos) const {
    TRACE_ASSERT(Pos >= 0 && Pos < FLive);
    int32_t At = 0, Rest = Pos + 1;
    for (int32_t Step = FCapacity; Step > 0; Step >>= 1)
      if (At + Step <= FCapacity && FTree[At + Step] < Rest) {
        At += Step;
        Rest -= FTree[At];
      }
    return At;
  }
  void WriteTo(geo::TLongintList& List) const {
    List.BeginUpdate();
    List.Clear();
    List.SetCapacity(FLive);
    for (size_t I = 0; I < FEdges.size(); ++I)
      if (FAlive[I]) List.Add(FEdges[I]);
    List.EndUpdate();
  }

 private:
  void Add(int32_t Slot, int32_t Delta) {
    for (int32_t I = Slot + 1; I <= FCapacity; I += I & -I) FTree[I] += Delta;
  }
  void Rebuild(int32_t Capacity) {
    FCapacity = Capacity;
    FTree.assign(static_cast<size_t>(Capacity) + 1, 0);
    // Every slot but the one being appended, which Append adds itself.
    const int32_t Known = static_cast<int32_t>(FAlive.size()) - 1;
    for (int32_t I = 1; I <= Capacity; ++I) {
      if (I - 1 < Known) FTree[I] += FAlive[I - 1];
      const int32_t Up = I + (I & -I);
      if (Up <= Capacity) FTree[Up] += FTree[I];
    }
  }

  std::vector<int32_t> FEdges;
  std::vector<uint8_t> FAlive;
  std::vector<int32_t> FTree{0, 0};
  int32_t FCapacity = 1;
  int32_t FLive = 0;
};

}  // namespace geoalg
