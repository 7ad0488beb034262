#include "geomio/part_builder.h"

#include <cmath>
#include <string>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/contour_split.h"
#include "geomio/input_error.h"
#include "geomio/number_text.h"

namespace geomio {

void TPartBuilder::StartOrJoin(const geo::TDPoint& P) {
  if (!HasStart) {
    HasStart = true;
    Start = P;
    Cur = P;
    return;
  }
  if (!geo::SamePoint(P, Cur))
    throw EInputError("curve pieces do not join: " + PointText(Cur) + " is followed by " +
                      PointText(P));
}

void TPartBuilder::LineTo(const geo::TDPoint& P) {
  if (geo::SamePoint(P, Cur)) return;
  Pieces.push_back({P, 0});
  Cur = P;
}

void TPartBuilder::ArcTo(const geo::TDPoint& Mid, const geo::TDPoint& End) {
  if (geo::SamePoint(Cur, End)) {
    if (geo::SamePoint(Cur, Mid)) return;
    Pieces.push_back({Mid, 1});
    Pieces.push_back({End, 1});
    Cur = End;
    return;
  }
  double Convexity = 0;
  if (!geo::ConvexityBy3Points(Cur, Mid, End, Convexity)) Convexity = 0;
  Pieces.push_back({End, std::fabs(Convexity) <= geo::LineConvexityLimit ? 0 : Convexity});
  Cur = End;
}

void TPartBuilder::Reset() {
  HasStart = false;
  Pieces.clear();
}

void TPartBuilder::EndOpen(geo::TContour& Contour) {
  if (Pieces.empty()) {
    Reset();
    throw EInputError("a line needs at least two distinct points");
  }
  Contour.AddMoveTo(Start);
  for (const TPiece& P : Pieces) {
    if (P.Convexity == 0) {
      Contour.AddLineTo(P.End);
    } else {
      Contour.AddArcTo(P.End, P.Convexity);
    }
  }
  Reset();
}

void TPartBuilder::EndRing(geo::TContour& Contour) {
  if (Pieces.empty() || !geo::SamePoint(Pieces.back().End, Start)) {
    const std::string Where = PointText(Start) + " and ends at " + PointText(Cur);
    Reset();
    throw EInputError("ring is not closed: it starts at " + Where);
  }
  geo::TContour Ring;
  Ring.AddMoveTo(Start);
  for (size_t i = 0; i + 1 < Pieces.size(); ++i) {
    if (Pieces[i].Convexity == 0) {
      Ring.AddLineTo(Pieces[i].End);
    } else {
      Ring.AddArcTo(Pieces[i].End, Pieces[i].Convexity);
    }
  }
  if (Pieces.back().Convexity == 0) {
    Ring.AddClose();
  } else {
    Ring.AddCloseArc(Pieces.back().Convexity);
  }
  const geo::TDPoint At = Start;
  Reset();
  if (!geo::IsValidPart(Ring)) throw EInputError("ring at " + PointText(At) + " encloses nothing");
  AppendCommands(Contour, Ring);
}

void AppendCommands(geo::TContour& Dest, const geo::TContour& Source) {
  for (int32_t i = 0; i < Source.CommandCount(); ++i) Dest.AddCommand(Source.GetCommand(i));
}

}  // namespace geomio
