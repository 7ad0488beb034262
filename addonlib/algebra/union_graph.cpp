#include "addonlib/algebra/union_graph.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <queue>

#include "addonlib/geometry/complex_enum.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge.h"
#include "addonlib/geometry/interior_point.h"
#include "addonlib/geometry/intersect.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/rect.h"

namespace geoalg {

using geo::TDPoint;
using geo::TGBelongEdgePair;
using geo::TGConnectBrief;
using geo::TGConnectFull;

namespace {

[[noreturn]] void Fail(const char* Message) {
  throw core::Exception(Message);
}

// Rows: type for input 0; columns: type for input 1. -1 drops the chain, -2
// cannot happen, 0 and 1 are the priorities of the kept chains.
constexpr int32_t PriorityTables[4][4][4] = {
    {{-2, -2, -1, -1}, {-2, -2, 0, 0}, {-1, 0, 1, -1}, {-1, 0, -1, 1}},  // union
    {{-2, -2, 0, 0}, {-2, -2, -1, -1}, {0, -1, 1, -1}, {0, -1, -1, 1}},  // intersection
    {{-2, -2, 0, 0}, {-2, -2, -1, -1}, {-1, 0, -1, 1}, {-1, 0, 1, -1}},  // difference
    {{-2, -2, 1, 1}, {-2, -2, 0, 0}, {1, 0, -1, -1}, {1, 0, -1, -1}},    // symmetric difference
};

TGConnectBrief ReversedBrief(const TGConnectBrief& B) {
  return geo::ReverseConnectBrief(B);
}

// Byte values 0 and 1 exchanged, for an edge stored the other way round.
TEdgeSide FlipBelong(TEdgeSide B) {
  return B == TEdgeSide::Left ? TEdgeSide::Right : (B == TEdgeSide::Right ? TEdgeSide::Left : B);
}

bool HasSmallBounds(const TContour& C) {
  TDRect R;
  if (!geo::GetBounds(C, R)) return true;
  return std::min(geo::RectWidth(R), geo::RectHeight(R)) < 1e-8;
}

}  // namespace

// Uniform grid over the rectangles of the edges in ContourEdges[1]: the
// crossing search asks it for the edges whose rectangles may meet one edge
// of input 0 instead of scanning every edge of input 1.
class TCrossingIndex {
 public:
  TCrossingIndex(const TDRect& Bounds, int64_t ExpectedCount) : FBounds(Bounds) {
    const double W = std::max(geo::RectWidth(Bounds), 1e-300);
    const double H = std::max(geo::RectHeight(Bounds), 1e-300);
    const double Cells = std::clamp<double>(static_cast<double>(ExpectedCount), 1, 1 << 22);
    FCols = std::clamp(static_cast<int32_t>(std::sqrt(Cells * W / H)), 1, 4096);
    FRows = std::clamp(static_cast<int32_t>(Cells / FCols), 1, 4096);
    FCellW = W / FCols;
    FCellH = H / FRows;
    FCells.resize(static_cast<size_t>(FCols) * FRows);
  }

  int64_t Entries() const { return FEntries; }

  void Insert(int32_t Edge, const TDRect& R) {
    ++FEntries;
    int32_t C1, C2, R1, R2;
    Range(R, C1, C2, R1, R2);
    if (static_cast<int64_t>(C2 - C1 + 1) * (R2 - R1 + 1) > 64) {
      FLarge.push_back(Edge);
      return;
    }
    for (int32_t Row = R1; Row <= R2; ++Row)
      for (int32_t Col = C1; Col <= C2; ++Col) FCells[Row * FCols + Col].push_back(Edge);
  }

  // Every edge whose rectangle may meet R, possibly repeated.
  template <class F>
  void Query(const TDRect& R, F&& Visit) const {
    int32_t C1, C2, R1, R2;
    Range(R, C1, C2, R1, R2);
    for (int32_t Row = R1; Row <= R2; ++Row)
      for (int32_t Col = C1; Col <= C2; ++Col)
        for (int32_t E : FCells[Row * FCols + Col]) Visit(E);
    for (int32_t E : FLarge) Visit(E);
  }

 private:
  int32_t Clamp(double V, int32_t N) const {
    if (!(V > 0)) return 0;
    if (V >= N - 1) return N - 1;
    return static_cast<int32_t>(V);
  }
  // Monotone in the coordinates, so rectangles that touch share a cell.
  void Range(const TDRect& R, int32_t& C1, int32_t& C2, int32_t& R1, int32_t& R2) const {
    C1 = Clamp(std::floor((R.X1 - FBounds.X1) / FCellW), FCols);
    C2 = Clamp(std::floor((R.X2 - FBounds.X1) / FCellW), FCols);
    R1 = Clamp(std::floor((R.Y1 - FBounds.Y1) / FCellH), FRows);
    R2 = Clamp(std::floor((R.Y2 - FBounds.Y1) / FCellH), FRows);
  }

