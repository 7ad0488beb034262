// Device points of a style sample: parts collected point by point into
// polygons (closed parts) and polylines (open parts), free of repeated and
// collinear intermediate points. Plain integers, so that every view draws
// them with its own device calls.
#pragma once

#include <cstdint>
#include <vector>

namespace trace {

// A device pixel position.
struct TDevPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TDevPoint&, const TDevPoint&) = default;
};

class TPointList {
 public:
  bool Closed = false;

  int Count() const { return FCount; }
  int Capacity() const { return static_cast<int>(FPoints.size()); }
  const TDevPoint* Points() const { return FPoints.data(); }
  const TDevPoint& operator[](int I) const { return FPoints[static_cast<std::size_t>(I)]; }

  // The point before the last stored one, the first point stored after it,
  // and the last point offered.
  TDevPoint Anchor, RunStart, Last;

  // Empties the list; the capacity stays.
  void Clear() { FCount = 0; }

 protected:
  void Store(TDevPoint P);
  void Append(const TDevPoint* P, int N);
  void Overwrite(TDevPoint P) { FPoints[static_cast<std::size_t>(FCount - 1)] = P; }
  friend void AddPoint(TPointList& List, TDevPoint P);

 private:
  void Grow(int Needed);
  std::vector<TDevPoint> FPoints;
  int FCount = 0;
};

class TPolyPointList : public TPointList {
 public:
  int PartCount() const { return FPartCount; }
  int PartCounts(int I) const { return FPartCounts[static_cast<std::size_t>(I)]; }

  void Clear();
  // Appends the points of Part as one more part.
  void AddPart(const TPointList& Part);

 private:
  std::vector<std::int32_t> FPartCounts;
  int FPartCount = 0;
};

struct TDevPoints {
  TPolyPointList Polygons;
  TPolyPointList Polylines;
  // The part being collected.
  TPointList Current;
};

// Device rectangle; Right and Bottom lie outside, as the device has them.
struct TDevRect {
  int Left, Top, Right, Bottom;
};

// The module's pooled instance while it is free, else a new one; give it
// back with ReleaseDevPoints, which frees all but the pooled one.
TDevPoints* AcquireDevPoints();
void ReleaseDevPoints(TDevPoints* D);
void ResetDevPoints(TDevPoints& D);

void AddPoint(TPointList& List, TDevPoint P);
// Moves the current part to the polygons (closed, after its first point
// again) or to the polylines (open); a part of one point is dropped.
void FlushPart(TDevPoints& D);
void AddRect(TDevPoints& D, const TDevRect& Rect, bool Closed);
inline void FinishDevPoints(TDevPoints& D) {
  FlushPart(D);
}

// Hands a pooled or new TDevPoints to one scope.
class TDevPointsLease {
 public:
  TDevPointsLease() : FPoints(AcquireDevPoints()) {}
  ~TDevPointsLease() { ReleaseDevPoints(FPoints); }
  TDevPointsLease(const TDevPointsLease&) = delete;
  TDevPointsLease& operator=(const TDevPointsLease&) = delete;
  TDevPoints& operator*() const { return *FPoints; }
  TDevPoints* operator->() const { return FPoints; }

 private:
  TDevPoints* FPoints;
};

}  // namespace trace
