#include "addonlib/geometry/clip.h"

#include <cmath>
#include <utility>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/edge_iter.h"

namespace geo {

namespace {

// A point in the canonical frame of one pass: kept side u > 0, clip line u = 0.
struct TCanon {
  long double U;
  long double V;
};

// The four frames are rotations, so sweeps and convexities keep their sign.
struct TClipFrame {
  bool IsX;
  bool KeepGreater;
  long double Coord;

  TCanon ToCanon(const TDPoint& P) const {
    if (IsX) return KeepGreater ? TCanon{P.X - Coord, P.Y} : TCanon{Coord - P.X, -P.Y};
    return KeepGreater ? TCanon{P.Y - Coord, -P.X} : TCanon{Coord - P.Y, P.X};
  }
  TDPoint ToWorld(const TCanon& C) const {
    long double X, Y;
    if (IsX) {
      X = KeepGreater ? C.U + Coord : Coord - C.U;
      Y = KeepGreater ? C.V : -C.V;
    } else {
      X = KeepGreater ? -C.V : C.V;
      Y = KeepGreater ? C.U + Coord : Coord - C.U;
    }
    return TDPoint{static_cast<double>(X), static_cast<double>(Y)};
  }
};

// Slack of the on-arc test for points computed on the clip line.
constexpr long double ArcParamSlack = 1E-12L;

// The two points where an arc's circle meets the clip line, with their
// positions along the arc: the angle travelled from the arc's start, with the
// gap outside the arc split evenly, so a point just before the start comes
// out slightly negative and one just past the end slightly beyond the sweep.
struct TLineCrossings {
  TCanon P[2];
  long double T[2];
  bool On[2];
  long double Len;

  TLineCrossings(const TCanon& C, long double R, const TCanon& A, long double Sweep) {
    const long double S2 = R * R - C.U * C.U;
    const long double S = S2 > 0 ? std::sqrt(S2) : 0;
    const long double A0 = std::atan2(A.V - C.V, A.U - C.U);
    Len = std::fabs(Sweep);
    const long double Lo = -(TwoPi - Len) / 2;
    for (int I = 0; I < 2; ++I) {
      P[I] = TCanon{0, I == 0 ? C.V - S : C.V + S};
      long double T = std::atan2(P[I].V - C.V, -C.U) - A0;
      if (Sweep < 0) T = -T;
      while (T < Lo) T += TwoPi;
      while (T >= Lo + TwoPi) T -= TwoPi;
      this->T[I] = T;
      On[I] = T >= -ArcParamSlack && T <= Len + ArcParamSlack;
    }
  }