  TDRect FBounds;
  int32_t FCols, FRows;
  double FCellW, FCellH;
  std::vector<std::vector<int32_t>> FCells;
  std::vector<int32_t> FLarge;
  int64_t FEntries = 0;
};

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

TBelongType ConvertFromBelongEdgeToBelongType(TEdgeSide Belong) {
  if (Belong == TEdgeSide::Left) return TBelongType::BoundaryLeft;
  if (Belong == TEdgeSide::Right) return TBelongType::BoundaryRight;
  Fail("ConvertFromBelongEdgeToBelongType");
}

// ---- TGUnionGraph: building ----

TGUnionGraph::TGUnionGraph(TUnionGraphOwner* AOwner) : Owner(AOwner), Edges(Points) {
  for (auto& Seq : FSeq) Seq = std::make_unique<TEdgeSequence>();
}

TGUnionGraph::~TGUnionGraph() = default;

void TGUnionGraph::Init(const TContour& Contour0, const TContour& Contour1,
                        double ASplitTolerance) {
  TDRect R0{0, 0, 0, 0}, R1{0, 0, 0, 0};
  if (!geo::GetBounds(Contour0, R0)) R0 = {0, 0, 0, 0};
  if (!geo::GetBounds(Contour1, R1)) R1 = {0, 0, 0, 0};
  const double Extent = std::min(std::min(geo::RectWidth(R0), geo::RectHeight(R0)),
                                 std::min(geo::RectWidth(R1), geo::RectHeight(R1)));
  if (Extent < 1e-8) Fail("Размер контура по одной из осей меньше чем 1e-8");
  SplitTolerance = ASplitTolerance;
  TDRect Bounds = R0;
  geo::ExtendRect(Bounds, R1);
  FTol = geo::TTolerance::ForInputs(R0, R1, ASplitTolerance);
  const int32_t Capacity = Contour0.PointCount() + Contour1.PointCount();
  Points.Init(Bounds, Capacity, FTol.Work);
  Edges.Init(Bounds, Capacity);
  for (int K = 0; K < 2; ++K) {
    FSeq[K]->Clear();
    FSlotOf[K].clear();
  }
  FByVertices.clear();
  FCrossingBounds = Bounds;
  FCrossings = std::make_unique<TCrossingIndex>(Bounds, Contour1.PointCount());
  AddContour(Contour0, 0);
  AddContour(Contour1, 1);
}

int32_t TGUnionGraph::FindOrAddPoint(const TDPoint& P) {
  const int32_t I = Points.Find(P);
  return I >= 0 ? I : Points.Add(P);
}

void TGUnionGraph::AddContour(const TContour& Contour, int32_t Index) {
  if (Index != 0 && Index != 1) Fail("Incorrect CBIndex");
  Parts[Index].Build(Contour, FTol);
  geo::TContourList PartList;
  geo::SplitIntoParts(Contour, PartList);
  geo::TLongintList Depths;
  PartNesting(PartList, Depths, FTol);
  for (size_t I = 0; I < PartList.size(); ++I) {
    const TContour& Part = *PartList[I];
    // 1: the input's interior lies to the right of the part's edges.
    const TEdgeSide Flag =
        ((Depths.Items(static_cast<int32_t>(I)) % 2) != 0) != (geo::Area(Part) > 0)
            ? TEdgeSide::Right
            : TEdgeSide::Left;
    geo::TGComplexEnumerater Enum(Part);
    TGConnectFull C;
    while (Enum.Next(C))
      AddEdge(C.P1, C.P2, C.Kind == geo::TConnectKind::Arc ? C.Convexity : 0.0, Index, Flag);
  }
  SyncContourEdges();
}

uint64_t TGUnionGraph::PairKey(int32_t A, int32_t B) {
  const uint32_t Lo = static_cast<uint32_t>(std::min(A, B));
  const uint32_t Hi = static_cast<uint32_t>(std::max(A, B));
  return (static_cast<uint64_t>(Hi) << 32) | Lo;
}

int32_t TGUnionGraph::FindEdge(const TGConnectBrief& B, bool& Reversed) const {
  Reversed = false;
  int32_t I = Edges.Find(B);
  if (I < 0) {
    I = Edges.Find(ReversedBrief(B));
    Reversed = I >= 0;
  }
  if (I >= 0) return I;
  // Two edges between the same two vertices that stray from each other by
  // less than the split tolerance are one edge: a nearly straight arc and
  // the line, or two arcs whose convexities differ only by the rounding of
  // their end points and centres (pieces of one circle cut at different
  // places, far from the origin). Kept apart, each would be judged to lie
  // inside the other input, both would be dropped and the outline broken
  // there. The arcs' distance at the middle of the chord is the difference
  // of their sagittas, half the chord times the difference of convexities.
  const auto [First, Last] = FByVertices.equal_range(PairKey(B.V1, B.V2));
  const double HalfChord = geo::Distance(Points.Get(B.V1), Points.Get(B.V2)) / 2;
  double Best = SplitTolerance;
  for (auto It = First; It != Last; ++It) {
    const TGConnectBrief E = Edges.Get(It->second);
    const bool Back = E.V1 != B.V1;
    const double Gap = std::fabs(B.Convexity - (Back ? -E.Convexity : E.Convexity)) * HalfChord;
    if (Gap < Best) {
      Best = Gap;
      I = It->second;
      Reversed = Back;
    }
  }
  return I;
}

int32_t TGUnionGraph::StoreEdge(const TGConnectBrief& B, TGBelongEdgePair Pair) {
  if (B.V1 == B.V2) Fail("PtFrom = PtTo in Command");
  const TDRect R = Edges.Bounds(B);
  const int32_t I = Edges.Add(B, R);
  FByVertices.emplace(PairKey(B.V1, B.V2), I);
  EdgeRects.Add(R);
  BelongEdgePairs.Add(Pair);
  for (int K = 0; K < 2; ++K) FSlotOf[K].push_back(-1);
  return I;
}

void TGUnionGraph::AppendToContour(int32_t Index, int32_t Edge) {
  if (FSlotOf[Index][Edge] >= 0) return;
  FSlotOf[Index][Edge] = FSeq[Index]->Append(Edge);
  if (Index == 1 && FCrossings) FCrossings->Insert(Edge, *EdgeRects.Ptr(Edge));
}

int32_t TGUnionGraph::PositionInContour(int32_t Index, int32_t Edge) const {
  const int32_t Slot = FSlotOf[Index][Edge];
  return Slot < 0 ? -1 : FSeq[Index]->Position(Slot);
}

int32_t TGUnionGraph::ContourEdgeCount(int32_t Index) const {
  return FSeq[Index]->Count();
}

int32_t TGUnionGraph::ContourEdgeAt(int32_t Index, int32_t Pos) const {
  return FSeq[Index]->Edge(FSeq[Index]->SlotAt(Pos));
}

void TGUnionGraph::SyncContourEdges() {
  for (int K = 0; K < 2; ++K) FSeq[K]->WriteTo(ContourEdges[K]);
}

void TGUnionGraph::RemoveFromContour(int32_t Index, int32_t Edge) {
  const int32_t Slot = FSlotOf[Index][Edge];
  if (Slot < 0) Fail("TGUnionGraph.AddConnectBrief: Ребро обходится дважды(коллизия) ");
  FSeq[Index]->Kill(Slot);
  FSlotOf[Index][Edge] = -1;
}

// An edge run twice by one input is cancelled: it no longer bounds that input.
bool TGUnionGraph::CancelTwiceRun(int32_t Index, int32_t Edge, TGBelongEdgePair& Pair) {
  if (Pair.Belong[Index] == TEdgeSide::None) return false;
  if (Owner) Owner->UnionGraphWarning("Ребро обходится дважды");
  Pair.Belong[Index] = TEdgeSide::None;
  BelongEdgePairs.Put(Edge, Pair);
  RemoveFromContour(Index, Edge);
  return true;
}

TGConnectBrief TGUnionGraph::MakeBrief(int32_t V1, int32_t V2, geo::TConnectKind Kind,
                                       double Convexity) {
  const bool Arc = Kind == geo::TConnectKind::Arc;
  TGConnectBrief B{V1, V2, Kind, Arc ? Convexity : 0.0};
  if (Arc && std::fabs(B.Convexity) < geo::ConnectTolerance) B.Convexity = 0;
  return B;
}

void TGUnionGraph::AddEdge(const TDPoint& P1, const TDPoint& P2, double Convexity, int32_t Index,
                           TEdgeSide Flag) {
  const int32_t V1 = FindOrAddPoint(P1);
  const int32_t V2 = FindOrAddPoint(P2);
  if (V1 == V2) return;
  const geo::TConnectKind Kind = std::fabs(Convexity) <= geo::LineConvexityLimit
                                     ? geo::TConnectKind::Line
                                     : geo::TConnectKind::Arc;
  const TGConnectBrief B = MakeBrief(V1, V2, Kind, Convexity);
  bool Reversed;
  int32_t E = FindEdge(B, Reversed);
  if (E >= 0) {
    if (Reversed) Flag = FlipBelong(Flag);
    TGBelongEdgePair Pair = BelongEdgePairs.Items(E);
    if (CancelTwiceRun(Index, E, Pair)) return;
    Pair.Belong[Index] = Flag;
    BelongEdgePairs.Put(E, Pair);
  } else {
    TGBelongEdgePair Pair{{TEdgeSide::None, TEdgeSide::None}};
    Pair.Belong[Index] = Flag;
    E = StoreEdge(B, Pair);
  }
  AppendToContour(Index, E);
}

void TGUnionGraph::AddSplitPart(const TGConnectFull& Part, TGBelongEdgePair Pair, int32_t Index) {
  const int32_t V1 = Points.Find(Part.P1);
  const int32_t V2 = Points.Find(Part.P2);
  if (V1 < 0 || V2 < 0) Fail("MakeGConnectBrief net tochek");
  if (V1 == V2) return;
  const TGConnectBrief B = MakeBrief(V1, V2, Part.Kind, Part.Convexity);
  bool Reversed;
  int32_t E = FindEdge(B, Reversed);
  if (E < 0) {
    E = StoreEdge(B, Pair);
  } else {
    if (Reversed)
      for (TEdgeSide& Side : Pair.Belong) Side = FlipBelong(Side);
    TGBelongEdgePair Stored = BelongEdgePairs.Items(E);
    const int32_t Other = 1 - Index;
    if (Pair.Belong[Other] != TEdgeSide::None && Pair.Belong[Other] != Stored.Belong[Other])
      Fail("AddConnectBrief");
    if (CancelTwiceRun(Index, E, Stored)) return;
    Stored.Belong[Index] = Pair.Belong[Index];
    BelongEdgePairs.Put(E, Stored);
  }
  AppendToContour(Index, E);
}

TGConnectFull TGUnionGraph::FullEdge(int32_t Edge) const {
  const TGConnectBrief B = Edges.Get(Edge);
  return {Points.Get(B.V1), Points.Get(B.V2), B.Kind, B.Convexity};
}

// ---- Cutting at crossings ----

bool TGUnionGraph::SplitEdgeAt(int32_t Index, int32_t Pos, int32_t X) {
  return SplitSlot(Index, FSeq[Index]->SlotAt(Pos), X, SplitTolerance);
}

bool TGUnionGraph::SplitSlot(int32_t Index, int32_t Slot, int32_t X, double Tolerance) {
  const int32_t E = FSeq[Index]->Edge(Slot);
  const TGConnectBrief B = Edges.Get(E);
  if (X == B.V1 || X == B.V2) return false;
  TGConnectFull E1, E2;
  if (!geo::SplitConnectFull(FullEdge(E), Points.Get(X), Tolerance, E1, E2)) return false;
  const TGBelongEdgePair Pair = BelongEdgePairs.Items(E);
  FSeq[Index]->Kill(Slot);
  FSlotOf[Index][E] = -1;
  AddSplitPart(E1, Pair, Index);
  AddSplitPart(E2, Pair, Index);
  return true;
}

void TGUnionGraph::RebuildCrossings() {
  FCrossings = std::make_unique<TCrossingIndex>(FCrossingBounds, ContourEdgeCount(1));
  for (int32_t S = 0; S < FSeq[1]->SlotCount(); ++S) {
    const int32_t E = FSeq[1]->Edge(S);
    if (FSlotOf[1][E] == S) FCrossings->Insert(E, *EdgeRects.Ptr(E));
  }
}

bool TGUnionGraph::CutPair(int32_t Pos0, int32_t Pos1) {
  return CutSlots(FSeq[0]->SlotAt(Pos0), FSeq[1]->SlotAt(Pos1));
}

bool TGUnionGraph::CutSlots(int32_t Slot0, int32_t Slot1) {
  const int32_t E0 = FSeq[0]->Edge(Slot0);
  const int32_t E1 = FSeq[1]->Edge(Slot1);
  if (E0 == E1) return false;
  TDRect R0 = *EdgeRects.Ptr(E0);
  geo::InflateRect(R0, FTol.Work, FTol.Work);
  if (!geo::RectsIntersect(R0, *EdgeRects.Ptr(E1))) return false;
  TDPoint P;
  if (!geo::IntersectConnectFull(FullEdge(E0), FullEdge(E1), P, FTol)) return false;
  // A crossing within the split tolerance of an end of one edge does not cut
  // that edge. Cut at the crossing itself, the other edge would get a vertex
  // a hair away from that end and not joined to it, and the outline would
  // break there; it is cut at the end vertex instead.
  const TGConnectBrief B0 = Edges.Get(E0), B1 = Edges.Get(E1);
  int32_t X = -1;
  for (const int32_t V : {B0.V1, B0.V2, B1.V1, B1.V2})
    if (geo::SamePointTol(P, Points.Get(V), SplitTolerance)) {
      X = V;
      break;
    }
  if (X < 0) X = FindOrAddPoint(P);
  const bool Cut0 = SplitSlot(0, Slot0, X, SplitTolerance);
  const bool Cut1 = SplitSlot(1, Slot1, X, SplitTolerance);
  if (Cut0 || Cut1) return true;
  // Edges that only meet at a common end.
  if ((X == B0.V1 || X == B0.V2) && (X == B1.V1 || X == B1.V2)) return false;
  // Nothing cut: the edges meet within the split tolerance of an end of
  // each, and those ends are two vertices, each refused by the other edge.
  // Left so, the outlines would meet without a common vertex and the chains
  // there would not join. Both are cut at the meeting point itself, a
  // vertex already when it is an end of one of them lying on the other,
  // leaving pieces shorter than the split tolerance.
  const int32_t At = FindOrAddPoint(P);
  const bool Cut0Near = SplitSlot(0, Slot0, At, FTol.Work);
  const bool Cut1Near = SplitSlot(1, Slot1, At, FTol.Work);
  return Cut0Near || Cut1Near;
}

// For each position of input 0, the pairs with input 1's edges are taken in
// input 1's list order, as a scan from its start would meet them. After a
// cut that leaves the edge at this position in place, the pairs already
// examined cannot cut again (their outcome is fixed by the two edges), so
// the scan goes on after the pair just cut, with the pieces that the cut
// appended to input 1, instead of starting over.
void TGUnionGraph::CutCrossings() {
  std::vector<std::pair<int32_t, int32_t>> Candidates;  // (slot, edge) in list order
  for (int32_t I = 0; I < ContourEdgeCount(0); ++I) {
    int32_t Slot0 = FSeq[0]->SlotAt(I);
    int32_t E0 = FSeq[0]->Edge(Slot0);
    TDRect R0{};
    bool Rescan = true;
    size_t Next = 0;
    while (true) {
      if (Rescan) {
        R0 = *EdgeRects.Ptr(E0);
        geo::InflateRect(R0, FTol.Work, FTol.Work);
        Candidates.clear();
        FCrossings->Query(R0, [&](int32_t E) {
          if (FSlotOf[1][E] >= 0) Candidates.push_back({FSlotOf[1][E], E});
        });
        std::sort(Candidates.begin(), Candidates.end());
        Candidates.erase(std::unique(Candidates.begin(), Candidates.end()), Candidates.end());
        Next = 0;
        Rescan = false;
      }
      if (Next == Candidates.size()) break;
      const auto [Slot1, E1] = Candidates[Next++];
      if (FSlotOf[1][E1] != Slot1) continue;
      const int32_t Appended = FSeq[1]->SlotCount();
      if (!CutSlots(Slot0, Slot1)) continue;
      if (I >= ContourEdgeCount(0)) break;
      const int32_t Now = FSeq[0]->SlotAt(I);
      if (Now != Slot0) {
        Slot0 = Now;
        E0 = FSeq[0]->Edge(Now);
        Rescan = true;
        continue;
      }
      // Cut edges stay in the index; once they outnumber the live ones, it
      // is built again over the live edges alone, with cells to match.
      if (FCrossings->Entries() > 4 * std::max<int64_t>(ContourEdgeCount(1), 1024))
        RebuildCrossings();
      for (int32_t S = Appended; S < FSeq[1]->SlotCount(); ++S) {
        const int32_t E = FSeq[1]->Edge(S);
        if (FSlotOf[1][E] == S && geo::RectsIntersect(R0, *EdgeRects.Ptr(E)))
          Candidates.push_back({S, E});
      }
    }
  }
  SyncContourEdges();
}

// ---- Chains ----

void TGUnionGraph::BuildChains() {
  SyncContourEdges();
  std::vector<int32_t> ChainOf(Edges.Count(), -1);
  for (int32_t K = 0; K < 2; ++K) {
    const int32_t Other = 1 - K;
    for (int32_t Pos = 0; Pos < ContourEdges[K].Count(); ++Pos) {
      const int32_t E = ContourEdges[K].Items(Pos);
      const TGBelongEdgePair Pair = BelongEdgePairs.Items(E);
      if (ChainOf[E] >= 0) {
        Longs.Ptr(ChainOf[E])->Flags[K] = ConvertFromBelongEdgeToBelongType(Pair.Belong[K]);
        continue;
      }
      const TGConnectBrief B = Edges.Get(E);
      TGConnectLong L;
      L.V1 = B.V1;
      L.V2 = B.V2;
      L.Flags[K] = ConvertFromBelongEdgeToBelongType(Pair.Belong[K]);
      if (Pair.Belong[Other] != TEdgeSide::None)
        L.Flags[Other] = ConvertFromBelongEdgeToBelongType(Pair.Belong[Other]);
      else
        L.Flags[Other] = Parts[Other].PointInside(geo::InteriorPointOfConnect(FullEdge(E)))
                             ? TBelongType::Inside
                             : TBelongType::Outside;
      L.Init();
      std::unique_ptr<geo::TLongintList> Owned(L.List);
      L.List->Add(E);
      ChainOf[E] = Longs.Add(L);
      Owned.release();
    }
  }
}

void TGUnionGraph::MergeLongInto(TGConnectLong& A, const TGConnectLong& B) {
  if (A.V1 == B.V1)
    A.V1 = B.V2;
  else if (A.V1 == B.V2)
    A.V1 = B.V1;
  else if (A.V2 == B.V1)
    A.V2 = B.V2;
  else if (A.V2 == B.V2)
    A.V2 = B.V1;
  else
    Fail("Stranno");
  for (int32_t I = 0; I < B.List->Count(); ++I) A.List->Add(B.List->Items(I));
}

int32_t TGUnionGraph::LongPriority(const TGConnectLong& L) const {
  return Priority[static_cast<uint8_t>(L.Flags[0])][static_cast<uint8_t>(L.Flags[1])];
}

// Chains being merged: dead ones are dropped from Longs, in store order,
// when the merging is over; each vertex knows the chains that end there.
class TGUnionGraph::TChainMerger {
 public:
  TChainMerger(TGUnionGraph& AGraph, bool APriorityMode)
      : G(AGraph), PriorityMode(APriorityMode), Alive(G.Longs.Count(), 1) {
    const int32_t N = G.Points.Count();
    Ends.resize(N);
    Closed.assign(N, 0);
    for (int32_t C = 0; C < G.Longs.Count(); ++C) Attach(C);
    for (int32_t V = 0; V < N; ++V) Push(V);
  }

