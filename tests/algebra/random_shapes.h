// Random inputs for the contour algebra's tests: stars (with arcs, holes
// and several parts), grid-aligned rectangles and cells of a coarse grid
// touching at sides and corners, around a given origin.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace algebra_test {

using geo::TContour;
using geo::TDPoint;

inline void AddRect(TContour& C, double X1, double Y1, double X2, double Y2) {
  C.AddMoveTo({X1, Y1});
  C.AddLineTo({X2, Y1});
  C.AddLineTo({X2, Y2});
  C.AddLineTo({X1, Y2});
  C.AddClose();
}

struct Shape {
  TContour C;
  bool Straight = true;
};

// A star-shaped ring around (CX, CY): vertices at increasing angles.
inline void AddStar(TContour& C, std::mt19937& Rng, double CX, double CY, double R, int N,
                    bool Arcs, bool Clockwise) {
  std::uniform_real_distribution<double> Radius(0.55 * R, R), Jitter(-0.3, 0.3), Bulge(-0.12, 0.12);
  std::vector<TDPoint> Pts;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * M_PI * (I + 0.5 + Jitter(Rng)) / N;
    const double Rad = Radius(Rng);
    Pts.push_back({CX + Rad * std::cos(A), CY + Rad * std::sin(A)});
  }
  if (Clockwise) std::reverse(Pts.begin(), Pts.end());
  C.AddMoveTo(Pts[0]);
  for (int I = 1; I < N; ++I) {
    if (Arcs && I % 2)
      C.AddArcTo(Pts[I], Bulge(Rng));
    else
      C.AddLineTo(Pts[I]);
  }
  if (Arcs)
    C.AddCloseArc(Bulge(Rng));
  else
    C.AddClose();
}

inline Shape RandomShape(std::mt19937& Rng, int Kind, TDPoint O, bool Arcs) {
  Shape S;
  S.Straight = !Arcs;
  std::uniform_real_distribution<double> U(-20, 20);
  const int N = 6 + Rng() % 20;
  switch (Kind % 5) {
    case 0:  // one star
      AddStar(S.C, Rng, O.X + U(Rng), O.Y + U(Rng), 60, N, Arcs, Rng() % 2);
      break;
    case 1: {  // a star with a hole
      const double CX = O.X + U(Rng), CY = O.Y + U(Rng);
      AddStar(S.C, Rng, CX, CY, 70, N, Arcs, false);
      AddStar(S.C, Rng, CX, CY, 25, 5 + Rng() % 6, Arcs, true);
      break;
    }
    case 2:  // two parts
      AddStar(S.C, Rng, O.X - 45 + U(Rng) / 4, O.Y + U(Rng), 35, N, Arcs, false);
      AddStar(S.C, Rng, O.X + 45 + U(Rng) / 4, O.Y + U(Rng), 35, N, Arcs, true);
      break;
    case 4: {  // distinct cells of a coarse grid: parts touching at sides and corners
      // Half the time on a grid shifted by half a cell: the other input's
      // cells then meet these at corners and along half sides.
      std::vector<int> Cells = {0, 1, 2, 3, 4, 5, 6, 7, 8};
      std::shuffle(Cells.begin(), Cells.end(), Rng);
      const double Shift = Rng() % 2 ? 10 : 0;
      for (int I = 0; I < 2 + static_cast<int>(Rng() % 4); ++I) {
        const double X = O.X + Shift + 20 * (Cells[I] % 3) - 30;
        const double Y = O.Y + Shift + 20 * (Cells[I] / 3) - 30;
        AddRect(S.C, X, Y, X + 20, Y + 20);
      }
      S.Straight = true;
      break;
    }
    default: {  // grid-aligned rectangles: shared edges, shared vertices, overlaps
      std::uniform_int_distribution<int> G(-4, 4), W(1, 4);
      const int X = G(Rng), Y = G(Rng);
      AddRect(S.C, O.X + 10 * X, O.Y + 10 * Y, O.X + 10 * (X + W(Rng)), O.Y + 10 * (Y + W(Rng)));
      S.Straight = true;
      break;
    }
  }
  return S;
}

// The operation on two memberships: union, intersection, difference, symmetric difference.
inline bool Apply(int Op, bool A, bool B) {
  switch (Op) {
    case 0:
      return A || B;
    case 1:
      return A && B;
    case 2:
      return A && !B;
    default:
      return A != B;
  }
}

}  // namespace algebra_test
