// The union graph's stores: vertices and edges of both inputs, each edge's
// belonging to each input's boundary, and the per-input edge lists.
#include <algorithm>
#include <cmath>

#include "addonlib/algebra/union_graph_internal.h"
#include "addonlib/geometry/complex_enum.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/intersect.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/rect.h"

namespace geoalg {

using geo::TDPoint;
using geo::TGBelongEdgePair;
using geo::TGConnectBrief;
using geo::TGConnectFull;

namespace {

TGConnectBrief ReversedBrief(const TGConnectBrief& B) {
  return geo::ReverseConnectBrief(B);
}

// Byte values 0 and 1 exchanged, for an edge stored the other way round.
TEdgeSide FlipBelong(TEdgeSide B) {
  return B == TEdgeSide::Left ? TEdgeSide::Right : (B == TEdgeSide::Right ? TEdgeSide::Left : B);
}

}  // namespace

void TGUnionGraph::Fail(const char* Message) {
  throw core::Exception(Message);
}

TBelongType ConvertFromBelongEdgeToBelongType(TEdgeSide Belong) {
  if (Belong == TEdgeSide::Left) return TBelongType::BoundaryLeft;
  if (Belong == TEdgeSide::Right) return TBelongType::BoundaryRight;
  throw core::Exception("ConvertFromBelongEdgeToBelongType");
}

// ---- TGUnionGraph: building ----

TGUnionGraph::TGUnionGraph(TUnionGraphOwner* AOwner) : FOwner(AOwner), FEdges(FPoints) {}

TGUnionGraph::~TGUnionGraph() = default;

void TGUnionGraph::Init(const TContour& Contour0, const TContour& Contour1,
                        double ASplitTolerance) {
  TDRect R0{0, 0, 0, 0}, R1{0, 0, 0, 0};
  if (!geo::GetBounds(Contour0, R0)) R0 = {0, 0, 0, 0};
  if (!geo::GetBounds(Contour1, R1)) R1 = {0, 0, 0, 0};
  const double Extent = std::min(std::min(geo::RectWidth(R0), geo::RectHeight(R0)),
                                 std::min(geo::RectWidth(R1), geo::RectHeight(R1)));
  if (Extent < 1e-8) Fail("Размер контура по одной из осей меньше чем 1e-8");
  FSplitTolerance = ASplitTolerance;
  TDRect Bounds = R0;
  geo::ExtendRect(Bounds, R1);
  FTol = geo::TTolerance::ForInputs(R0, R1, ASplitTolerance);
  const int32_t Capacity = Contour0.PointCount() + Contour1.PointCount();
  FPoints.Init(Bounds, Capacity, FTol.Work);
  FEdges.Init(Bounds, Capacity);
  for (int K = 0; K < 2; ++K) {
    FSeq[K].Clear();
    FSlotOf[K].clear();
  }
  FByVertices.clear();
  FCrossingBounds = Bounds;
  FCrossings = std::make_unique<TCrossingIndex>(Bounds, Contour1.PointCount());
  AddContour(Contour0, 0);
  AddContour(Contour1, 1);
}

int32_t TGUnionGraph::FindOrAddPoint(const TDPoint& P) {
  const int32_t I = FPoints.Find(P);
  return I >= 0 ? I : FPoints.Add(P);
}

void TGUnionGraph::AddContour(const TContour& Contour, int32_t Index) {
  if (Index != 0 && Index != 1) Fail("Incorrect CBIndex");
  FParts[Index].Build(Contour, FTol);
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
  int32_t I = FEdges.Find(B);
  if (I < 0) {
    I = FEdges.Find(ReversedBrief(B));
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
  const double HalfChord = geo::Distance(FPoints.Get(B.V1), FPoints.Get(B.V2)) / 2;
  double Best = FSplitTolerance;
  for (auto It = First; It != Last; ++It) {
    const TGConnectBrief E = FEdges.Get(It->second);
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
  const TDRect R = FEdges.Bounds(B);
  const int32_t I = FEdges.Add(B, R);
  FByVertices.emplace(PairKey(B.V1, B.V2), I);
  FEdgeRects.Add(R);
  FBelongEdgePairs.Add(Pair);
  for (int K = 0; K < 2; ++K) FSlotOf[K].push_back(-1);
  return I;
}

void TGUnionGraph::AppendToContour(int32_t Index, int32_t Edge) {
  if (FSlotOf[Index][Edge] >= 0) return;
  FSlotOf[Index][Edge] = FSeq[Index].Append(Edge);
  if (Index == 1 && FCrossings) FCrossings->Insert(Edge, *FEdgeRects.Ptr(Edge));
}

int32_t TGUnionGraph::ContourEdgeCount(int32_t Index) const {
  return FSeq[Index].Count();
}

int32_t TGUnionGraph::ContourEdgeAt(int32_t Index, int32_t Pos) const {
  return FSeq[Index].Edge(FSeq[Index].SlotAt(Pos));
}

void TGUnionGraph::SyncContourEdges() {
  for (int K = 0; K < 2; ++K) FSeq[K].WriteTo(FContourEdges[K]);
}

void TGUnionGraph::RemoveFromContour(int32_t Index, int32_t Edge) {
  const int32_t Slot = FSlotOf[Index][Edge];
  if (Slot < 0) Fail("TGUnionGraph.AddConnectBrief: Ребро обходится дважды(коллизия) ");
  FSeq[Index].Kill(Slot);
  FSlotOf[Index][Edge] = -1;
}

// An edge run twice by one input is cancelled: it no longer bounds that input.
bool TGUnionGraph::CancelTwiceRun(int32_t Index, int32_t Edge, TGBelongEdgePair& Pair) {
  if (Pair.Belong[Index] == TEdgeSide::None) return false;
  if (FOwner) FOwner->UnionGraphWarning("Ребро обходится дважды");
  Pair.Belong[Index] = TEdgeSide::None;
  FBelongEdgePairs.Put(Edge, Pair);
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
    TGBelongEdgePair Pair = FBelongEdgePairs.Items(E);
    if (CancelTwiceRun(Index, E, Pair)) return;
    Pair.Belong[Index] = Flag;
    FBelongEdgePairs.Put(E, Pair);
  } else {
    TGBelongEdgePair Pair{{TEdgeSide::None, TEdgeSide::None}};
    Pair.Belong[Index] = Flag;
    E = StoreEdge(B, Pair);
  }
  AppendToContour(Index, E);
}

void TGUnionGraph::AddSplitPart(const TGConnectFull& Part, TGBelongEdgePair Pair, int32_t Index) {
  const int32_t V1 = FPoints.Find(Part.P1);
  const int32_t V2 = FPoints.Find(Part.P2);
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
    TGBelongEdgePair Stored = FBelongEdgePairs.Items(E);
    const int32_t Other = 1 - Index;
    if (Pair.Belong[Other] != TEdgeSide::None && Pair.Belong[Other] != Stored.Belong[Other])
      Fail("AddConnectBrief");
    if (CancelTwiceRun(Index, E, Stored)) return;
    Stored.Belong[Index] = Pair.Belong[Index];
    FBelongEdgePairs.Put(E, Stored);
  }
  AppendToContour(Index, E);
}

TGConnectFull TGUnionGraph::FullEdge(int32_t Edge) const {
  const TGConnectBrief B = FEdges.Get(Edge);
  return {FPoints.Get(B.V1), FPoints.Get(B.V2), B.Kind, B.Convexity};
}
}  // namespace geoalg