  void Run() {
    while (!Heap.empty()) {
      const int32_t V = Heap.top();
      Heap.pop();
      int32_t A, B;
      if (!Pick(V, A, B)) continue;
      TGConnectLong& First = *G.Longs.Ptr(A);
      const TGConnectLong Second = *G.Longs.Ptr(B);
      const int32_t Touched[4] = {First.V1, First.V2, Second.V1, Second.V2};
      Detach(A);
      Detach(B);
      MergeLongInto(First, Second);
      delete Second.List;
      G.Longs.Ptr(B)->List = nullptr;
      Alive[B] = 0;
      Attach(A);
      for (int32_t U : Touched) Push(U);
    }
    Compact();
  }

 private:
  bool IsClosed(const TGConnectLong& L) const { return L.V1 == L.V2; }

  void Attach(int32_t C) {
    const TGConnectLong& L = *G.Longs.Ptr(C);
    if (IsClosed(L)) {
      ++Closed[L.V1];
    } else {
      Ends[L.V1].push_back(C);
      Ends[L.V2].push_back(C);
    }
  }

  void Detach(int32_t C) {
    const TGConnectLong& L = *G.Longs.Ptr(C);
    if (IsClosed(L)) {
      --Closed[L.V1];
      return;
    }
    for (int32_t V : {L.V1, L.V2}) {
      auto& List = Ends[V];
      List.erase(std::find(List.begin(), List.end(), C));
    }
  }