  // Where an arc with one end on each side crosses the line: the last
  // crossing when it enters, the first when it leaves. With an end on the
  // line both circle points may lie on the arc.
  const TCanon& Crossing(bool Entering) const {
    int Best;
    if (On[0] != On[1]) {
      Best = On[0] ? 0 : 1;
    } else if (On[0]) {
      Best = (T[0] > T[1]) == Entering ? 0 : 1;
    } else {
      Best = Excess(0) <= Excess(1) ? 0 : 1;  // rounding: take the nearer one
    }
    return P[Best];
  }
  long double Excess(int I) const { return T[I] < 0 ? -T[I] : T[I] - Len; }
  int FirstAlong() const { return T[0] <= T[1] ? 0 : 1; }
};

// Convexity of the piece From-To of an arc around Center; a piece that has
// shrunk to a point is straight.
double PieceConvexity(const TDPoint& From, const TDPoint& Center, const TDPoint& To,
                      bool Negative) {
  if (SamePoint(From, To)) return 0;
  return ConvexityFromCenter(From, Center, To, Negative);
}

// Whether the part of the iterator's current edge ends with a close.
bool PartIsClosed(TContourEdgeIter It) {
  while (!It.IsLastOfPart()) It.Next();
  return It.IsClosedPart();
}

enum TEdgeCode {
  ecOutside = 0,
  ecEnter = 1,
  ecInside = 2,
  ecLeave = 3,
  ecDipIn = 4,
  ecBulgeOut = 5
};

}  // namespace

TContour ClipHalfPlane(const TContour& In, bool IsX, bool KeepGreater, double Coord) {
  TContour Out;
  const TClipFrame F{IsX, KeepGreater, Coord};
  bool Pending = false;  // the pen left the kept side and stands on the line
  bool Closed = false;   // the current part ends with a close
  TContourEdgeIter It;
  for (bool More = It.Start(In); More; More = It.Next()) {
    const TEdge& E = It.Edge;
    const bool Arc = IsArc(E);
    const bool Negative = E.Angle < 0;
    const TCanon A = F.ToCanon(E.P1), B = F.ToCanon(E.P2);
    // A point on the line is outside, at either end of the edge.
    const bool AIn = A.U > 0, BIn = B.U > 0;
    TEdgeCode Code;
    TDPoint I1{0, 0}, I2{0, 0};
    if (AIn != BIn) {
      Code = AIn ? ecLeave : ecEnter;
      TCanon I;
      if (Arc)
        I = TLineCrossings(F.ToCanon(E.Center), E.Radius, A, E.Angle).Crossing(!AIn);
      else
        I = TCanon{0, A.V - (B.V - A.V) * A.U / (B.U - A.U)};
      I1 = I2 = F.ToWorld(I);
    } else {
      Code = AIn ? ecInside : ecOutside;
      const TCanon C = Arc ? F.ToCanon(E.Center) : TCanon{0, 0};
      if (Arc && std::fabs(C.U) < E.Radius) {
        const TLineCrossings X(C, E.Radius, A, E.Angle);
        const int First = X.FirstAlong();
        const TDPoint FirstPt = F.ToWorld(X.P[First]), SecondPt = F.ToWorld(X.P[1 - First]);
        // A circle that only touches the line leaves the edge as it is.
        if (X.On[0] && X.On[1] && !SamePoint(FirstPt, SecondPt)) {
          // Outside: in at the first point, out at the second; inside the
          // other way round.
          Code = AIn ? ecBulgeOut : ecDipIn;
          I1 = AIn ? SecondPt : FirstPt;
          I2 = AIn ? FirstPt : SecondPt;
        }
      }
    }

    if (It.IsFirstOfPart()) {
      Pending = false;
      Closed = PartIsClosed(It);
      if (AIn) Out.AddMoveTo(E.P1);
    }
    // The rest of the edge from where the pen is to its end.
    auto EdgeTo = [&](double C) {
      if (std::fabs(C) > LineConvexityLimit) {
        if (It.IsClosedPart())
          Out.AddCloseArc(C);
        else
          Out.AddArcTo(E.P2, C);
      } else if (It.IsClosedPart()) {
        Out.AddClose();
      } else {
        Out.AddLineTo(E.P2);
      }
    };
    // Open parts are cut into separate pieces; closed ones run along the line.
    auto Enter = [&]() {
      if (Pending)
        Out.AddLineTo(I1);
      else
        Out.AddMoveTo(I1);
      EdgeTo(Arc ? PieceConvexity(I1, E.Center, E.P2, Negative) : 0);
    };
    auto Leave = [&]() {
      if (Arc)
        Out.AddArcTo(I2, PieceConvexity(E.P1, E.Center, I2, Negative));
      else
        Out.AddLineTo(I2);
      Pending = Closed;
    };
    switch (Code) {
      case ecEnter:
        Enter();
        break;
      case ecInside:
        EdgeTo(E.Convexity);
        break;
      case ecLeave:
        Leave();
        break;
      case ecDipIn:
        if (Pending)
          Out.AddLineTo(I1);
        else
          Out.AddMoveTo(I1);
        Out.AddArcTo(I2, PieceConvexity(I1, E.Center, I2, Negative));
        Pending = Closed;
        break;
      case ecBulgeOut:
        Leave();
        Enter();
        break;
      case ecOutside:
        break;
    }
    if (It.IsClosedPart()) {
      // The part ends outside: close it along the clip line.
      if (Pending && (Code == ecOutside || Code == ecLeave || Code == ecDipIn)) Out.AddClose();
      Pending = false;
    }
  }
  return Out;
}

TContour ClipContourByRect(const TContour& Source, const TDRect& Clip, const TDRect& Bounds) {
  struct TSide {
    bool Cuts;
    bool IsX;
    bool KeepGreater;
    double Coord;
  };
  const TSide Sides[4] = {{Bounds.X1 < Clip.X1, true, true, Clip.X1},
                          {Bounds.Y1 < Clip.Y1, false, true, Clip.Y1},
                          {Bounds.X2 > Clip.X2, true, false, Clip.X2},
                          {Bounds.Y2 > Clip.Y2, false, false, Clip.Y2}};
  // The contour being cut, and the input of the current half-plane pass.
  TContour ClipContour, ClipScratch;
  ClipContour.Assign(&Source);
  for (const TSide& S : Sides) {
    if (!S.Cuts) continue;
    ClipScratch = std::move(ClipContour);
    ClipContour = ClipHalfPlane(ClipScratch, S.IsX, S.KeepGreater, S.Coord);
  }
  return ClipContour;
}

}  // namespace geo
