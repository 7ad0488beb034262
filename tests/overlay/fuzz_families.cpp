#include "fuzz_families.h"

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

#include "addonlib/geometry/measures.h"
#include "fuzz_checks.h"
#include "shapes.h"

namespace overlay_fuzz {

namespace {

using geo::TDPoint;
using namespace test_shapes;
constexpr double Pi = std::numbers::pi;

// ---- Inputs ----

std::string Dump(const TContour& C) {
  std::ostringstream S;
  S.precision(17);
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const geo::TComplexCommand K = C.GetCommand(I);
    switch (K.Kind) {
      case geo::ccMoveTo:
        S << "  C.AddMoveTo({" << K.Point.X << ", " << K.Point.Y << "});\n";
        break;
      case geo::ccLineTo:
        S << "  C.AddLineTo({" << K.Point.X << ", " << K.Point.Y << "});\n";
        break;
      case geo::ccArcTo:
        S << "  C.AddArcTo({" << K.Point.X << ", " << K.Point.Y << "}, " << K.Convexity << ");\n";
        break;
      case geo::ccClose:
        S << "  C.AddClose();\n";
        break;
      case geo::ccCloseArc:
        S << "  C.AddCloseArc(" << K.Convexity << ");\n";
        break;
    }
  }
  return S.str();
}

// Shapes are made in local units and placed by Put: far from the origin, or
// scaled to tiny and huge magnitudes.
struct TPlace {
  TDPoint O{0, 0};
  double S = 1;
  TDPoint operator()(double X, double Y) const { return {O.X + S * X, O.Y + S * Y}; }
};

struct TBuilder {
  TContour C;
  TPlace P;
  void Move(double X, double Y) { C.AddMoveTo(P(X, Y)); }
  void Line(double X, double Y) { C.AddLineTo(P(X, Y)); }
  void Arc(double X, double Y, double Cv) { C.AddArcTo(P(X, Y), Cv); }
  void Rect(double X1, double Y1, double X2, double Y2, bool Cw = false) {
    Move(X1, Y1);
    if (Cw) {
      Line(X1, Y2), Line(X2, Y2), Line(X2, Y1);
    } else {
      Line(X2, Y1), Line(X2, Y2), Line(X1, Y2);
    }
    C.AddClose();
  }
  void Disc(double X, double Y, double R) {
    Move(X + R, Y);
    Arc(X - R, Y, 1);
    C.AddCloseArc(1);
  }
};

int Pick(std::mt19937& Rng, int A, int B) {
  return std::uniform_int_distribution<>(A, B)(Rng);
}

// Fans meeting at one point, turned so that edges often coincide.
void MakeFan(std::mt19937& Rng, TBuilder& B, bool Second, int N1) {
  const int N = Second && Pick(Rng, 0, 1) ? N1 : 2 * Pick(Rng, 2, 10);
  const double R = Pick(Rng, 0, 2) ? 10 : Pick(Rng, 5, 12);
  double Start = 0;
  if (Second) {
    switch (Pick(Rng, 0, 2)) {
      case 0:
        Start = 2 * Pi * Pick(Rng, 0, N) / N;
        break;
      case 1:
        Start = Uniform(Rng, 0, 2 * Pi);
        break;
      default:
        Start = Pi / N;
        break;
    }
  }
  for (int I = 0; I < N; I += 2) {
    const double A = Start + 2 * Pi * I / N, C = Start + 2 * Pi * (I + 1) / N;
    B.Move(0, 0);
    B.Line(R * std::cos(A), R * std::sin(A));
    B.Line(R * std::cos(C), R * std::sin(C));
    B.C.AddClose();
  }
}

// Cells of a small integer grid, every other one or at random.
void MakeGrid(std::mt19937& Rng, TBuilder& B, double DX, double DY) {
  const int N = Pick(Rng, 2, 7);
  const double Fill = Uniform(Rng, 0.3, 0.8);
  const bool Checker = Pick(Rng, 0, 2) == 0;
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J)
      if (Checker ? (I + J) % 2 == 0 : Uniform(Rng, 0, 1) < Fill)
        B.Rect(DX + I, DY + J, DX + I + 1, DY + J + 1, Pick(Rng, 0, 3) == 0);
}

