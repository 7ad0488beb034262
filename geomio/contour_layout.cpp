#include "geomio/contour_layout.h"

#include <memory>
#include <utility>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"

namespace geomio {

namespace {

void FindDepths(TContourLayout& L, const std::vector<size_t>& Closed) {
  geo::TContourList Rings;
  for (size_t i : Closed) {
    auto Ring = std::make_unique<geo::TContour>();
    Ring->Assign(&L.Parts[i].Contour);
    Rings.push_back(std::move(Ring));
  }
  geo::TLongintList Depths;
  geoalg::PartNesting(Rings, Depths);
  for (size_t k = 0; k < Closed.size(); ++k)
    L.Parts[Closed[k]].Depth = Depths.Get(static_cast<int32_t>(k));
}

void Reverse(TLayoutPart& Part) {
  std::vector<geo::TEdge> R(Part.Edges.rbegin(), Part.Edges.rend());
  for (geo::TEdge& E : R) {
    std::swap(E.P1, E.P2);
    E.Convexity = -E.Convexity;
    E.Angle = -E.Angle;
  }
  Part.Edges = std::move(R);
  Part.Contour.Clear();
  Part.Contour.AddMoveTo(Part.Edges.front().P1);
  for (size_t i = 0; i + 1 < Part.Edges.size(); ++i) {
    const geo::TEdge& E = Part.Edges[i];
    if (geo::IsArc(E)) {
      Part.Contour.AddArcTo(E.P2, E.Convexity);
    } else {
      Part.Contour.AddLineTo(E.P2);
    }
  }
  if (geo::IsArc(Part.Edges.back())) {
    Part.Contour.AddCloseArc(Part.Edges.back().Convexity);
  } else {
    Part.Contour.AddClose();
  }
}

}  // namespace

void OrientRings(TContourLayout& Layout) {
  for (TLayoutPart& Part : Layout.Parts) {
    if (!Part.Closed) continue;
    // The kernel's area is positive for clockwise parts.
    const bool Clockwise = geo::Area(Part.Contour) > 0;
    const bool WantClockwise = Part.Depth % 2 != 0;
    if (Clockwise != WantClockwise) Reverse(Part);
  }
}

TContourLayout LayOutContour(const geo::TContour& Contour) {
  TContourLayout L;
  geo::TContourList Split;
  geo::SplitIntoParts(Contour, Split);
  std::vector<size_t> Closed;
  for (const auto& Part : Split) {
    TLayoutPart P;
    geo::TContourEdgeIter It;
    for (bool Ok = It.Start(*Part); Ok; Ok = It.Next()) {
      P.Edges.push_back(It.Edge);
      P.Closed = It.IsClosedPart();
      P.HasArcs = P.HasArcs || geo::IsArc(It.Edge);
    }
    if (P.Edges.empty()) continue;
    P.Contour.Assign(Part.get());
    (P.Closed ? Closed : L.Lines).push_back(L.Parts.size());
    L.Parts.push_back(std::move(P));
  }
  if (Closed.empty()) return L;
  FindDepths(L, Closed);

  // Each hole goes to the ring one level up that holds its sample point; rings do not cross, so
  // that ring is the one around it.
  std::vector<size_t> PolygonOf(L.Parts.size(), 0);
  for (size_t i : Closed) {
    if (L.Parts[i].Depth % 2 != 0) continue;
    PolygonOf[i] = L.Polygons.size();
    L.Polygons.push_back({i});
  }
  for (size_t i : Closed) {
    const TLayoutPart& Hole = L.Parts[i];
    if (Hole.Depth % 2 == 0) continue;
    const geo::TDPoint Sample = geoalg::PartSamplePoint(Hole.Contour);
    bool Placed = false;
    for (size_t j : Closed) {
      const TLayoutPart& Outer = L.Parts[j];
      if (Outer.Depth != Hole.Depth - 1 ||
          geo::PointInContour(Outer.Contour, Sample) == geo::TPointPlace::Outside)
        continue;
      L.Polygons[PolygonOf[j]].push_back(i);
      Placed = true;
      break;
    }
    // Rings that touch may leave a hole without a holder: it stands alone
    // rather than being lost.
    if (!Placed) L.Polygons.push_back({i});
  }
  return L;
}

}  // namespace geomio
