#include "addonlib/algebra/complex_part.h"

#include "addonlib/geometry/clip.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/interior_point.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/rect.h"
#include "addonlib/index/packed_rtree.h"

namespace geoalg {

TComplexPart::TComplexPart(const TContour& Source, const TDRect& ABounds) : Bounds(ABounds) {
  Assign(&Source);
}

bool TComplexPart::PointInside(const TDPoint& P, const geo::TTolerance& Tol) const {
  return geo::PointInRect(Bounds, P) &&
         geo::PointInContour(*this, P, Tol) != geo::TPointPlace::Outside;
}

void TComplexPartList::Build(const TContour& Contour, const geo::TTolerance& Tol) {
  FTol = Tol;
  FParts.clear();
  FStrips.clear();
  FCut.clear();
  FBottoms.clear();
  FSource.Clear();
  FAllCut = true;
  HasBounds = geo::GetBounds(Contour, Bounds);
  if (!HasBounds) return;
  const int32_t N = Contour.PointCount();
  if (N < StripThreshold) {
    FParts.push_back(std::make_unique<TComplexPart>(Contour, Bounds));
    return;
  }
  FSource.Assign(&Contour);
  FHeight = (Bounds.Y2 - Bounds.Y1) / (static_cast<double>(N) / PointsPerStrip);
  FOverlap = 2 * Tol.Work;
  for (double Y = Bounds.Y1; Y <= Bounds.Y2; Y += FHeight) {
    FBottoms.push_back(Y);
    if (!(FHeight > 0)) break;  // a flat contour: one strip holds it all
  }
  FStrips.resize(FBottoms.size());
  FCut.assign(FBottoms.size(), 0);
  FAllCut = false;
}

const TComplexPart* TComplexPartList::Strip(size_t K) const {
  if (!FCut[K]) {
    FCut[K] = 1;
    const double Y = FBottoms[K];
    const TDRect Band{Bounds.X1, Y - FOverlap, Bounds.X2, Y + FHeight + FOverlap};
    const TContour Clip = geo::ClipContourByRect(FSource, Band, Bounds);
    TDRect R;
    if (geo::GetBounds(Clip, R)) FStrips[K] = std::make_unique<TComplexPart>(Clip, R);
  }
  return FStrips[K].get();
}

void TComplexPartList::CutAll() const {
  if (FAllCut) return;
  FParts.clear();
  for (size_t K = 0; K < FStrips.size(); ++K)
    if (Strip(K)) FParts.push_back(std::make_unique<TComplexPart>(*FStrips[K], FStrips[K]->Bounds));
  FAllCut = true;
}

int32_t TComplexPartList::Count() const {
  CutAll();
  return static_cast<int32_t>(FParts.size());
}

const TComplexPart& TComplexPartList::Part(int32_t I) const {
  CutAll();
  return *FParts.at(I);
}

bool TComplexPartList::PointInside(const TDPoint& P) const {
  if (!HasBounds || !geo::PointInRect(Bounds, P)) return false;
  if (FStrips.empty()) {
    for (const auto& Part : FParts)
      if (Part->PointInside(P, FTol)) return true;
    return false;
  }
  // A strip's part lies within its band; a margin of half a strip covers
  // any rounding of the cut, so no strip that could hold P is passed over.
  const double Margin = FOverlap + FHeight / 2;
  const double Guess = FHeight > 0 ? (P.Y - Bounds.Y1) / FHeight : 0;
  const size_t From = Guess > 2 ? static_cast<size_t>(Guess) - 2 : 0;
  for (size_t K = From; K < FBottoms.size(); ++K) {
    if (FBottoms[K] - Margin > P.Y) break;
    if (FBottoms[K] + FHeight + Margin < P.Y) continue;
    const TComplexPart* Part = Strip(K);
    if (Part && Part->PointInside(P, FTol)) return true;
  }
  return false;
}

TDPoint PartSamplePoint(const TContour& Part) {
  geo::TContourEdgeIter It;
  if (!It.Start(Part)) throw core::Exception("количество команд < 2");
  return geo::EdgeMidPoint(It.Edge);
}

bool IsClockwise(const TContour& Part) {
  return geo::Area(Part) > 0;
}

void PartNesting(const geo::TContourList& Parts, geo::TLongintList& Depths,
                 const geo::TTolerance& Tol) {
  // A zone's outer ring is the candidate of nearly every hole: its locator
  // indexes its edges once instead of walking them for each.
  std::vector<geo::TContourLocator> Locators;
  Locators.reserve(Parts.size());
  for (const auto& Part : Parts) Locators.emplace_back(*Part);
  PartNesting(Parts, Locators, Depths, Tol);
}

void PartNesting(const geo::TContourList& Parts, std::vector<geo::TContourLocator>& Locators,
                 geo::TLongintList& Depths, const geo::TTolerance& Tol) {
  const size_t N = Parts.size();
  if (N == 1) {
    Depths.Add(0);
    return;
  }
  std::vector<TDRect> Rects(N);
  std::vector<int32_t> Boxed;
  for (size_t I = 0; I < N; ++I)
    if (geo::GetBounds(*Parts[I], Rects[I])) Boxed.push_back(static_cast<int32_t>(I));
  // Only the parts whose rectangles hold the sample can hold it: an index
  // finds them, so that ten thousand holes do not test each other.
  geo::index::TPackedRTree Index;
  Index.Build(Rects, Boxed);
  auto Holders = [&](size_t I, const TDPoint& S, bool& OnBoundary) {
    int32_t Depth = 0;
    OnBoundary = false;
    Index.Query({S.X, S.Y, S.X, S.Y}, [&](int32_t J) {
      if (static_cast<size_t>(J) == I) return;
      const geo::TPointPlace Where = Locators[static_cast<size_t>(J)].Locate(S, Tol);
      if (Where != geo::TPointPlace::Outside) ++Depth;
      if (Where == geo::TPointPlace::Boundary) OnBoundary = true;
    });
    return Depth;
  };
  for (size_t I = 0; I < N; ++I) {
    // The first edge's midpoint decides, unless it lies on another part's
    // boundary (parts touching along a side), where it tells nothing: then
    // the first edge whose midpoint is clear of the other boundaries does.
    // A part whose every edge is shorter than the point tolerance has no
    // sample and bounds nothing: it adds no edges either, its depth is 0.
    geo::TContourEdgeIter It;
    if (!It.Start(*Parts[I])) {
      Depths.Add(0);
      continue;
    }
    bool OnBoundary;
    int32_t Depth = Holders(I, geo::EdgeMidPoint(It.Edge), OnBoundary);
    if (OnBoundary) {
      for (bool More = It.Next(); More; More = It.Next()) {
        bool Again;
        const int32_t D = Holders(I, geo::EdgeMidPoint(It.Edge), Again);
        if (!Again) {
          Depth = D;
          break;
        }
      }
    }
    Depths.Add(Depth);
  }
}

}  // namespace geoalg
