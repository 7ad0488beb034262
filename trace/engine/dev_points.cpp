#include "trace/engine/dev_points.h"

#include <memory>

namespace trace {

namespace {

struct TDevPointsPool {
  TDevPoints Points;
  bool InUse = false;
};

TDevPointsPool& Pool() {
  static TDevPointsPool P;
  return P;
}

bool Between(int A, int B, int C) {
  return (A <= B && B <= C) || (C <= B && B <= A);
}

}  // namespace

void TPointList::Grow(int Needed) {
  if (Needed > Capacity()) FPoints.resize(static_cast<std::size_t>(Needed) + 32);
}

void TPointList::Store(TDevPoint P) {
  Grow(FCount + 1);
  FPoints[static_cast<std::size_t>(FCount++)] = P;
}

void TPointList::Append(const TDevPoint* P, int N) {
  Grow(FCount + N);
  for (int I = 0; I < N; ++I) FPoints[static_cast<std::size_t>(FCount++)] = P[I];
}

void TPolyPointList::Clear() {
  TPointList::Clear();
  FPartCount = 0;
}

void TPolyPointList::AddPart(const TPointList& Part) {
  if (FPartCount + 1 > static_cast<int>(FPartCounts.size()))
    FPartCounts.resize(static_cast<std::size_t>(FPartCount) + 1 + 32);
  FPartCounts[static_cast<std::size_t>(FPartCount++)] = Part.Count();
  Append(Part.Points(), Part.Count());
}

TDevPoints* AcquireDevPoints() {
  TDevPointsPool& P = Pool();
  if (P.InUse) return std::make_unique<TDevPoints>().release();
  P.InUse = true;
  ResetDevPoints(P.Points);
  return &P.Points;
}

void ReleaseDevPoints(TDevPoints* D) {
  TDevPointsPool& P = Pool();
  if (D == &P.Points)
    P.InUse = false;
  else
    std::unique_ptr<TDevPoints>{D};
}

void ResetDevPoints(TDevPoints& D) {
  D.Polygons.Clear();
  D.Polylines.Clear();
  D.Current.Clear();
}

void AddPoint(TPointList& List, TDevPoint P) {
  if (List.Count() == 0) {
    List.Store(P);
    List.Anchor = P;
    List.Last = P;
    return;
  }
  if (P == List.Last) return;
  List.Last = P;
  if (List.Count() == 1) {
    List.RunStart = P;
    List.Store(P);
    return;
  }
  const TDevPoint A = List.Anchor, R = List.RunStart;
  // Exact for device coordinates within +-2^30.
  const auto D = [](int U, int V) { return std::int64_t(U) - V; };
  const std::int64_t Cross1 = D(P.X, A.X) * D(R.Y, A.Y);
  const std::int64_t Cross2 = D(R.X, A.X) * D(P.Y, A.Y);
  if (Cross1 == Cross2 && Between(A.X, R.X, P.X) && Between(A.Y, R.Y, P.Y)) {
    List.Overwrite(P);
    return;
  }
  List.Anchor = List[List.Count() - 1];
  List.RunStart = P;
  List.Store(P);
}

void FlushPart(TDevPoints& D) {
  TPointList& C = D.Current;
  if (C.Count() > 1) {
    if (C.Closed) {
      AddPoint(C, C[0]);
      D.Polygons.AddPart(C);
    } else {
      D.Polylines.AddPart(C);
    }
  }
  C.Clear();
}

void AddRect(TDevPoints& D, const TDevRect& Rect, bool Closed) {
  FlushPart(D);
  AddPoint(D.Current, {Rect.Left, Rect.Bottom});
  AddPoint(D.Current, {Rect.Left, Rect.Top});
  AddPoint(D.Current, {Rect.Right, Rect.Top});
  AddPoint(D.Current, {Rect.Right, Rect.Bottom});
  D.Current.Closed = Closed;
  if (!Closed) AddPoint(D.Current, {Rect.Left, Rect.Bottom});
}

}  // namespace trace
