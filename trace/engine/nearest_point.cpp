#include "trace/engine/nearest_point.h"

#include <algorithm>
#include <limits>

namespace trace {

namespace {

constexpr int32_t LeafSize = 8;
// The tail is scanned on every query; beyond this share of the tree it is
// cheaper to rebuild.
constexpr int32_t MinTailForRebuild = 256;

// Lower bound of SquaredDistance from P to any point of the box. Rounding is
// monotonic, so it never exceeds the computed distance of a point inside.
double BoxDistance(double MinX, double MinY, double MaxX, double MaxY, const TDPoint& P) {
  double DX = 0, DY = 0;
  if (P.X < MinX)
    DX = MinX - P.X;
  else if (P.X > MaxX)
    DX = P.X - MaxX;
  if (P.Y < MinY)
    DY = MinY - P.Y;
  else if (P.Y > MaxY)
    DY = P.Y - MaxY;
  return DX * DX + DY * DY;
}

struct TBest {
  double D2 = std::numeric_limits<double>::infinity();
  int32_t Index = -1;
  void Offer(double D, int32_t I) {
    if (Index < 0 || D < D2 || (D == D2 && I < Index)) {
      D2 = D;
      Index = I;
    }
  }
};

}  // namespace

void TNearestPointIndex::Reset() {
  FOrder.clear();
  FNodes.clear();
  FBuilt = 0;
  FCount = 0;
}

void TNearestPointIndex::Update(const geo::TTDPointList& Points) {
  const int32_t N = Points.Count();
  if (N < FCount) {
    Reset();
  }
  FCount = N;
  if (FCount - FBuilt <= std::max(MinTailForRebuild, FBuilt / 4)) return;
  FOrder.resize(static_cast<size_t>(N));
  for (int32_t I = 0; I < N; ++I) FOrder[static_cast<size_t>(I)] = I;
  FNodes.clear();
  FNodes.reserve(static_cast<size_t>(2 * (N / LeafSize + 1)));
  Build(Points, 0, N, 0);
  FBuilt = N;
}

int32_t TNearestPointIndex::Build(const geo::TTDPointList& Points, int32_t Begin, int32_t End,
                                  int Depth) {
  TNode Node{std::numeric_limits<double>::infinity(),
             std::numeric_limits<double>::infinity(),
             -std::numeric_limits<double>::infinity(),
             -std::numeric_limits<double>::infinity(),
             Begin,
             End,
             -1,
             -1};
  for (int32_t I = Begin; I < End; ++I) {
    const TDPoint& P = *Points.Ptr(FOrder[static_cast<size_t>(I)]);
    Node.MinX = std::min(Node.MinX, P.X);
    Node.MinY = std::min(Node.MinY, P.Y);
    Node.MaxX = std::max(Node.MaxX, P.X);
    Node.MaxY = std::max(Node.MaxY, P.Y);
  }
  const int32_t Self = static_cast<int32_t>(FNodes.size());
  FNodes.push_back(Node);
  if (End - Begin <= LeafSize || Depth > 60) return Self;
  const bool ByX = Node.MaxX - Node.MinX >= Node.MaxY - Node.MinY;
  const int32_t Mid = Begin + (End - Begin) / 2;
  std::nth_element(FOrder.begin() + Begin, FOrder.begin() + Mid, FOrder.begin() + End,
                   [&](int32_t A, int32_t B) {
                     const TDPoint& PA = *Points.Ptr(A);
                     const TDPoint& PB = *Points.Ptr(B);
                     return ByX ? PA.X < PB.X : PA.Y < PB.Y;
                   });
  const int32_t Left = Build(Points, Begin, Mid, Depth + 1);
  const int32_t Right = Build(Points, Mid, End, Depth + 1);
  FNodes[static_cast<size_t>(Self)].Left = Left;
  FNodes[static_cast<size_t>(Self)].Right = Right;
  return Self;
}

int32_t TNearestPointIndex::Nearest(const geo::TTDPointList& Points, const TDPoint& P,
                                    double& D2) const {
  TBest Best;
  if (!FNodes.empty()) {
    int32_t Stack[128];
    int Top = 0;
    Stack[Top++] = 0;
    while (Top > 0) {
      const TNode& Node = FNodes[static_cast<size_t>(Stack[--Top])];
      // Equal bounds must still be looked into: a lower index may tie.
      if (Best.Index >= 0 && BoxDistance(Node.MinX, Node.MinY, Node.MaxX, Node.MaxY, P) > Best.D2)
        continue;
      if (Node.Left < 0) {
        for (int32_t I = Node.Begin; I < Node.End; ++I) {
          const int32_t V = FOrder[static_cast<size_t>(I)];
          Best.Offer(SquaredDistance(*Points.Ptr(V), P), V);
        }
        continue;
      }
      const TNode& L = FNodes[static_cast<size_t>(Node.Left)];
      const TNode& R = FNodes[static_cast<size_t>(Node.Right)];
      const double DL = BoxDistance(L.MinX, L.MinY, L.MaxX, L.MaxY, P);
      const double DR = BoxDistance(R.MinX, R.MinY, R.MaxX, R.MaxY, P);
      // The nearer child is taken first (pushed last).
      if (DL <= DR) {
        Stack[Top++] = Node.Right;
        Stack[Top++] = Node.Left;
      } else {
        Stack[Top++] = Node.Left;
        Stack[Top++] = Node.Right;
      }
    }
  }
  for (int32_t V = FBuilt; V < FCount; ++V) Best.Offer(SquaredDistance(*Points.Ptr(V), P), V);
  D2 = Best.D2;
  return Best.Index;
}

}  // namespace trace
