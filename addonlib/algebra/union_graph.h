// Boolean operations on command contours through a planar graph.
//
// Both inputs' edges go into one vertex store and one edge store; edges are
// cut at every crossing; each edge learns where it lies relative to each
// input; chains of edges are built and joined, and the operation's priority
// table decides which chains survive and how they are joined into closed
// outlines. The calling order is Create, Init, BuildLongs, DoOperation,
// Extract; then the graph is freed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/algebra/connect_brief_list.h"
#include "addonlib/algebra/point_list.h"
#include "addonlib/algebra/union_operation.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/typed_lists.h"

namespace geoalg {

using geo::TContour;
using geo::TGConnectLong;

// Receives the graph's warnings; the graph only ever says "Ребро обходится дважды".
class TUnionGraphOwner {
 public:
  virtual void UnionGraphWarning(const std::string& Text) = 0;

 protected:
  ~TUnionGraphOwner() = default;
};

using geo::TBelongType;
using geo::TEdgeSide;

// Left -> BoundaryLeft, Right -> BoundaryRight; anything else raises
// "ConvertFromBelongEdgeToBelongType".
TBelongType ConvertFromBelongEdgeToBelongType(TEdgeSide Belong);

class TGUnionGraph {
 public:
  explicit TGUnionGraph(TUnionGraphOwner* AOwner = nullptr);
  ~TGUnionGraph();
  TGUnionGraph(const TGUnionGraph&) = delete;
  TGUnionGraph& operator=(const TGUnionGraph&) = delete;

  TUnionGraphOwner* Owner;
  double SplitTolerance = 0;
  geo::TGBelongEdgePairList BelongEdgePairs;  // parallel to Edges
  geo::TTDRectList EdgeRects;                 // parallel to Edges
  TDPointList Points;
  TConnectBriefList Edges;
  geo::TGConnectLongList Longs;
  geo::TLongintList ContourEdges[2];
  bool AnyTypesMerge = false;
  int32_t Priority[4][4] = {};
  TComplexPartList Parts[2];

  // Derives the working tolerance from the inputs' extent, sizes the stores
  // and adds both contours.
  void Init(const TContour& Contour0, const TContour& Contour1, double ASplitTolerance);
  // Cuts the edges at their crossings, builds the chains and merges them at
  // simple vertices.
  void BuildLongs();
  // Keeps and joins the chains that the operation's table selects.
  void DoOperation(TUnionOperation Op);
  // Appends one closed part per chain to Result.
  void Extract(TContour& Result) const;

  // The steps, callable one by one (BuildLongs is CutCrossings, BuildChains,
  // MergeSimpleVertices; DoOperation is SetOperation, DropByPriority,
  // MergeSimpleVertices, MergeByPriority, ArrangeLongs).
  void AddContour(const TContour& Contour, int32_t Index);
  void AddEdge(const geo::TDPoint& P1, const geo::TDPoint& P2, double Convexity, int32_t Index,
               TEdgeSide Flag);
  void CutCrossings();
  // Splits the edge at position Pos of ContourEdges[Index] at vertex X;
  // false when nothing was split.
  bool SplitEdgeAt(int32_t Index, int32_t Pos, int32_t X);
  // Examines the pair of positions; true when at least one edge was split.
  bool CutPair(int32_t Pos0, int32_t Pos1);
  void BuildChains();
  // Copies the operation's priority table; "Bad Operation" for a code
  // outside 0..3.
  void SetOperation(TUnionOperation Op);
  void MergeSimpleVertices();
  void DropByPriority();
  void MergeByPriority();
  void ArrangeLongs();
  // Merges chain B into chain A at a common end: A takes B's edges and B's
  // far end. Raises "Stranno" when they have no common end.
  static void MergeLongInto(TGConnectLong& A, const TGConnectLong& B);
  int32_t LongPriority(const TGConnectLong& L) const;
  int32_t FindOrAddPoint(const geo::TDPoint& P);
  // Index of the stored edge V1-V2 (or its reverse, Reversed set), else of
  // the one between the same vertices nearest to it within the split
  // tolerance; -1 if none.
  int32_t FindEdge(const geo::TGConnectBrief& B, bool& Reversed) const;
  // The tolerances that Init derived from the inputs.
  const geo::TTolerance& Tolerance() const { return FTol; }

 private:
  class TChainMerger;
  friend class TChainMerger;

  static geo::TGConnectBrief MakeBrief(int32_t V1, int32_t V2, geo::TConnectKind Kind,
                                       double Convexity);
  static uint64_t PairKey(int32_t A, int32_t B);
  bool SplitSlot(int32_t Index, int32_t Slot, int32_t X, double Tolerance);
  bool CutSlots(int32_t Slot0, int32_t Slot1);
  int32_t StoreEdge(const geo::TGConnectBrief& B, geo::TGBelongEdgePair Pair);
  void AddSplitPart(const geo::TGConnectFull& Part, geo::TGBelongEdgePair Pair, int32_t Index);
  bool CancelTwiceRun(int32_t Index, int32_t Edge, geo::TGBelongEdgePair& Pair);
  void RemoveFromContour(int32_t Index, int32_t Edge);
  // Position of Edge in ContourEdges[Index], -1 when it is not listed.
  int32_t PositionInContour(int32_t Index, int32_t Edge) const;

 public:
  // While edges are added and cut, the lists live in a working form that
  // removes in logarithmic time; ContourEdges is written from it by
  // SyncContourEdges (which CutCrossings and BuildChains call).
  int32_t ContourEdgeCount(int32_t Index) const;
  int32_t ContourEdgeAt(int32_t Index, int32_t Pos) const;
  void SyncContourEdges();

 private:
  void AppendToContour(int32_t Index, int32_t Edge);
  geo::TGConnectFull FullEdge(int32_t Edge) const;

  geo::TTolerance FTol;
  // The working form of ContourEdges[k], and each edge's slot in it (-1 when
  // it is not listed).
  std::unique_ptr<class TEdgeSequence> FSeq[2];
  std::vector<int32_t> FSlotOf[2];
  // Every stored edge by its unordered vertex pair.
  std::unordered_multimap<uint64_t, int32_t> FByVertices;
  // The rectangles of the edges that ever joined ContourEdges[1].
  std::unique_ptr<class TCrossingIndex> FCrossings;
  geo::TDRect FCrossingBounds{};
  void RebuildCrossings();
};

// Folds any number of contours into one running result.
class TGUnionGraphBig {
 public:
  explicit TGUnionGraphBig(TUnionGraphOwner* AOwner = nullptr);

  TUnionGraphOwner* Owner;
  bool SkipSmall = false;
  double SplitTolerance = 0;
  TUnionOperation Operation = TUnionOperation::Union;
  bool IsEmpty = true;
  TContour Result;

  // The first contour becomes the result; each further one is combined with
  // it. The result is replaced only once a combination has finished.
  void Add(const TContour& Contour);
  void Clear();
};

// One call: Result receives Contour0 <Op> Contour1.
void CombineContours(const TContour& Contour0, const TContour& Contour1, TUnionOperation Op,
                     double SplitTolerance, TContour& Result, TUnionGraphOwner* Owner = nullptr);

}  // namespace geoalg
