#include "geomio/wkt_writer.h"

#include <vector>

#include "addonlib/geometry/interior_point.h"
#include "geomio/contour_layout.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {

// A run of edges of one kind, from First to Last inclusive: "(p0, p1, ...)"
// for straight edges, "CIRCULARSTRING (p0, m1, p1, ...)" for arcs.
void AppendRun(std::string& S, const std::vector<geo::TEdge>& Edges, size_t First, size_t Last) {
  const bool Arcs = geo::IsArc(Edges[First]);
  if (Arcs) S += "CIRCULARSTRING ";
  S += '(';
  AppendPoint(S, Edges[First].P1);
  for (size_t i = First; i <= Last; ++i) {
    if (Arcs) {
      S += ", ";
      AppendPoint(S, geo::EdgeMidPoint(Edges[i]));
    }
    S += ", ";
    AppendPoint(S, Edges[i].P2);
  }
  S += ')';
}

// One part as a curve. Straight parts are a bare point list; Tagged adds
// LINESTRING before it, as a top-level geometry needs.
void AppendCurve(std::string& S, const TLayoutPart& Part, bool Tagged) {
  const std::vector<geo::TEdge>& E = Part.Edges;
  std::vector<std::pair<size_t, size_t>> Runs;
  for (size_t i = 0; i < E.size(); ++i) {
    if (!Runs.empty() && geo::IsArc(E[i]) == geo::IsArc(E[Runs.back().second]))
      Runs.back().second = i;
    else
      Runs.emplace_back(i, i);
  }
  if (Runs.size() == 1) {
    if (Tagged && !Part.HasArcs) S += "LINESTRING ";
    AppendRun(S, E, 0, E.size() - 1);
    return;
  }
  S += "COMPOUNDCURVE (";
  for (size_t r = 0; r < Runs.size(); ++r) {
    if (r) S += ", ";
    AppendRun(S, E, Runs[r].first, Runs[r].second);
  }
  S += ')';
}

bool PolygonHasArcs(const TContourLayout& L, const std::vector<size_t>& Rings) {
  for (size_t i : Rings)
    if (L.Parts[i].HasArcs) return true;
  return false;
}

// The rings of one polygon in parentheses, without a tag.
void AppendRings(std::string& S, const TContourLayout& L, const std::vector<size_t>& Rings) {
  S += '(';
  for (size_t k = 0; k < Rings.size(); ++k) {
    if (k) S += ", ";
    AppendCurve(S, L.Parts[Rings[k]], false);
  }
  S += ')';
}

void AppendPolygon(std::string& S, const TContourLayout& L, const std::vector<size_t>& Rings) {
  S += PolygonHasArcs(L, Rings) ? "CURVEPOLYGON " : "POLYGON ";
  AppendRings(S, L, Rings);
}

}  // namespace

std::string WktOfContour(const geo::TContour& Contour, TNesting Nesting) {
  return WktOfLayout(LayOutContour(Contour, Nesting));
}

std::string WktOfLayout(const TContourLayout& L) {
  const size_t NPoly = L.Polygons.size();
  const size_t NLine = L.Lines.size();
  std::string S;
  if (NPoly + NLine == 0) return "GEOMETRYCOLLECTION EMPTY";
  if (NPoly + NLine == 1) {
    if (NPoly)
      AppendPolygon(S, L, L.Polygons[0]);
    else
      AppendCurve(S, L.Parts[L.Lines[0]], true);
    return S;
  }
  if (NLine == 0) {
    bool Arcs = false;
    for (const auto& P : L.Polygons) Arcs = Arcs || PolygonHasArcs(L, P);
    S += Arcs ? "MULTISURFACE (" : "MULTIPOLYGON (";
    for (size_t k = 0; k < NPoly; ++k) {
      if (k) S += ", ";
      if (PolygonHasArcs(L, L.Polygons[k])) S += "CURVEPOLYGON ";
      AppendRings(S, L, L.Polygons[k]);
    }
    return S + ')';
  }
  if (NPoly == 0) {
    bool Arcs = false;
    for (size_t i : L.Lines) Arcs = Arcs || L.Parts[i].HasArcs;
    S += Arcs ? "MULTICURVE (" : "MULTILINESTRING (";
    for (size_t k = 0; k < NLine; ++k) {
      if (k) S += ", ";
      AppendCurve(S, L.Parts[L.Lines[k]], false);
    }
    return S + ')';
  }
  S += "GEOMETRYCOLLECTION (";
  for (size_t k = 0; k < NPoly; ++k) {
    if (k) S += ", ";
    AppendPolygon(S, L, L.Polygons[k]);
  }
  for (size_t i : L.Lines) {
    S += ", ";
    AppendCurve(S, L.Parts[i], true);
  }
  return S + ')';
}

}  // namespace geomio