  void Push(int32_t V) {
    int32_t A, B;
    if (Pick(V, A, B)) Heap.push(V);
  }

  // The two chains to merge at V, the absorbing one first; false when V is
  // not a place to merge now.
  bool Pick(int32_t V, int32_t& A, int32_t& B) {
    auto& List = Ends[V];
    if (!PriorityMode) {
      // A simple vertex: exactly two chain ends and no closed chain.
      if (Closed[V] != 0 || List.size() != 2) return false;
      A = std::min(List[0], List[1]);
      B = std::max(List[0], List[1]);
      if (G.AnyTypesMerge) return true;
      const TGConnectLong& LA = *G.Longs.Ptr(A);
      const TGConnectLong& LB = *G.Longs.Ptr(B);
      return LA.Flags[0] == LB.Flags[0] && LA.Flags[1] == LB.Flags[1];
    }
    if (List.size() < 2) return false;
    std::sort(List.begin(), List.end());
    int32_t Lowest = -1, Second = -1;
    for (int32_t C : List) {
      const int32_t P = G.LongPriority(*G.Longs.Ptr(C));
      if (P < 0) Fail("Priority < 0");
      if (Lowest < 0) {
        Lowest = C;
      } else if (P < G.LongPriority(*G.Longs.Ptr(Lowest))) {
        Second = Lowest;
        Lowest = C;
      } else if (Second < 0 || P < G.LongPriority(*G.Longs.Ptr(Second))) {
        Second = C;
      }
    }
    A = Second;
    B = Lowest;
    return true;
  }

