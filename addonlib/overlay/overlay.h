// The overlay engine: Boolean operations and many-contour unions of contours
// made of straight segments and circular arcs, in one pass.
//
// Every edge of every input is cut at every crossing and touching (noding),
// each cut edge learns the winding number of every input on both its sides
// (labelling), and the edges whose two sides differ under the operation are
// walked into closed parts (rings). Arcs stay arcs: an output arc is a piece
// of an input circle with its exact convexity.
//
// The result is a command contour: outer parts run clockwise (positive Area),
// each followed by its holes, which run counter-clockwise.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "addonlib/overlay/union_operation.h"
#include "core/exception.h"

namespace geoalg {

using TOverlayOp = TUnionOperation;

// The windings found around a face disagree: the noding left edges that
// cross without a common vertex, or a vertex's order contradicts them.
class EOverlayTopology : public core::Exception {
 public:
  using core::Exception::Exception;
};

// How an input's winding number decides what it covers.
enum class TFillRule : uint8_t {
  EvenOdd,   // odd winding: the reading of a contour's nested parts
  NonZero,   // any winding but 0
  Positive,  // winding above 0: pieces that each wind +1 around their interior
};

// Lengths below which two points are one (how it stands beside the kernel's
// fixed tolerances and the union graph's: geometry/tolerance.h). Both scale: the absolute part with
// the caller's features, the relative part with the coordinates' magnitude
// (what double arithmetic can tell apart), so a unit square beside a 1e16
// square keeps its corners and a 1e-6 wide zone at 1e7 keeps its width.
struct TOverlayTolerance {
  double Split = 0;           // absolute, metres
  double Relative = 0x1p-49;  // times max(|x|, |y|) of the points compared

  double At(double Magnitude) const {
    const double R = Relative * Magnitude;
    return R > Split ? R : Split;
  }
};

// Collects the inputs of one overlay. Each edge belongs to one of two labels;
// the result is Rule0(label 0) <Op> Rule1(label 1).
class TOverlay {
 public:
  explicit TOverlay(const TOverlayTolerance& Tolerance = {});
  ~TOverlay();
  TOverlay(const TOverlay&) = delete;
  TOverlay& operator=(const TOverlay&) = delete;

  enum class TOrient : uint8_t {
    AsRuns,            // rings wind as they run
    ByNesting,         // what the contour covers by its nesting winds +1
    Counterclockwise,  // every ring turned counter-clockwise on its own
  };
  // Every part of Contour as a ring of the label (an open part is closed by a
  // straight edge; zero-length edges are left out). ByNesting reads the
  // contour by the nesting of its parts (even-odd) and adds the outline of
  // what it covers, outer parts counter-clockwise and holes clockwise.
  void AddContour(const geo::TContour& Contour, int32_t Label, TOrient Orient);
  // One ring given by its points and the convexity of the edge leaving each
  // point (the last edge returns to the first point).
  void AddRing(const geo::TDPoint* Points, const double* Convexities, int32_t Count, int32_t Label,
               TOrient Orient);
  // Hints the number of edges to come.
  void Reserve(size_t Edges);
  // Called between the stages of Run and every few thousand pairs of pieces
  // met while noding; it may throw to stop the run.
  void SetPoll(std::function<void()> Poll);

  geo::TContour Run(TOverlayOp Op, TFillRule Rule0, TFillRule Rule1);

 private:
  class TImpl;
  std::unique_ptr<TImpl> FImpl;
};

// A <Op> B; each input read by the nesting of its parts (even-odd).
geo::TContour OverlayContours(const geo::TContour& A, const geo::TContour& B, TOverlayOp Op,
                              const TOverlayTolerance& Tolerance = {});

// Result receives A <Op> B, each read by the nesting of its parts; on
// failure Result is left as it was.
void CombineContours(const geo::TContour& A, const geo::TContour& B, TOverlayOp Op,
                     geo::TContour& Result, const TOverlayTolerance& Tolerance = {});

// The union of all inputs, each read by the nesting of its parts.
geo::TContour UniteContours(const std::vector<const geo::TContour*>& Inputs,
                            const TOverlayTolerance& Tolerance = {});

}  // namespace geoalg
