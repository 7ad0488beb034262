#include "geomio/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

// One drawing step of a path: its letter and numbers.
struct TStep {
  char Op;
  std::vector<double> Args;
};

std::vector<TStep> ParsePath(const std::string& D) {
  std::vector<TStep> Steps;
  std::istringstream In(D);
  char C;
  while (In >> C) {
    if (std::isalpha(static_cast<unsigned char>(C))) {
      Steps.push_back({C, {}});
    } else {
      In.putback(C);
      double V;
      In >> V;
      Steps.back().Args.push_back(V);
    }
  }
  return Steps;
}

std::string Between(const std::string& S, const std::string& Before, const std::string& After,
                    size_t From = 0) {
  const size_t A = S.find(Before, From);
  if (A == std::string::npos) return "";
  const size_t B = S.find(After, A + Before.size());
  return S.substr(A + Before.size(), B - A - Before.size());
}

// Centre of an SVG arc from its end points and flags (circle, no rotation),
// by the endpoint-to-centre conversion of the SVG implementation notes.
geo::TDPoint SvgArcCentre(double X1, double Y1, double R, bool Large, bool Sweep, double X2,
                          double Y2) {
  const double Xp = (X1 - X2) / 2, Yp = (Y1 - Y2) / 2;
  const double Num = R * R * R * R - R * R * Yp * Yp - R * R * Xp * Xp;
  const double Den = R * R * Yp * Yp + R * R * Xp * Xp;
  const double K = (Large != Sweep ? 1 : -1) * std::sqrt(std::max(0.0, Num / Den));
  return {K * Yp + (X1 + X2) / 2, -K * Xp + (Y1 + Y2) / 2};
}

TEST(SvgWriter, ArcsKeepTheirCentreWithNorthUp) {
  const double C = std::tan(3.141592653589793 / 8);  // a quarter turn
  struct {
    double Convexity;
    geo::TDPoint Centre;
    bool Large;
  } const Cases[] = {
      {C, {500050, 6000050}, false},      // counter-clockwise, bulging south
      {-C, {500050, 5999950}, false},     // clockwise, bulging north
      {1 / C, {500050, 5999950}, true},   // three quarters counter-clockwise
      {-1 / C, {500050, 6000050}, true},  // three quarters clockwise
  };
  for (const auto& K : Cases) {
    geo::TContour Arc;
    Arc.AddMoveTo({500000, 6000000});
    Arc.AddArcTo({500100, 6000000}, K.Convexity);
    geo::TContour Mark;  // a point far north, to see the flip
    Mark.AddMoveTo({500000, 6000300});
    Mark.AddLineTo({500001, 6000300});
    const std::string Svg = SvgPicture({{&Mark, "mark"}}, {{&Arc, "arc <1> & \"2\""}});

    std::istringstream Origin(Between(Svg, "<!-- view origin: x ", " (map"));
    double X0, Y0;
    std::string Comma, Y;
    Origin >> X0 >> Comma >> Y >> Y0;
    ASSERT_TRUE(Origin) << Svg;

    const auto Res = ParsePath(
        Between(Svg, "<path class=\"line\" d=\"", "\"", Svg.find("<g class=\"result\">")));
    ASSERT_EQ(Res.size(), 2u) << Svg;
    ASSERT_EQ(Res[1].Op, 'A');
    ASSERT_EQ(Res[1].Args.size(), 7u);
    const auto& A = Res[1].Args;
    EXPECT_NEAR(A[0], geo::Distance(K.Centre, {500000, 6000000}), 1e-6);
    EXPECT_EQ(A[3] == 1, K.Large);
    const geo::TDPoint Page =
        SvgArcCentre(Res[0].Args[0], Res[0].Args[1], A[0], A[3] == 1, A[4] == 1, A[5], A[6]);
    EXPECT_NEAR(X0 + Page.X, K.Centre.X, 1e-6) << K.Convexity;
    EXPECT_NEAR(Y0 - Page.Y, K.Centre.Y, 1e-6) << K.Convexity;

    // North is up: the mark lies above the arc, and everything inside the view box.
    const auto M = ParsePath(Between(Svg, "<path class=\"line\" d=\"", "\""));
    EXPECT_LT(M[0].Args[1], Res[0].Args[1]);
    std::istringstream Box(Between(Svg, "viewBox=\"", "\""));
    double Bx, By, W, H;
    Box >> Bx >> By >> W >> H;
    for (const auto* Steps : {&M, &Res}) {
      for (const TStep& S : *Steps) {
        const double X = S.Args[S.Args.size() - 2], Yp = S.Args.back();
        EXPECT_TRUE(X > 0 && X < W && Yp > 0 && Yp < H)
            << X << " " << Yp << " in " << W << "x" << H;
      }
    }
    EXPECT_NE(Svg.find("<title>arc &lt;1&gt; &amp; &quot;2&quot;</title>"), std::string::npos);
  }
}

TEST(SvgWriter, AreasAndLinesAreDrawnApart) {
  const geo::TContour Parcel = test::Wkt(
      "GEOMETRYCOLLECTION (POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0), (2 2, 4 2, 4 4, 2 2)), "
      "LINESTRING (20 0, 30 0))");
  const std::string Svg = SvgPicture({{&Parcel, "in"}}, {});
  const auto Area = ParsePath(Between(Svg, "<path class=\"area\" d=\"", "\""));
  std::string Ops;
  for (const TStep& S : Area) Ops += S.Op;
  EXPECT_EQ(Ops, "MLLLLZMLLLZ");
  const auto Line = ParsePath(Between(Svg, "<path class=\"line\" d=\"", "\""));
  ASSERT_EQ(Line.size(), 2u);
  EXPECT_NEAR(Line[1].Args[0] - Line[0].Args[0], 10, 1e-9);
  EXPECT_NE(Svg.find("fill-rule: evenodd"), std::string::npos);
  // Nothing to draw still gives a valid picture.
  EXPECT_EQ(SvgPicture({}, {}).rfind("<svg ", 0), 0u);
}

}  // namespace
}  // namespace geomio
