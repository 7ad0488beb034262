// The union graph's stages, for the one-call entries (union_graph.h) and the
// tests that check each stage. Other callers use union_graph.h.
//
// Both inputs' edges go into one vertex store and one edge store
// (union_graph_edges.cpp); edges are cut at every crossing
// (union_graph_cut.cpp); each edge learns where it lies relative to each
// input, chains of edges are built and merged, and the operation's priority
// table decides which chains survive and how they are joined
// (union_graph_chains.cpp); each chain's edges are put in walking order
// (union_graph_arrange.cpp) and written as one closed part
// (union_graph_extract.cpp). The calling order is Init, BuildLongs,
// DoOperation, Extract; then the graph is freed.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/algebra/connect_brief_list.h"
#include "addonlib/algebra/crossing_index.h"
#include "addonlib/algebra/edge_sequence.h"
#include "addonlib/algebra/point_list.h"
#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/connect_full.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/tolerance.h"
#include "addonlib/geometry/typed_lists.h"

namespace geoalg {

using geo::TBelongType;
using geo::TEdgeSide;
using geo::TGConnectLong;

// Left -> BoundaryLeft, Right -> BoundaryRight; anything else raises
// "ConvertFromBelongEdgeToBelongType".
TBelongType ConvertFromBelongEdgeToBelongType(TEdgeSide Belong);

class TGUnionGraph {
 public:
  explicit TGUnionGraph(TUnionGraphOwner* AOwner = nullptr);
  ~TGUnionGraph();
  TGUnionGraph(const TGUnionGraph&) = delete;
  TGUnionGraph& operator=(const TGUnionGraph&) = delete;

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

  // ---- The steps, callable one by one ----
  // BuildLongs is CutCrossings, BuildChains, MergeSimpleVertices; DoOperation
  // is SetOperation, DropByPriority, MergeSimpleVertices, MergeByPriority,
  // ArrangeLongs.

  // Adds input Index (0 or 1, else "Incorrect CBIndex"); Init calls it.
  void AddContour(const TContour& Contour, int32_t Index);
  void CutCrossings();
  // Examines the pair of positions of ContourEdges(0) and ContourEdges(1);
  // true when at least one edge was split.
  bool CutPair(int32_t Pos0, int32_t Pos1);
  // Splits the edge at position Pos of ContourEdges(Index) at vertex X;
  // false when nothing was split.
  bool SplitEdgeAt(int32_t Index, int32_t Pos, int32_t X);
  void BuildChains();
  // Copies the operation's priority table; "Bad Operation" for a code
  // outside 0..3.
  void SetOperation(TUnionOperation Op);
  // Repeatedly merges the first two chains at the lowest-numbered vertex
  // where exactly two chain ends meet (and no closed chain).
  void MergeSimpleVertices();
  // Deletes the chains of priority -1.
  void DropByPriority();
  // Repeatedly, at the lowest-numbered vertex with two or more open chain
  // ends, the chain of second-lowest priority absorbs the one of lowest.
  void MergeByPriority();
  // Puts each chain's edges in walking order from its V1.
  void ArrangeLongs();

  // While edges are added and cut, the per-input lists live in a working
  // form that removes in logarithmic time; ContourEdges is written from it
  // by SyncContourEdges (which CutCrossings and BuildChains call).
  int32_t ContourEdgeCount(int32_t Index) const;
  int32_t ContourEdgeAt(int32_t Index, int32_t Pos) const;
  void SyncContourEdges();

  // ---- What the steps built, read only ----
  TUnionGraphOwner* Owner() const { return FOwner; }
  double SplitTolerance() const { return FSplitTolerance; }
  // The tolerances that Init derived from the inputs.
  const geo::TTolerance& Tolerance() const { return FTol; }
  const geo::TGBelongEdgePairList& BelongEdgePairs() const { return FBelongEdgePairs; }
  const geo::TTDRectList& EdgeRects() const { return FEdgeRects; }
  const TDPointList& Points() const { return FPoints; }
  const TConnectBriefList& Edges() const { return FEdges; }
  const geo::TGConnectLongList& Longs() const { return FLongs; }
  const geo::TLongintList& ContourEdges(int32_t Index) const { return FContourEdges[Index]; }
  bool AnyTypesMerge() const { return FAnyTypesMerge; }
  // The priority of a chain of these types under the operation set last.
  int32_t Priority(TBelongType Type0, TBelongType Type1) const {
    return FPriority[static_cast<uint8_t>(Type0)][static_cast<uint8_t>(Type1)];
  }
  int32_t LongPriority(const TGConnectLong& L) const { return Priority(L.Flags[0], L.Flags[1]); }
  // Index of the stored edge V1-V2 (or its reverse, Reversed set), else of
  // the one between the same vertices nearest to it within the split
  // tolerance; -1 if none.
  int32_t FindEdge(const geo::TGConnectBrief& B, bool& Reversed) const;

 private:
  class TChainMerger;
  friend class TChainMerger;

  // Raises the general exception with Message.
  [[noreturn]] static void Fail(const char* Message);

  // Building (union_graph_edges.cpp).
  int32_t FindOrAddPoint(const geo::TDPoint& P);
  void AddEdge(const geo::TDPoint& P1, const geo::TDPoint& P2, double Convexity, int32_t Index,
               TEdgeSide Flag);
  static geo::TGConnectBrief MakeBrief(int32_t V1, int32_t V2, geo::TConnectKind Kind,
                                       double Convexity);
  static uint64_t PairKey(int32_t A, int32_t B);
  int32_t StoreEdge(const geo::TGConnectBrief& B, geo::TGBelongEdgePair Pair);
  void AddSplitPart(const geo::TGConnectFull& Part, geo::TGBelongEdgePair Pair, int32_t Index);
  bool CancelTwiceRun(int32_t Index, int32_t Edge, geo::TGBelongEdgePair& Pair);
  void AppendToContour(int32_t Index, int32_t Edge);
  void RemoveFromContour(int32_t Index, int32_t Edge);
  geo::TGConnectFull FullEdge(int32_t Edge) const;

  // Cutting (union_graph_cut.cpp).
  bool SplitSlot(int32_t Index, int32_t Slot, int32_t X, double Tolerance);
  bool CutSlots(int32_t Slot0, int32_t Slot1);
  void RebuildCrossings();

  // Merging (union_graph_chains.cpp): chain B into chain A at a common end;
  // A takes B's edges and B's far end. Raises "Stranno" when they have no
  // common end.
  static void MergeLongInto(TGConnectLong& A, const TGConnectLong& B);

  TUnionGraphOwner* FOwner;
  double FSplitTolerance = 0;
  geo::TGBelongEdgePairList FBelongEdgePairs;  // parallel to FEdges
  geo::TTDRectList FEdgeRects;                 // parallel to FEdges
  TDPointList FPoints;
  TConnectBriefList FEdges;
  geo::TGConnectLongList FLongs;
  geo::TLongintList FContourEdges[2];
  bool FAnyTypesMerge = false;
  int32_t FPriority[4][4] = {};
  TComplexPartList FParts[2];

  geo::TTolerance FTol;
  // The working form of FContourEdges[k], and each edge's slot in it (-1
  // when it is not listed).
  TEdgeSequence FSeq[2];
  std::vector<int32_t> FSlotOf[2];
  // Every stored edge by its unordered vertex pair.
  std::unordered_multimap<uint64_t, int32_t> FByVertices;
  // The rectangles of the edges that ever joined FContourEdges[1].
  std::unique_ptr<TCrossingIndex> FCrossings;
  geo::TDRect FCrossingBounds{};
};

}  // namespace geoalg
