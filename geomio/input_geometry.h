// One geometry of the input, as a command contour, with where it came from
// and its attributes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "geomio/feature_fields.h"

namespace geomio {

struct TInputGeometry {
  std::string Label;  // "line 3", "feature 2": how messages and output name it
  int Line = 0;       // input line where it starts
  geo::TContour Contour;
  int64_t Id = 0;                   // the feature's identifier, or its number in text input
  std::vector<TFieldValue> Values;  // one per field of its set, or none
  bool DroppedZM = false;           // it had Z or M values, which a contour does not keep
};

// How many of the geometries had Z or M values dropped.
inline std::size_t DroppedZMCount(const std::vector<TInputGeometry>& Geometries) {
  std::size_t N = 0;
  for (const TInputGeometry& G : Geometries) N += G.DroppedZM;
  return N;
}

// The geometries of one input (a file's layer, or text) with what they share.
struct TInputSet {
  std::string Source;  // how messages name the input
  std::string Layer;   // the layer read, empty for text
  std::string Crs;     // the coordinate system as WKT, empty when unknown
  std::vector<TFieldDef> Fields;
  std::vector<TInputGeometry> Geometries;
};

}  // namespace geomio
