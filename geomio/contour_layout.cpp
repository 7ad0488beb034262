#include "geomio/contour_layout.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "addonlib/algebra/complex_part.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/edge_iter.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/index/packed_rtree.h"

namespace geomio {

namespace {

// The closed parts as rings of their own, with a locator for each: the
// nesting builds their indexes and the search for holders uses them again.
struct TRings {
  geo::TContourList Rings;
  std::vector<geo::TContourLocator> Locators;
};

void FindDepths(TContourLayout& L, const std::vector<size_t>& Closed, TRings& R) {
  for (size_t i : Closed) {
    auto Ring = std::make_unique<geo::TContour>();
    Ring->Assign(&L.Parts[i].Contour);
    R.Rings.push_back(std::move(Ring));
  }
  R.Locators.reserve(R.Rings.size());
  for (const auto& Ring : R.Rings) R.Locators.emplace_back(*Ring);
  geo::TLongintList Depths;
  geoalg::PartNesting(R.Rings, R.Locators, Depths);
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

double PartArea(const TLayoutPart& Part) {
  if (Part.Edges.empty()) return 0;
  // Measured from the first point's height: the terms of a closed ring sum
  // to the same, and far coordinates keep their digits.
  const double Y0 = Part.Edges.front().P1.Y;
  long double Sum = 0;
  for (geo::TEdge E : Part.Edges) {
    E.P1.Y -= Y0;
    E.P2.Y -= Y0;
    Sum += geo::EdgeArea(E);
  }
  return static_cast<double>(Sum);
}

void OrientRings(TContourLayout& Layout) {
  for (TLayoutPart& Part : Layout.Parts) {
    if (!Part.Closed) continue;
    // The kernel's area is positive for clockwise parts.
    const bool Clockwise = PartArea(Part) > 0;
    const bool WantClockwise = Part.Depth % 2 != 0;
    if (Clockwise != WantClockwise) Reverse(Part);
  }
}

TContourLayout LayOutContour(const geo::TContour& Contour, TNesting Nesting) {
  TContourLayout L;
  geo::TContourList Split;
  geo::SplitIntoParts(Contour, Split);
  std::vector<size_t> Closed;
  for (const auto& Part : Split) {
    TLayoutPart P;
    // Every edge whose ends differ, even by less than the point tolerance:
    // a zone narrower than it keeps its ends instead of coming out a sliver.
    geo::TEdgeCursor It;
    for (It.Start(*Part, 1, false); !It.Eof(); It.Next()) {
      const geo::TEdge& E = It.Edge;
      if (E.P1.X == E.P2.X && E.P1.Y == E.P2.Y) continue;
      P.Edges.push_back(E);
      P.HasArcs = P.HasArcs || geo::IsArc(E);
    }
    P.Closed = !P.Edges.empty() && geo::LastIsClose(*Part);
    if (P.Edges.empty()) continue;
    P.Contour.Assign(Part.get());
    (P.Closed ? Closed : L.Lines).push_back(L.Parts.size());
    L.Parts.push_back(std::move(P));
  }
  if (Closed.empty()) return L;
  if (Nesting == TNesting::AsWritten) {
    for (size_t i : Closed) {
      TLayoutPart& Part = L.Parts[i];
      Part.Depth = PartArea(Part) > 0 ? 0 : 1;
      if (Part.Depth == 0 || L.Polygons.empty())
        L.Polygons.push_back({i});
      else
        L.Polygons.back().push_back(i);
    }
    return L;
  }
  TRings Rings;
  FindDepths(L, Closed, Rings);
  std::vector<size_t> RingOf(L.Parts.size(), 0);
  for (size_t k = 0; k < Closed.size(); ++k) RingOf[Closed[k]] = k;

  // Each hole goes to the ring one level up that holds its sample point; rings do not cross, so
  // that ring is the one around it.
  std::vector<size_t> PolygonOf(L.Parts.size(), 0);
  for (size_t i : Closed) {
    if (L.Parts[i].Depth % 2 != 0) continue;
    PolygonOf[i] = L.Polygons.size();
    L.Polygons.push_back({i});
  }
  // The holder is looked for among the rings whose rectangles hold the
  // sample, the first in part order.
  std::vector<geo::TDRect> Boxes(L.Parts.size());
  std::vector<int32_t> Outers;
  for (size_t j : Closed) {
    if (L.Parts[j].Depth % 2 != 0 || !geo::GetBounds(L.Parts[j].Contour, Boxes[j])) continue;
    Outers.push_back(static_cast<int32_t>(j));
  }
  geo::index::TPackedRTree Index;
  Index.Build(Boxes, Outers);
  std::vector<int32_t> Candidates;
  for (size_t i : Closed) {
    const TLayoutPart& Hole = L.Parts[i];
    if (Hole.Depth % 2 == 0) continue;
    const geo::TDPoint Sample = geoalg::PartSamplePoint(Hole.Contour);
    Candidates.clear();
    Index.Query({Sample.X, Sample.Y, Sample.X, Sample.Y},
                [&](int32_t j) { Candidates.push_back(j); });
    std::sort(Candidates.begin(), Candidates.end());
    bool Placed = false;
    for (int32_t j : Candidates) {
      const TLayoutPart& Outer = L.Parts[static_cast<size_t>(j)];
      // Most holes of a zone lie in its one big outer ring: its locator has
      // indexed its edges for the nesting already.
      if (Outer.Depth != Hole.Depth - 1) continue;
      geo::TContourLocator& Locator = Rings.Locators[RingOf[static_cast<size_t>(j)]];
      if (Locator.Locate(Sample) == geo::TPointPlace::Outside) continue;
      L.Polygons[PolygonOf[static_cast<size_t>(j)]].push_back(i);
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
