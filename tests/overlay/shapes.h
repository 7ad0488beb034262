// Random inputs of the families that real data is full of: stars, stars with
// holes, grids of touching cells, checkerboards, fans meeting at one point,
// discs, and lines for zones (zig-zags with steps near the width,
// self-crossing walks, arcs).
#pragma once

#include <cmath>
#include <numbers>
#include <random>

#include "addonlib/geometry/contour.h"

namespace overlay_test {

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

}  // namespace overlay_test
