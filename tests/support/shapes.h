// Shapes for the geometry tests and the benchmarks, around a given origin:
// stars (with arcs, holes and several parts), rectangles and grids of cells
// touching at sides and corners, checkerboards, fans meeting at one point,
// discs, and lines for zones (zig-zags with steps near the width,
// self-crossing walks, arcs). Every generator draws from the Rng it is given
// in a fixed order, so a seed names the same shapes in every run.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace test_shapes {

using geo::TContour;
using geo::TDPoint;

inline double Uniform(std::mt19937& Rng, double A, double B) {
  return std::uniform_real_distribution<double>(A, B)(Rng);
}

inline void AddRect(TContour& C, double X1, double Y1, double X2, double Y2) {
  C.AddMoveTo({X1, Y1});
  C.AddLineTo({X2, Y1});
  C.AddLineTo({X2, Y2});
  C.AddLineTo({X1, Y2});
  C.AddClose();
}

// A star of N points around O, radii in [R/3, R]; Bulge gives arcs of
// random convexity up to that size between the points.
inline void AddStar(TContour& C, std::mt19937& Rng, TDPoint O, double R, int N, double Bulge = 0,
                    bool Clockwise = false) {
  const double Turn = Clockwise ? -1 : 1;
  for (int I = 0; I < N; ++I) {
    const double A = Turn * 2 * std::numbers::pi * (I + Uniform(Rng, 0.1, 0.9)) / N;
    const double Rad = Uniform(Rng, R / 3, R);
    const TDPoint P{O.X + Rad * std::cos(A), O.Y + Rad * std::sin(A)};
    if (I == 0)
      C.AddMoveTo(P);
    else if (Bulge > 0)
      C.AddArcTo(P, Uniform(Rng, -Bulge, Bulge));
    else
      C.AddLineTo(P);
  }
  if (Bulge > 0)
    C.AddCloseArc(Uniform(Rng, -Bulge, Bulge));
  else
    C.AddClose();
}

inline TContour Star(std::mt19937& Rng, TDPoint O, double R, int N, double Bulge = 0) {
  TContour C;
  AddStar(C, Rng, O, R, N, Bulge);
  return C;
}

// A star with smaller stars inside its inner radius as holes, run either way.
inline TContour StarWithHoles(std::mt19937& Rng, TDPoint O, double R, int N, int Holes,
                              double Bulge = 0) {
  TContour C;
  AddStar(C, Rng, O, R, N, Bulge);
  for (int H = 0; H < Holes; ++H) {
    const double A = 2 * std::numbers::pi * H / Holes;
    const double Off = Holes > 1 ? R * 0.18 : 0;
    AddStar(C, Rng, {O.X + Off * std::cos(A), O.Y + Off * std::sin(A)}, R * 0.13, 7, Bulge * 0.5,
            H % 2 == 1);
  }
  return C;
}

// A star of N points at even angles around O, radii in [R/2, R]; the edges
// ending at points I with I % ArcEvery == ArcAt (none for ArcEvery 0) are
// arcs of convexity up to Bulge.
inline TContour RegularStar(std::mt19937& Rng, TDPoint O, double R, int N, double Bulge,
                            int ArcEvery, int ArcAt) {
  std::uniform_real_distribution<double> Rad(0.5 * R, R), Bend(-Bulge, Bulge);
  TContour C;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * I / N, Q = Rad(Rng);
    const TDPoint P{O.X + Q * std::cos(A), O.Y + Q * std::sin(A)};
    if (I == 0)
      C.AddMoveTo(P);
    else if (ArcEvery > 0 && I % ArcEvery == ArcAt)
      C.AddArcTo(P, Bend(Rng));
    else
      C.AddLineTo(P);
  }
  C.AddClose();
  return C;
}

// A star of N vertices (a multiple of 4) at even angles around O whose every
// other edge is an arc, and which never crosses itself: spikes of four
// vertices, the two at a spike's foot at one radius joined by an arc bending
// inwards, the two at its top at another by an arc bending outwards, radii in
// [R/2, R]. An outward arc of at most a half circle, or an inward one of at
// most a quarter, stays inside the wedge between the rays from O through its
// ends, so edges in neighbouring wedges meet only at their shared vertex.
// Bulge (at most 1) bounds the outward convexities; inward ones are at most
// tan(pi/8) times it.
inline TContour PetalStar(std::mt19937& Rng, TDPoint O, double R, int N, double Bulge) {
  const double InwardLimit = std::tan(std::numbers::pi / 8);
  std::uniform_real_distribution<double> Rad(0.5 * R, R), Bend(0, Bulge);
  TContour C;
  double Q = 0;
  for (int I = 0; I < N; ++I) {
    if (I % 2 == 0) Q = Rad(Rng);
    const double A = 2 * std::numbers::pi * I / N;
    const TDPoint P{O.X + Q * std::cos(A), O.Y + Q * std::sin(A)};
    if (I == 0)
      C.AddMoveTo(P);
    else if (I % 4 == 1)  // foot: bends towards O, to the contour's left
      C.AddArcTo(P, -InwardLimit * Bend(Rng));
    else if (I % 4 == 3)  // top: bends away from O
      C.AddArcTo(P, Bend(Rng));
    else
      C.AddLineTo(P);
  }
  C.AddClose();
  return C;
}

// A random input of the contour algebra's tests; Straight: no arcs.
struct Shape {
  TContour C;
  bool Straight = true;
};

