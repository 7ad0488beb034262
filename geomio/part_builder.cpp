#include "geomio/part_builder.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/contour_split.h"
#include "geomio/input_error.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {

// Points are dropped only when equal: two that differ by less than the point
// tolerance still hold a zone narrower than it, or a square that small.
bool Equal(const geo::TDPoint& A, const geo::TDPoint& B) {
  return A.X == B.X && A.Y == B.Y;
}

// The larger of the two axes' differences: the point tolerance is per axis.
double Apart(const geo::TDPoint& A, const geo::TDPoint& B) {
  return std::max(std::fabs(A.X - B.X), std::fabs(A.Y - B.Y));
}

}  // namespace

void TPartBuilder::StartOrJoin(const geo::TDPoint& P) {
  if (!HasStart) {
    HasStart = true;
    Start = P;
    Cur = P;
    Raw.assign(1, P);
    return;
  }
  if (!geo::SamePoint(P, Cur))
    throw EInputError("curve pieces do not join: " + PointText(Cur) + " is followed by " +
                      PointText(P));
}

void TPartBuilder::LineTo(const geo::TDPoint& P) {
  if (Equal(P, Cur)) return;
  Raw.push_back(P);
  Pieces.push_back({P, 0});
  Cur = P;
}

void TPartBuilder::ArcTo(const geo::TDPoint& Mid, const geo::TDPoint& End) {
  // All three points within the tolerance of each other: the contour holds
  // no arc that short, and the kernel takes its points for one.
  if (geo::SamePoint(Cur, End) && geo::SamePoint(Cur, Mid) && geo::SamePoint(Mid, End)) {
    if (Equal(Cur, Mid) && Equal(Cur, End)) return;
    const double Near = std::min({Apart(Cur, Mid), Apart(Mid, End), Apart(Cur, End)});
    const double Far = std::max({Apart(Cur, Mid), Apart(Mid, End), Apart(Cur, End)});
    throw EInputError(
        "the arc at " + PointText(Cur) +
        " lies within the point tolerance (1e-06 on each axis): " + "its points differ by " +
        NumberText(Near) + " to " + NumberText(Far) + ", one point to the kernel");
  }
  Raw.push_back(Mid);
  Raw.push_back(End);
  // Ends within the tolerance: the full circle through Mid (its end written
  // with some rounding), as the contour cannot hold a shorter chord.
  if (geo::SamePoint(Cur, End)) {
    Pieces.push_back({Mid, 1});
    Pieces.push_back({End, 1});
    Cur = End;
    return;
  }
  // From the circle through the three points even where the middle lies
  // within the tolerance of an end (a small arc's middle on a half circle of
  // radius 1e-6 does): the chord alone would lose the arc.
  double Convexity = 0, Sweep;
  geo::TDPoint Center;
  if (!Equal(Cur, Mid) && !Equal(Mid, End) && geo::CircleBy3Points(Cur, Mid, End, Sweep, Center))
    Convexity = geo::ConvexityFromCenter(Cur, Center, End, Sweep < 0);
  Pieces.push_back({End, std::fabs(Convexity) <= geo::LineConvexityLimit ? 0 : Convexity});
  Cur = End;
}

void TPartBuilder::Reset() {
  HasStart = false;
  Pieces.clear();
  Raw.clear();
}

bool TPartBuilder::RawEnclosesArea() const {
  // The shoelace sum of the points as given (arc middles standing in for
  // their arcs), relative to the start so that far coordinates keep their
  // digits; collinear points give rounding noise only.
  double Twice = 0, Spread = 0;
  for (size_t i = 1; i + 1 < Raw.size(); ++i) {
    const double X1 = Raw[i].X - Start.X, Y1 = Raw[i].Y - Start.Y;
    const double X2 = Raw[i + 1].X - Start.X, Y2 = Raw[i + 1].Y - Start.Y;
    Twice += X1 * Y2 - X2 * Y1;
    Spread = std::max({Spread, std::fabs(X1), std::fabs(Y1)});
  }
  return std::fabs(Twice) > 1e-12 * Spread * Spread;
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
  if (Pieces.empty()) {
    const std::string At = PointText(Start);
    Reset();
    throw EInputError("ring at " + At + " encloses nothing");
  }
  if (!geo::SamePoint(Pieces.back().End, Start)) {
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
  const bool Narrow = RawEnclosesArea();
  Reset();
  if (!geo::IsValidPart(Ring))
    throw EInputError(
        "ring at " + PointText(At) +
        (Narrow ? " is narrower than the point tolerance (1e-06)" : " encloses nothing"));
  AppendCommands(Contour, Ring);
}

void AppendCommands(geo::TContour& Dest, const geo::TContour& Source) {
  for (int32_t i = 0; i < Source.CommandCount(); ++i) Dest.AddCommand(Source.GetCommand(i));
}

}  // namespace geomio
