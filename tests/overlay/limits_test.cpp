// Features at the point tolerance and widths at the spacing of doubles: each
// answer is right to what the engine states (a millionth of a zone's width),
// or refused with a message that names the limit it met.
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "addonlib/overlay/overlay.h"
#include "core/exception.h"
#include "geomio/input_reader.h"
#include "oracle.h"
#include "trace/engine/buffer_zone.h"

namespace {

using geo::TContour;
using std::numbers::pi;

const std::string PointLimit = "допуска совпадения точек (1e-06)";
const std::string DoublesLimit = "числа двойной точности там отстоят на";

// The refusal of a zone of the first geometry at W (else of the difference
// of the first two), or "".
std::string Refusal(const std::string& Wkt, double W = 0) {
  const auto In = geomio::ReadInput(Wkt);
  TContour Z;
  try {
    if (W > 0)
      trace::BuildBufferZone(In[0].Contour, Z, W);
    else
      geoalg::OverlayContours(In[0].Contour, In[1].Contour, geoalg::TOverlayOp::Difference);
  } catch (const core::Exception& E) {
    return E.what();
  }
  return "";
}

std::string Disc(const std::string& X0, const std::string& X1) {
  return "CURVEPOLYGON (CIRCULARSTRING (" + X1 + " 1e9, " + X0 + " 1e9, " + X1 + " 1e9))\n";
}

TEST(OverlayLimits, PastThePointToleranceOrTheSpacingOfDoublesZonesAndBooleansAreRefused) {
  const struct {
    std::string Wkt;
    double W;
    const std::string& Limit;
  } Cases[] = {
      {"LINESTRING (0 0, 0.000001 0)", 1, PointLimit},
      {"POLYGON ((0 0, 1e-6 0, 1e-6 1e-6, 0 1e-6, 0 0))", 1e-7, PointLimit},
      // A step the kernel skips moves this zone by 5e-5 of its width.
      {"LINESTRING (0 0, 1 0, 1 5e-7, 2 5e-7)", 0.01, PointLimit},
      {"LINESTRING (0 0, 1 1)", 1e-12, DoublesLimit},
      {"LINESTRING (0 0, 1 1)", 1e-300, DoublesLimit},
      {"LINESTRING (0 0, 1e16 0)", 1, DoublesLimit},
      {"LINESTRING (0 0, 1e308 0)", 1, DoublesLimit},
      {"LINESTRING (0 0, 1e14 1e14)", 1, DoublesLimit},
      {"LINESTRING (1e7 1e7, 10000001 10000001)", 1e-6, DoublesLimit},
      {"POLYGON ((1e12 0, 1000000000001 0, 1e12 1, 1e12 0))", 0.1, DoublesLimit},
      // At 1e9 the engine joins points 1.8e-6 apart: squares 1e-6 wide, and
      // discs 9.5e-7 apart.
      {"POLYGON ((1e9 1e9, 1000000000.000001 1e9, 1000000000.000001 1000000000.000001, 1e9 1e9))\n"
       "POLYGON ((1e9 1e9, 1e9 1000000000.000001, 999999999.999999 1e9, 1e9 1e9))",
       0, DoublesLimit},
      {Disc("999999999", "1000000001") + Disc("999999999.00000095", "1000000001.00000095"), 0,
       DoublesLimit},
  };
  for (const auto& C : Cases)
    EXPECT_NE(Refusal(C.Wkt, C.W).find(C.Limit), std::string::npos) << C.Wkt << " " << C.W;
}

TEST(OverlayLimits, AnArcOfRadius1e6KeepsItsZone) {
  // It stays an arc, and the zone's ends, shorter than the point tolerance,
  // stay round: a band along a half circle and two half discs.
  const auto Arc = geomio::ReadInput("CIRCULARSTRING (0 0, 1e-6 1e-6, 2e-6 0)");
  TContour Z;
  const double R = 1e-6, W = 1e-7, Want = 2 * W * pi * R + pi * W * W;
  trace::BuildBufferZone(Arc[0].Contour, Z, W);
  EXPECT_NEAR(oracle::OrientedArea(Z), Want, 1e-6 * Want);
}

}  // namespace