  void Compact() {
    geo::TGConnectLongList& Longs = G.Longs;
    int32_t Kept = 0;
    for (int32_t C = 0; C < Longs.Count(); ++C)
      if (Alive[C]) {
        if (Kept != C) *Longs.Ptr(Kept) = *Longs.Ptr(C);
        ++Kept;
      }
    // The records beyond Kept are moved or dead: their lists must not be freed.
    for (int32_t C = Kept; C < Longs.Count(); ++C) Longs.Ptr(C)->List = nullptr;
    while (Longs.Count() > Kept) Longs.Delete(Longs.Count() - 1);
  }

  TGUnionGraph& G;
  bool PriorityMode;
  std::vector<uint8_t> Alive;
  std::vector<std::vector<int32_t>> Ends;  // open chains ending at each vertex
  std::vector<int32_t> Closed;             // closed chains at each vertex
  std::priority_queue<int32_t, std::vector<int32_t>, std::greater<int32_t>> Heap;
};

// Repeatedly merges the first two chains at the lowest-numbered vertex where
// exactly two chain ends meet (and no closed chain), until none is left.
void TGUnionGraph::MergeSimpleVertices() {
  TChainMerger(*this, false).Run();
}

void TGUnionGraph::SetOperation(TUnionOperation Op) {
  const auto Code = static_cast<uint8_t>(Op);
  if (Code > 3) Fail("Bad Operation");
  std::memcpy(Priority, PriorityTables[Code], sizeof Priority);
  AnyTypesMerge = true;
}

void TGUnionGraph::DropByPriority() {
  for (int32_t C = 0; C < Longs.Count(); ++C)
    if (LongPriority(*Longs.Ptr(C)) == -2) Fail("Priority = error");
  // One pass keeps the survivors in store order; dropped chains free their lists.
  int32_t Kept = 0;
  for (int32_t C = 0; C < Longs.Count(); ++C) {
    TGConnectLong* L = Longs.Ptr(C);
    if (LongPriority(*L) == -1) {
      delete L->List;
      L->List = nullptr;
      continue;
    }
    if (Kept != C) {
      *Longs.Ptr(Kept) = *L;
      L->List = nullptr;
    }
    ++Kept;
  }
  while (Longs.Count() > Kept) Longs.Delete(Longs.Count() - 1);
}

// Repeatedly, at the lowest-numbered vertex with two or more open chain
// ends, the chain of second-lowest priority absorbs the one of lowest.
void TGUnionGraph::MergeByPriority() {
  TChainMerger(*this, true).Run();
}

void TGUnionGraph::ArrangeLongs() {
  std::vector<std::pair<int32_t, int32_t>> ByVertex;  // (vertex, position)
  std::vector<uint8_t> Taken;
  std::vector<int32_t> Ordered, At, Detour, DetourAt;
  for (int32_t C = 0; C < Longs.Count(); ++C) {
    geo::TLongintList& List = *Longs.Ptr(C)->List;
    const int32_t N = List.Count();
    ByVertex.clear();
    for (int32_t I = 0; I < N; ++I) {
      const TGConnectBrief B = Edges.Get(List.Items(I));
      ByVertex.push_back({B.V1, I});
      ByVertex.push_back({B.V2, I});
    }
    std::sort(ByVertex.begin(), ByVertex.end());
    Taken.assign(N, 0);
    int32_t Left = N;
    // Walks from Start taking, at each vertex, the first remaining edge in
    // list order, until no edge is left there; Path gets the edges and Seen
    // the vertex each one leaves from.
    auto Walk = [&](int32_t Start, std::vector<int32_t>& Path, std::vector<int32_t>& Seen) {
      int32_t Current = Start;
      while (true) {
        auto It = std::lower_bound(ByVertex.begin(), ByVertex.end(), std::make_pair(Current, 0));
        while (It != ByVertex.end() && It->first == Current && Taken[It->second]) ++It;
        if (It == ByVertex.end() || It->first != Current) return Current;
        const int32_t Pos = It->second;
        Taken[Pos] = 1;
        --Left;
        const TGConnectBrief B = Edges.Get(List.Items(Pos));
        Path.push_back(List.Items(Pos));
        Seen.push_back(Current);
        Current = B.V1 == Current ? B.V2 : B.V1;
      }
    };
    Ordered.clear();
    At.clear();
    Walk(Longs.Ptr(C)->V1, Ordered, At);
    // A chain that passes through one vertex twice (a figure eight, as a
    // symmetric difference of cells touching at a corner gives) can bring
    // the walk back to its start with edges left over. Each such loop of
    // leftovers starts at a vertex already walked and is spliced in there.
    while (Left > 0) {
      size_t K = 0;
      int32_t From = -1;
      for (; K < At.size() && From < 0; ++K) {
        auto It = std::lower_bound(ByVertex.begin(), ByVertex.end(), std::make_pair(At[K], 0));
        for (; It != ByVertex.end() && It->first == At[K]; ++It)
          if (!Taken[It->second]) {
            From = At[K];
            break;
          }
      }
      if (From < 0) Fail("Error ArrangeConnectLong");
      --K;
      Detour.clear();
      DetourAt.clear();
      if (Walk(From, Detour, DetourAt) != From) Fail("Error ArrangeConnectLong");
      Ordered.insert(Ordered.begin() + static_cast<std::ptrdiff_t>(K), Detour.begin(),
                     Detour.end());
      At.insert(At.begin() + static_cast<std::ptrdiff_t>(K), DetourAt.begin(), DetourAt.end());
    }
    List.BeginUpdate();
    List.Clear();
    for (int32_t E : Ordered) List.Add(E);
    List.EndUpdate();
  }
}

void TGUnionGraph::BuildLongs() {
  CutCrossings();
  BuildChains();
  MergeSimpleVertices();
}

void TGUnionGraph::DoOperation(TUnionOperation Op) {
  SetOperation(Op);
  DropByPriority();
  MergeSimpleVertices();
  MergeByPriority();
  ArrangeLongs();
}

void TGUnionGraph::Extract(TContour& Result) const {
  for (int32_t C = 0; C < Longs.Count(); ++C) {
    const TGConnectLong& L = *Longs.Ptr(C);
    if (L.V1 != L.V2 && geo::Distance(Points.Get(L.V1), Points.Get(L.V2)) >= SplitTolerance)
      continue;
    int32_t Current = L.V1;
    Result.AddMoveTo(Points.Get(Current));
    const int32_t N = L.List->Count();
    for (int32_t I = 0; I < N; ++I) {
      const TGConnectBrief B = Edges.Get(L.List->Items(I));
      double Convexity = B.Convexity;
      int32_t Far;
      if (B.V1 == Current) {
        Far = B.V2;
      } else if (B.V2 == Current) {
        Far = B.V1;
        Convexity = -Convexity;
      } else {
        Fail("Bad Connect long");
      }
      const bool Last = I == N - 1;
      if (B.Kind == geo::TConnectKind::Arc) {
        if (Last)
          Result.AddCloseArc(Convexity);
        else
          Result.AddArcTo(Points.Get(Far), Convexity);
      } else if (Last) {
        Result.AddClose();
      } else {
        Result.AddLineTo(Points.Get(Far));
      }
      Current = Far;
    }
  }
}

// ---- TGUnionGraphBig ----

TGUnionGraphBig::TGUnionGraphBig(TUnionGraphOwner* AOwner) : Owner(AOwner) {}

void TGUnionGraphBig::Add(const TContour& Contour) {
  if (SkipSmall && HasSmallBounds(Contour)) return;
  if (IsEmpty) {
    Result.Assign(&Contour);
    IsEmpty = false;
    return;
  }
  TContour Combined;
  CombineContours(Result, Contour, Operation, SplitTolerance, Combined, Owner);
  if (SkipSmall && HasSmallBounds(Combined)) return;
  Result = std::move(Combined);
}

void TGUnionGraphBig::Clear() {
  Result.Clear();
  IsEmpty = true;
}

void CombineContours(const TContour& Contour0, const TContour& Contour1, TUnionOperation Op,
                     double SplitTolerance, TContour& Result, TUnionGraphOwner* Owner) {
  TGUnionGraph Graph(Owner);
  Graph.Init(Contour0, Contour1, SplitTolerance);
  Graph.BuildLongs();
  Graph.DoOperation(Op);
  TContour Out;
  Graph.Extract(Out);
  Result = std::move(Out);
}

}  // namespace geoalg