// A star-shaped ring around (CX, CY): vertices at increasing angles, each
// jittered by up to 0.3 of its share of the turn; Arcs bends every other edge.
inline void AddJitteredStar(TContour& C, std::mt19937& Rng, double CX, double CY, double R, int N,
                            bool Arcs, bool Clockwise) {
  std::uniform_real_distribution<double> Radius(0.55 * R, R), Jitter(-0.3, 0.3), Bulge(-0.12, 0.12);
  std::vector<TDPoint> Pts;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * std::numbers::pi * (I + 0.5 + Jitter(Rng)) / N;
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

// Kind % 5: one star, a star with a hole, two stars, cells of a coarse grid
// touching at sides and corners, or a grid-aligned rectangle; around O.
inline Shape RandomShape(std::mt19937& Rng, int Kind, TDPoint O, bool Arcs) {
  Shape S;
  S.Straight = !Arcs;
  std::uniform_real_distribution<double> U(-20, 20);
  const int N = 6 + Rng() % 20;
  switch (Kind % 5) {
    case 0:  // one star
      AddJitteredStar(S.C, Rng, O.X + U(Rng), O.Y + U(Rng), 60, N, Arcs, Rng() % 2);
      break;
    case 1: {  // a star with a hole
      const double CX = O.X + U(Rng), CY = O.Y + U(Rng);
      AddJitteredStar(S.C, Rng, CX, CY, 70, N, Arcs, false);
      AddJitteredStar(S.C, Rng, CX, CY, 25, 5 + Rng() % 6, Arcs, true);
      break;
    }
    case 2:  // two parts
      AddJitteredStar(S.C, Rng, O.X - 45 + U(Rng) / 4, O.Y + U(Rng), 35, N, Arcs, false);
      AddJitteredStar(S.C, Rng, O.X + 45 + U(Rng) / 4, O.Y + U(Rng), 35, N, Arcs, true);
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

// Cells of an integer grid (side Cell), each kept with probability Fill,
// written as separate squares that share sides and corners.
inline TContour GridCells(std::mt19937& Rng, TDPoint O, int N, double Cell, double Fill) {
  TContour C;
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J)
      if (Uniform(Rng, 0, 1) < Fill)
        AddRect(C, O.X + I * Cell, O.Y + J * Cell, O.X + (I + 1) * Cell, O.Y + (J + 1) * Cell);
  return C;
}

// Squares touching at their corners only.
inline TContour Checkerboard(TDPoint O, int N, double Cell) {
  TContour C;
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J)
      if ((I + J) % 2 == 0)
        AddRect(C, O.X + I * Cell, O.Y + J * Cell, O.X + (I + 1) * Cell, O.Y + (J + 1) * Cell);
  return C;
}

// Every other triangle of a fan of N around O, starting at angle Start.
inline TContour Fan(TDPoint O, double R, int N, double Start) {
  TContour C;
  for (int I = 0; I < N; I += 2) {
    const double A = Start + 2 * std::numbers::pi * I / N;
    const double B = Start + 2 * std::numbers::pi * (I + 1) / N;
    C.AddMoveTo(O);
    C.AddLineTo({O.X + R * std::cos(A), O.Y + R * std::sin(A)});
    C.AddLineTo({O.X + R * std::cos(B), O.Y + R * std::sin(B)});
    C.AddClose();
  }
  return C;
}

// A full circle as two half circles.
inline void AddDisc(TContour& C, TDPoint O, double R) {
  C.AddMoveTo({O.X + R, O.Y});
  C.AddArcTo({O.X - R, O.Y}, 1);
  C.AddCloseArc(1);
}

// An N x N square with a hole in every unit cell, square or round, and a
// small square island in the holes of two cells in three.
inline TContour RowsOfHoles(TDPoint O, int N, bool Round) {
  TContour C;
  AddRect(C, O.X, O.Y, O.X + N, O.Y + N);
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J) {
      if (Round)
        AddDisc(C, {O.X + I + 0.5, O.Y + J + 0.5}, 0.3);
      else
        AddRect(C, O.X + I + 0.2, O.Y + J + 0.2, O.X + I + 0.8, O.Y + J + 0.8);
      if ((I + J) % 3) AddRect(C, O.X + I + 0.4, O.Y + J + 0.4, O.X + I + 0.6, O.Y + J + 0.6);
    }
  return C;
}

// An open random walk of N steps of about Step; Turn bounds the change of
// direction per step (pi: any direction, so the walk crosses itself);
// Bulge > 0 makes arcs.
inline TContour Walk(std::mt19937& Rng, TDPoint O, double Step, int N, double Turn,
                     double Bulge = 0, bool Closed = false) {
  TContour C;
  TDPoint P = O;
  double Dir = Uniform(Rng, 0, 2 * std::numbers::pi);
  C.AddMoveTo(P);
  for (int I = 0; I < N; ++I) {
    Dir += Uniform(Rng, -Turn, Turn);
    const double L = Step * Uniform(Rng, 0.5, 1.5);
    P = {P.X + L * std::cos(Dir), P.Y + L * std::sin(Dir)};
    if (Bulge > 0)
      C.AddArcTo(P, Uniform(Rng, -Bulge, Bulge));
    else
      C.AddLineTo(P);
  }
  if (Closed) C.AddClose();
  return C;
}

// A zig-zag line: steps of about Step alternating up and down.
inline TContour ZigZag(std::mt19937& Rng, TDPoint O, double Step, int N) {
  TContour C;
  C.AddMoveTo(O);
  double X = O.X;
  for (int I = 1; I <= N; ++I) {
    X += Step * Uniform(Rng, 0.4, 0.6);
    C.AddLineTo({X, O.Y + (I % 2 ? Step : 0)});
  }
  return C;
}

}  // namespace test_shapes
