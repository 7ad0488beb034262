// Buffer zones: the outline of every point within a width of a contour, with
// the interior of its closed parts read by their nesting (a closed part
// inside another is a hole: its inside is not the polygon's).
//
// The reference zone is the union of simple pieces (a disc at every vertex, a
// rectangle along every straight segment, an annular sector along every arc),
// united bottom-up over a quadtree so that each union step only combines
// pieces that lie close together.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "addonlib/algebra/quadtree.h"
#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/edge.h"
#include "core/exception.h"

namespace trace {

using geo::TContour;
using geo::TDPoint;

// Asked now and then while a zone is built (a few times a tenth of a second,
// however large the source): true stops the build, which then raises
// EZoneCancelled and leaves its destination as it was.
using TZoneCancel = std::function<bool()>;

class EZoneCancelled : public core::Exception {
 public:
  using core::Exception::Exception;
};

// Calls Cancel at most once in Interval seconds of its own calls, and raises
// EZoneCancelled when it answers true.
class TZoneCancelPoll {
 public:
  explicit TZoneCancelPoll(const TZoneCancel& Cancel, double Interval = 0.02);
  void operator()();

 private:
  static double Now();
  const TZoneCancel& FCancel;
  double FInterval;
  double FLast;
};

class TTBufferZoneEnum {
 public:
  // Source is not owned and must outlive the enumerator.
  TTBufferZoneEnum(const TContour& ASource, double AWidth, const TZoneCancel& ACancel = {});

  const TContour& Source;
  double Width;
  geoalg::TGUnionGraphBigReference Union;

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
  TZoneCancelPoll FPoll;
};

// Direction of a segment at its start, in radians (reversed first when not
// Forward). For an arc, the tangent-side direction from its centre;
// "GetConnectDirectionAngle: GetCenter2 failed" when it has no centre.
double GetConnectDirectionAngle(const geo::TDSegment& Segment, bool Forward = true);

// Replaces Dest by the zone of Source for Width (positive). Dest must not be
// Source. On failure Dest is left as it was. Built in one pass of the overlay
// engine (zone_overlay.cpp): each part of the source, walked there and back,
// gives one closed curve, every edge offset by the width to its right (a line
// stays a line, an arc becomes an arc of the same centre) and joined at every
// vertex by an arc of the width around it that turns as the part turns there
// (a half circle at either end). Around every point within the width of the
// part this curve winds once for every stretch of the part that comes that
// close, and nowhere else, so the zone is where it winds above 0, united with
// the interior of the source's closed parts (outer parts less their holes,
// as the Boolean operations read them). Where the part turns away from
// a side between two straight edges, that side cuts across where the two
// offsets cross instead: the loop left out only ever wound -1 inside the zone.
// Where the offsets are too short for that, the side runs to the vertex and
// out again, square to both, rather than back round it. A closed part that
// neither crosses nor touches itself, nor holds or lies in another part,
// gives its outward side alone, with a join at every vertex: that curve
// winds once around the part's interior and the band outside it, so the
// interior needs no curve of its own.
void BuildBufferZone(const TContour& Source, TContour& Dest, double Width,
                     const TZoneCancel& Cancel = {});

// The fraction of the width below which the zone's curves meet at one point.
inline constexpr double ZoneSplitFraction = 1e-9;

// The same zone from the overlay engine alone, points SplitFraction times
// the width apart joined: raises geoalg::EOverlayTopology where the engine
// finds its cut edges out of order, which BuildBufferZone answers by trying
// again with a coarser split (and raises itself only when the coarsest fails
// too). Where the curves' pieces overlap more
// than 35 others each (judged on a sample), the zone is the union of the
// zones of runs of 16 edges (a run of a simple closed part offset outward,
// closed down the radii and back along its edges), united sixteen at a time
// so that each level keeps only outlines; its interior joins at the top.
void BuildBufferZoneByOverlay(const TContour& Source, TContour& Dest, double Width,
                              const TZoneCancel& Cancel = {},
                              double SplitFraction = ZoneSplitFraction);

// The two ways BuildBufferZoneByOverlay chooses from, each alone: every
// part's curve in one pass, or the zones of runs of 16 edges united sixteen
// at a time (where the one pass would meet many pairs of pieces for each).
void BuildBufferZoneOnePass(const TContour& Source, TContour& Dest, double Width);
void BuildBufferZoneByRuns(const TContour& Source, TContour& Dest, double Width);

// The same zone united piece by piece, sector by sector, through the union
// graph: the written algorithm, kept to check the engine against. The product
// never calls it: it grows about quadratically with the source.
void BuildBufferZoneReference(const TContour& Source, TContour& Dest, double Width,
                              const TZoneCancel& Cancel = {});

}  // namespace trace
