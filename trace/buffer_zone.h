// Buffer zones: the outline of every point within a width of a contour, with
// the interior of its closed parts.
//
// The zone is the union of simple pieces (a disc at every vertex, a
// rectangle along every straight segment, an annular sector along every arc),
// united bottom-up over a quadtree so that each union step only combines
// pieces that lie close together.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "addonlib/algebra/quadtree.h"
#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"

namespace trace {

using geo::TContour;
using geo::TDPoint;

class TTBufferZoneEnum {
 public:
  // Source is not owned and must outlive the enumerator.
  TTBufferZoneEnum(const TContour& ASource, double AWidth);

  const TContour& Source;
  double Width;
  geoalg::TGUnionGraphBig Union;

  // Builds the zone into Union.Result.
  void Execute();

  // A full circle of radius Width around Center: one closed part of two arcs
  // meeting where the direction Angle leaves the circle.
  std::unique_ptr<TContour> MakeVertexDisc(const TDPoint& Center, double Angle) const;
  // The piece along one segment: a rectangle of half-width Width for a
  // straight segment; for an arc a sector (radius equal to Width), a piece
  // closed along the chord (radius below Width) or an annular sector.
  std::unique_ptr<TContour> MakeSegmentPiece(const geo::TEdge& S) const;

 private:
  void Keep(std::unique_ptr<TContour> Piece);
  void UniteSectors(geoalg::TQuadroSector& Sector, geoalg::TQuadroSector* Parent,
                    geoalg::TQuadroTree& Tree);
  void AddClosedParts();

  // The pieces while the zone is built; a united piece is freed at once.
  std::vector<std::unique_ptr<TContour>> FPieces;
  std::unordered_map<const TContour*, size_t> FSlot;
};

// Direction of a segment at its start, in radians (reversed first when not
// Forward). For an arc, the tangent-side direction from its centre;
// "GetConnectDirectionAngle: GetCenter2 failed" when it has no centre.
double GetConnectDirectionAngle(const geo::TDSegment& Segment, bool Forward = true);

// Replaces Dest by the zone of Source for Width (positive). Dest must not be
// Source. On failure Dest is left as it was.
void BuildBufferZone(const TContour& Source, TContour& Dest, double Width);

}  // namespace trace
