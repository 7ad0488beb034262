// The trace connection graph: the outlines of every buffer zone on the pad as
// one undirected graph of distinct end points and the segments between them.
//
// Zones are added one after the other and never united: where two outlines
// cross without a common end point, there is no path across the crossing.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "addonlib/geometry/complex_enum.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/typed_lists.h"

namespace trace {

using geo::TDPoint;
using geo::TGConnectBrief;
using geo::TGConnectFull;

class TGConnectGraph {
 public:
  TGConnectGraph();
  TGConnectGraph(const TGConnectGraph&) = delete;
  TGConnectGraph& operator=(const TGConnectGraph&) = delete;

  // Edges by vertex index; arcs equal only with exactly equal convexities.
  geo::TGConnectBriefListStrict Edges;
  // Lengths[I] is the length of edge I (arc length for arcs).
  geo::TDoubleList Lengths;
  // Distinct end points, equal within PointTolerance.
  geo::TTDPointList Vertices;
  // Written by FindShortestPath, one entry per vertex: after a successful
  // search, for every vertex V of the path but the last, PathEdge[V] leaves V
  // towards the target and PathForward[V] is true when it is walked V1 to V2.
  std::vector<int32_t> PathEdge;
  std::vector<bool> PathForward;
  // Counts the calls of Clear, so that indexes over Vertices can tell a
  // list emptied and refilled from one that only grew.
  uint32_t ClearCount = 0;

  // Adds every segment of a command contour.
  void AddContour(const geo::TContour& Contour);
  // Index of the edge that represents C; a segment added again, in either
  // direction, is stored once.
  int32_t AddConnection(const TGConnectFull& C);
  // Index of the first vertex equal to P, appending P when there is none.
  int32_t FindOrAddVertex(const TDPoint& P);
  // Index of the first vertex equal to P, -1 when there is none.
  int32_t FindVertex(const TDPoint& P) const;
  TGConnectFull GetConnection(const TGConnectBrief& Brief) const;
  void Clear();
  // Shortest chain of edges from From to To without ExcludedEdge (-1: none);
  // false when To cannot be reached. LastEdge is the edge by which To is
  // reached. Raises "0 вершин" on an empty graph.
  bool FindShortestPath(int32_t From, int32_t To, int32_t ExcludedEdge, int32_t& LastEdge);
  // The same search leaving out every edge I with Excluded[I] true (edges
  // beyond Excluded's size are kept).
  bool FindShortestPathAvoiding(int32_t From, int32_t To, const std::vector<bool>& Excluded,
                                int32_t& LastEdge);
  // Edges joining A and B in either direction.
  int32_t CountEdgesBetween(int32_t A, int32_t B) const;

 private:
  static uint64_t PairKey(int32_t A, int32_t B);
  template <class Skip>
  bool SearchPath(int32_t From, int32_t To, Skip&& IsExcluded, int32_t& LastEdge);
  struct CellHash {
    size_t operator()(const std::pair<int64_t, int64_t>& C) const {
      return std::hash<int64_t>()(C.first * 0x9E3779B97F4A7C15LL ^ C.second);
    }
  };
  static std::pair<int64_t, int64_t> CellOf(const TDPoint& P);

  // Vertices by grid cell of the point tolerance's size, for FindOrAddVertex.
  std::unordered_map<std::pair<int64_t, int64_t>, std::vector<int32_t>, CellHash> FCells;
  // Edges by unordered vertex pair, in index order.
  std::unordered_map<uint64_t, std::vector<int32_t>> FPairs;
  // Adjacency: the edges at each vertex in index order.
  std::vector<std::vector<int32_t>> FIncident;
  // The same in one flat array with the far end, direction and length of
  // each edge, for the search; rebuilt when edges were added.
  struct TAdjacent {
    int32_t Edge;
    int32_t Other;
    double Length;
    bool Forward;
  };
  void EnsureAdjacency();
  std::vector<int32_t> FAdjacentStart;
  std::vector<TAdjacent> FAdjacent;
  int32_t FAdjacentEdges = -1;
};

}  // namespace trace