// A checkerboard, against one shifted by whole or half cells, or a box
// through its corners.
void MakeChecker(std::mt19937& Rng, TBuilder& B, bool Second) {
  const int N = Pick(Rng, 2, 7);
  double DX = 0, DY = 0;
  if (Second) {
    if (Pick(Rng, 0, 3) == 0) {
      B.Rect(Pick(Rng, 0, 2), Pick(Rng, 0, 2), Pick(Rng, 3, 6), Pick(Rng, 3, 6));
      return;
    }
    const double Steps[] = {0, 0.5, 1, 1.5, 2, -1, -0.5};
    DX = Steps[Pick(Rng, 0, 6)];
    DY = Steps[Pick(Rng, 0, 6)];
  }
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J)
      if ((I + J) % 2 == 0) B.Rect(DX + I, DY + J, DX + I + 1, DY + J + 1);
}

// A shell with holes that touch it and each other at vertices: cells and
// diamonds of an integer grid, a diamond's corners on the shell's sides.
void MakeHoles(std::mt19937& Rng, TBuilder& B) {
  const int N = Pick(Rng, 3, 8);
  const double X0 = Pick(Rng, -2, 2), Y0 = Pick(Rng, -2, 2);
  B.Rect(X0, Y0, X0 + N, Y0 + N, Pick(Rng, 0, 1));
  for (int I = 0; I < N; ++I)
    for (int J = 0; J < N; ++J) {
      const int K = Pick(Rng, 0, 5);
      if (K == 0) {
        B.Rect(X0 + I, Y0 + J, X0 + I + 1, Y0 + J + 1, Pick(Rng, 0, 1));
      } else if (K == 1 && (I + J) % 2 == 0) {
        B.Move(X0 + I + 0.5, Y0 + J);
        B.Line(X0 + I + 1, Y0 + J + 0.5);
        B.Line(X0 + I + 0.5, Y0 + J + 1);
        B.Line(X0 + I, Y0 + J + 0.5);
        B.C.AddClose();
      }
    }
}

// A star-shaped polygon with integer vertices: shared edges and collinear
// overlaps with the other operand.
void MakeIntegerStar(std::mt19937& Rng, TBuilder& B) {
  const int N = Pick(Rng, 3, 12);
  const double CX = Pick(Rng, -2, 2), CY = Pick(Rng, -2, 2);
  std::vector<TDPoint> Pts;
  double Last = -10;
  for (int I = 0; I < N; ++I) {
    const double A = 2 * Pi * (I + Uniform(Rng, 0.1, 0.9)) / N;
    const double R = Pick(Rng, 2, 6);
    const TDPoint P{CX + std::round(R * std::cos(A)), CY + std::round(R * std::sin(A))};
    const double Angle = std::atan2(P.Y - CY, P.X - CX);
    const double Ang = Angle < -Pi / 2 / N ? Angle + 2 * Pi : Angle;
    if ((P.X == CX && P.Y == CY) || Ang <= Last + 1e-9) continue;
    Last = Ang;
    Pts.push_back(P);
  }
  if (Pts.size() < 3 || Last - std::atan2(Pts[0].Y - CY, Pts[0].X - CX) >= 2 * Pi - 1e-9) {
    B.Rect(CX - 2, CY - 2, CX + 2, CY + 1);
    return;
  }
  B.Move(Pts[0].X, Pts[0].Y);
  for (size_t I = 1; I < Pts.size(); ++I) B.Line(Pts[I].X, Pts[I].Y);
  B.C.AddClose();
}

