// A uniform grid over edge rectangles, for the union graph's crossing search.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "addonlib/geometry/rect.h"

namespace geoalg {

using geo::TDRect;

// Uniform grid over the rectangles of the edges in ContourEdges[1]: the
// crossing search asks it for the edges whose rectangles may meet one edge
// of input 0 instead of scanning every edge of input 1.
class TCrossingIndex {
 public:
  TCrossingIndex(const TDRect& Bounds, int64_t ExpectedCount) : FBounds(Bounds) {
    const double W = std::max(geo::RectWidth(Bounds), 1e-300);
    const double H = std::max(geo::RectHeight(Bounds), 1e-300);
    const double Cells = std::clamp<double>(static_cast<double>(ExpectedCount), 1, 1 << 22);
    FCols = std::clamp(static_cast<int32_t>(std::sqrt(Cells * W / H)), 1, 4096);
    FRows = std::clamp(static_cast<int32_t>(Cells / FCols), 1, 4096);
    FCellW = W / FCols;
    FCellH = H / FRows;
    FCells.resize(static_cast<size_t>(FCols) * FRows);
  }

  int64_t Entries() const { return FEntries; }

  void Insert(int32_t Edge, const TDRect& R) {
    ++FEntries;
    int32_t C1, C2, R1, R2;
    Range(R, C1, C2, R1, R2);
    if (static_cast<int64_t>(C2 - C1 + 1) * (R2 - R1 + 1) > 64) {
      FLarge.push_back(Edge);
      return;
    }
    for (int32_t Row = R1; Row <= R2; ++Row)
      for (int32_t Col = C1; Col <= C2; ++Col) FCells[Row * FCols + Col].push_back(Edge);
  }

  // Every edge whose rectangle may meet R, possibly repeated.
  template <class F>
  void Query(const TDRect& R, F&& Visit) const {
    int32_t C1, C2, R1, R2;
    Range(R, C1, C2, R1, R2);
    for (int32_t Row = R1; Row <= R2; ++Row)
      for (int32_t Col = C1; Col <= C2; ++Col)
        for (int32_t E : FCells[Row * FCols + Col]) Visit(E);
    for (int32_t E : FLarge) Visit(E);
  }

 private:
  int32_t Clamp(double V, int32_t N) const {
    if (!(V > 0)) return 0;
    if (V >= N - 1) return N - 1;
    return static_cast<int32_t>(V);
  }
  // Monotone in the coordinates, so rectangles that touch share a cell.
  void Range(const TDRect& R, int32_t& C1, int32_t& C2, int32_t& R1, int32_t& R2) const {
    C1 = Clamp(std::floor((R.X1 - FBounds.X1) / FCellW), FCols);
    C2 = Clamp(std::floor((R.X2 - FBounds.X1) / FCellW), FCols);
    R1 = Clamp(std::floor((R.Y1 - FBounds.Y1) / FCellH), FRows);
    R2 = Clamp(std::floor((R.Y2 - FBounds.Y1) / FCellH), FRows);
  }

  TDRect FBounds;
  int32_t FCols, FRows;
  double FCellW, FCellH;
  std::vector<std::vector<int32_t>> FCells;
  std::vector<int32_t> FLarge;
  int64_t FEntries = 0;
};

}  // namespace geoalg