// Arcs tangent to lines and to each other: discs touching each other and
// squares, rounded boxes, lenses, discs on one circle.
void MakeArcs(std::mt19937& Rng, TBuilder& B, bool Second) {
  switch (Pick(Rng, 0, 5)) {
    case 0: {  // discs in a row, each touching the next
      double X = Pick(Rng, -3, 0);
      const double R0 = Pick(Rng, 1, 3);
      for (int K = Pick(Rng, 1, 4); K > 0; --K) {
        B.Disc(X + R0, 0, R0);
        X += 2 * R0;
      }
      break;
    }
    case 1: {  // a square with discs touching its sides, inside or out
      const double S = Pick(Rng, 2, 6);
      B.Rect(0, 0, S, S);
      const double R = S / Pick(Rng, 2, 4);
      if (Pick(Rng, 0, 1))
        B.Disc(S + R, S / 2, R);
      else
        B.Disc(S / 2, -R, R);
      if (Second) B.Disc(S / 2, S / 2, S / 2);  // inscribed: hole touching four sides
      break;
    }
    case 2: {  // a box with rounded corners (arcs tangent to its sides)
      const double W = Pick(Rng, 2, 6), H = Pick(Rng, 2, 6), R = Pick(Rng, 1, 2) * 0.5;
      const double C = std::tan(Pi / 8);
      B.Move(R, 0);
      B.Line(W - R, 0);
      B.Arc(W, R, C);
      B.Line(W, H - R);
      B.Arc(W - R, H, C);
      B.Line(R, H);
      B.Arc(0, H - R, C);
      B.Line(0, R);
      B.C.AddCloseArc(C);
      break;
    }
    case 3: {  // a lens between two points of the grid
      const double X = Pick(Rng, -2, 2), Y = Pick(Rng, -2, 2);
      const double Cv[] = {0.25, 0.5, 1, std::tan(Pi / 8)};
      B.Move(X, Y);
      B.Arc(X + Pick(Rng, 1, 4), Y + Pick(Rng, 0, 3), Cv[Pick(Rng, 0, 3)]);
      B.C.AddCloseArc(Cv[Pick(Rng, 0, 3)]);
      break;
    }
    case 4: {  // discs of one centre, or touching inside
      const double R = Pick(Rng, 2, 5);
      B.Disc(0, 0, R);
      if (Pick(Rng, 0, 1)) B.Disc(Second ? 1 : 0, 0, R - (Second ? 1 : Pick(Rng, 1, 2)));
      break;
    }
    default: {  // a star of arcs
      TContour S;
      AddStar(S, Rng, B.P(0, 0), B.P.S * 5, Pick(Rng, 3, 12), 0.6, Pick(Rng, 0, 1));
      for (int32_t I = 0; I < S.CommandCount(); ++I) B.C.AddCommand(S.GetCommand(I));
      break;
    }
  }
}

// Real data's blemishes on an integer star or cells: spikes that go out
// and come back, repeated and collinear vertices, a ring given twice (even-odd:
// it cancels), a ring that encloses nothing.
void MakeDegenerate(std::mt19937& Rng, TBuilder& B) {
  TBuilder Clean{{}, B.P};
  if (Pick(Rng, 0, 1))
    MakeIntegerStar(Rng, Clean);
  else
    MakeGrid(Rng, Clean, 0, 0);
  TDPoint Pen{0, 0};
  for (int32_t I = 0; I < Clean.C.CommandCount(); ++I) {
    const geo::TComplexCommand K = Clean.C.GetCommand(I);
    if (geo::IsToCommand(K) && Pick(Rng, 0, 3) == 0) {
      const TDPoint Mid{(Pen.X + K.Point.X) / 2, (Pen.Y + K.Point.Y) / 2};
      switch (Pick(Rng, 0, 2)) {
        case 0:  // a spike out of the side's middle
          B.C.AddLineTo(Mid);
          B.C.AddLineTo({Mid.X + B.P.S * Pick(Rng, -2, 2), Mid.Y + B.P.S * Pick(Rng, -2, 2)});
          B.C.AddLineTo(Mid);
          break;
        case 1:  // the vertex before repeated
          B.C.AddLineTo(Pen);
          break;
        default:  // a collinear vertex
          B.C.AddLineTo(Mid);
          break;
      }
    }
    B.C.AddCommand(K);
    if (K.Kind == geo::ccMoveTo || geo::IsToCommand(K)) Pen = K.Point;
  }
  switch (Pick(Rng, 0, 2)) {
    case 0:
      B.Rect(1, 1, 2, 3);
      B.Rect(1, 1, 2, 3, true);
      break;
    case 1:
      B.Move(0, 0);
      B.Line(3, 3);
      B.Line(1, 1);
      B.C.AddClose();
      break;
    default:
      break;
  }
}

// Random stars, with holes, and random arc stars.
void MakeStars(std::mt19937& Rng, TBuilder& B, bool Arcs) {
  const TDPoint O = B.P(Uniform(Rng, -2, 2), Uniform(Rng, -2, 2));
  const int N = Pick(Rng, 3, 40);
  const TContour S = Pick(Rng, 0, 1)
                         ? StarWithHoles(Rng, O, 10 * B.P.S, N, Pick(Rng, 1, 4), Arcs ? 0.4 : 0)
                         : Star(Rng, O, 10 * B.P.S, N, Arcs ? 0.4 : 0);
  for (int32_t I = 0; I < S.CommandCount(); ++I) B.C.AddCommand(S.GetCommand(I));
}

// Arcs whose chord is below the contour's point tolerance (1e-6) cannot be
// written: arcs are not made tiny.
TPlace PlaceFor(std::mt19937& Rng, bool Arcs) {
  TPlace P;
  switch (Pick(Rng, 0, 5)) {
    case 0:
    case 1:
      break;
    case 2:
      P.O = {500000, 6000000};
      break;
    case 3:
      P.O = {500000.25 + Pick(Rng, -1000, 1000), 6000000.0 + Pick(Rng, -1000, 1000)};
      P.S = 0.5;
      break;
    case 4:
      P.S = Pick(Rng, 0, 1) && !Arcs ? 1e-6 : 1e-3;
      break;
    default:
      P.S = Pick(Rng, 0, 1) ? 1e6 : 1e3;
      if (Pick(Rng, 0, 1)) P.O = {-3e9, 1e9};
      break;
  }
  return P;
}

void MakeOperand(const std::string& Family, std::mt19937& Rng, TBuilder& B, bool Second,
                 int Shared) {
  if (Family == "fan")
    MakeFan(Rng, B, Second, Shared);
  else if (Family == "grid")
    MakeGrid(Rng, B, Second ? Pick(Rng, -2, 2) * 0.5 : 0, Second ? Pick(Rng, -2, 2) * 0.5 : 0);
  else if (Family == "checker")
    MakeChecker(Rng, B, Second);
  else if (Family == "holes")
    Pick(Rng, 0, 2) ? MakeHoles(Rng, B) : MakeGrid(Rng, B, Pick(Rng, -2, 2), Pick(Rng, -2, 2));
  else if (Family == "integer")
    MakeIntegerStar(Rng, B);
  else if (Family == "arcs")
    MakeArcs(Rng, B, Second);
  else if (Family == "degenerate")
    MakeDegenerate(Rng, B);
  else
    MakeStars(Rng, B, Pick(Rng, 0, 1));
}
}  // namespace

bool RunCase(const std::string& Family, uint32_t Seed, std::string& Report) {
  std::mt19937 Rng(Seed);
  const TPlace Place = PlaceFor(Rng, Family == "arcs" || Family == "stars" || Family == "union");
  TRun Run;
  std::string Inputs;
  if (Family == "union") {
    // Pieces of every family, one contour each.
    const std::string Of = Families[Pick(Rng, 0, 7)];
    std::vector<TContour> In;
    const int N = Pick(Rng, 2, 12);
    for (int K = 0; K < N; ++K) {
      TBuilder B{{}, Place};
      if (Pick(Rng, 0, 5) == 0) {
        In.push_back(std::move(B.C));  // an empty input
        continue;
      }
      MakeOperand(Of, Rng, B, K > 0, 8);
      Inputs += "// input " + std::to_string(K) + "\n" + Dump(B.C);
      In.push_back(std::move(B.C));
    }
    CheckUnion(Run, Rng, In);
    Report = Family + "/" + Of;
  } else {
    TBuilder A{{}, Place}, B{{}, Place};
    const int Shared = 2 * Pick(Rng, 2, 10);
    const int Empty = Pick(Rng, 0, 19);
    if (Empty != 0) MakeOperand(Family, Rng, A, false, Shared);
    if (Empty != 1) MakeOperand(Family, Rng, B, true, Shared);
    CheckCase(Run, Rng, A.C, B.C);
    Inputs = "// A\n" + Dump(A.C) + "// B\n" + Dump(B.C);
    Report = Family;
  }
  if (!Run.Failed) return true;
  Report += " seed " + std::to_string(Seed) + ":" + Run.Log.str() + Inputs;
  return false;
}

}  // namespace overlay_fuzz
