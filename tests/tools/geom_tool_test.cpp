#include "tools/trace-geom/geom_tool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "geomio/enclosed_area.h"
#include "geomio/input_reader.h"
#include "geomio/json_value.h"
#include "tests/geomio/geomio_test_util.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace geomio {
namespace {

constexpr double Pi = 3.141592653589793;

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

TRun RunTool(std::vector<std::string> Args, const std::string& Input = "") {
  std::istringstream In(Input);
  std::ostringstream Out, Err;
  const int Status = RunGeomTool(Args, In, Out, Err);
  return {Status, Out.str(), Err.str()};
}

// Areas of the WKT lines a run wrote.
std::vector<double> AreasOf(const std::string& Wkt) {
  std::vector<double> A;
  for (const TInputGeometry& G : ReadInput(Wkt)) A.push_back(EnclosedArea(G.Contour));
  return A;
}

bool OneLine(const std::string& S) {
  return !S.empty() && S.find('\n') == S.size() - 1;
}

TEST(GeomTool, BadUsageAndInputExitWithTwoAndOneLine) {
  struct {
    std::vector<std::string> Args;
    std::string Input;
    const char* Err;
  } const Cases[] = {
      {{}, "", "no command given"},
      {{"frobnicate"}, "", "unknown command 'frobnicate'"},
      {{"buffer"}, "", "buffer needs --width"},
      {{"buffer", "--width", "-1"}, "", "--width needs a positive number, not '-1'"},
      {{"buffer", "--width=abc"}, "", "--width needs a positive number, not 'abc'"},
      {{"buffer", "--width"}, "", "--width needs a value"},
      {{"area", "--width", "3"}, "", "--width applies to buffer only"},
      {{"union", "--format", "png"}, "", "unknown format 'png'"},
      {{"area", "a.wkt", "b.wkt"}, "", "more than one input file"},
      {{"area", "--bogus"}, "", "unknown option --bogus"},
      {{"area", "-x"}, "", "unknown option -x"},
      {{"area", "/nonexistent/in.wkt"}, "", "cannot open /nonexistent/in.wkt"},
      {{"area", TRACE_DATA_DIR}, "", "cannot read " TRACE_DATA_DIR},
      {{"area"},
       "LINESTRING (0 0, 1 1)\n\n# x\nPOINT (3 4)\n",
       "trace-geom: <stdin>:4: WKT: POINT is not a contour (use lines or areas) (column 1)\n"},
      {{"union", "-"},
       "POLYGON ((0 0, 1 0, 1 1, 0 0))\n",
       "union needs two geometries, the input has 1"},
      {{"buffer", "--width", "1", "--format", "geojson", "--tolerance", "1e-12"},
       "CURVEPOLYGON (CIRCULARSTRING (0 0, 2000000 0, 0 0))",
       "too fine"},
      {{"area"},
       "POLYGON ((0 0, 1 0, 1 1, 0 0))\nPOLYGON ((-1e308 -1e308, 1e308 -1e308, 1e308 1e308, "
       "-1e308 -1e308))\n",
       "trace-geom: <stdin>:2: the area of line 2 is beyond the range of numbers\n"},
  };
  for (const auto& C : Cases) {
    const TRun R = RunTool(C.Args, C.Input);
    EXPECT_EQ(R.Status, 2) << C.Err;
    EXPECT_NE(R.Err.find(C.Err), std::string::npos) << R.Err;
    EXPECT_TRUE(OneLine(R.Err)) << R.Err;
  }
  const TRun Help = RunTool({"--help"});
  EXPECT_EQ(Help.Status, 0);
  EXPECT_NE(Help.Out.find("usage: trace-geom COMMAND"), std::string::npos);
}

TEST(GeomTool, KernelFailuresExitWithOne) {
  // A zone wider than double numbers reach.
  const TRun R = RunTool({"buffer", "--width", "1e308"}, "LINESTRING (0 0, 1 0)\n");
  EXPECT_EQ(R.Status, 1);
  EXPECT_EQ(R.Err,
            "trace-geom: line 1: buffer failed: Buffer zone: the zone reaches beyond the range of "
            "numbers\n");
  EXPECT_TRUE(R.Out.empty());
  // A line shorter than the point tolerance is a point to the kernel: refused
  // rather than answered with no zone, even beside a part with a zone.
  const TRun Tiny =
      RunTool({"buffer", "--width", "1"}, "MULTILINESTRING ((0 0, 5 0), (9 9, 9.000001 9))\n");
  EXPECT_EQ(Tiny.Status, 1);
  EXPECT_NE(Tiny.Err.find("все точки части у (9 9) лежат ближе допуска совпадения точек (1e-06)"),
            std::string::npos);
}

// An output that cannot be written whole (a file size limit stands in for a
// full disk) leaves the old file and says why, naming it.
TEST(GeomTool, AnOutputThatFailsLeavesTheOldFile) {
  support::TTempFolder Dir;
  const std::string Path = (Dir / "out.wkt").string();
  std::ofstream(Path) << "old\n";
  TRun R;
  {
    support::TFileSizeLimit Limit(16);
    R = RunTool({"buffer", "--width", "5", "-o", Path}, "LINESTRING (0 0, 100 0)\n");
  }
  EXPECT_EQ(R.Status, 1);
  EXPECT_EQ(R.Err, "trace-geom: cannot write " + Path + ": File too large\n");
  std::ifstream In(Path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(In), {}), "old\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path), {}), 1);
}

TEST(GeomTool, DroppedZAndMAreToldOnce) {
  const std::string Note =
      "trace-geom: note: <stdin>: Z and M values of 2 of 3 geometries are left out; results are "
      "in x and y\n";
  const TRun Wkt = RunTool({"area"},
                           "POLYGON Z ((0 0 5, 2 0 5, 2 2 5, 0 0 5))\nLINESTRING (0 0, 1 0)\n"
                           "LINESTRING ZM (0 0 1 2, 1 0 1 2)\n");
  EXPECT_EQ(Wkt.Status, 0);
  EXPECT_EQ(Wkt.Err, Note);
  const TRun Json = RunTool({"area"}, R"({"type":"FeatureCollection","features":[
    {"type":"Feature","geometry":{"type":"LineString","coordinates":[[0,0,1],[1,0,1]]}},
    {"type":"Feature","geometry":{"type":"GeometryCollection","geometries":[
      {"type":"LineString","coordinates":[[0,0],[1,0]]},
      {"type":"Polygon","coordinates":[[[0,0,1],[2,0,1],[2,2,1],[0,0,1]]]}]}},
    {"type":"Feature","geometry":{"type":"LineString","coordinates":[[0,0],[1,0]]}}]})");
  EXPECT_EQ(Json.Err, Note);
  EXPECT_EQ(RunTool({"area", "-q"}, "LINESTRING Z (0 0 1, 1 0 1)\n").Err, "");
}

TEST(GeomTool, BufferZonesHaveTheirExactAreas) {
  const double W = 5;
  const TRun R =
      RunTool({"buffer", "--width", "5"},
              "LINESTRING (500000 6000000, 500100 6000000)\n"
              "POLYGON ((500200 5999900, 500320 5999900, 500320 6000010, 500200 6000010, "
              "500200 5999900), (500240 5999940, 500240 5999975, 500285 5999975, 500285 "
              "5999940, 500240 5999940))\n"
              "CURVEPOLYGON (CIRCULARSTRING (499850 6000000, 499880 6000030, 499850 "
              "6000060, 499820 6000030, 499850 6000000))\n");
  ASSERT_EQ(R.Status, 0) << R.Err;
  const std::vector<double> A = AreasOf(R.Out);
  ASSERT_EQ(A.size(), 3u);
  // A stadium; the parcel grown by the width with rounded corners, and its
  // courtyard (no part of the parcel) shrunk by the width, left open.
  EXPECT_NEAR(A[0], 2 * W * 100 + Pi * W * W, 1e-6);
  EXPECT_NEAR(A[1], 120 * 110 + 2 * W * (120 + 110) + Pi * W * W - (45 - 2 * W) * (35 - 2 * W),
              1e-6);
  EXPECT_NEAR(A[2], Pi * 35 * 35, 1e-6);
  EXPECT_NE(R.Out.find("CIRCULARSTRING"), std::string::npos);

  // The same zones as GeoJSON carry the width and the tolerance, and their
  // chords stay within it.
  const TRun G = RunTool({"buffer", "--width", "5", "--format", "geojson"},
                         "LINESTRING (500000 6000000, 500100 6000000)\n");
  ASSERT_EQ(G.Status, 0) << G.Err;
  const TJsonValue Doc = ParseJsonSequence(G.Out).at(0);
  const TJsonValue& F = Doc.Find("features")->Items.at(0);
  EXPECT_EQ(F.Find("properties")->Find("width")->Number, 5);
  EXPECT_EQ(F.Find("properties")->Find("tolerance")->Number, 0.005);
  EXPECT_EQ(F.Find("properties")->Find("source")->String, "buffer of line 1");
  const double Chorded = AreasOf(G.Out).at(0);
  EXPECT_LT(Chorded, 2 * W * 100 + Pi * W * W);
  EXPECT_GT(Chorded, 2 * W * 100 + Pi * W * W - 2 * Pi * W * 0.005);

  const TRun Svg = RunTool({"buffer", "--width=5", "--format=svg"},
                           "LINESTRING (500000 6000000, 500100 6000000)\n");
  ASSERT_EQ(Svg.Status, 0) << Svg.Err;
  EXPECT_EQ(Svg.Out.rfind("<svg ", 0), 0u);
  EXPECT_NE(Svg.Out.find("<g class=\"input\">\n<path class=\"line\""), std::string::npos);
  EXPECT_NE(Svg.Out.find("<g class=\"result\">\n<path class=\"area\""), std::string::npos);
}

TEST(GeomTool, BooleanResultsKeepTheAreaIdentities) {
  // A D-shaped plot and a disc that overlaps its round side, around (500000, 6000000).
  const std::string Input =
      "CURVEPOLYGON (COMPOUNDCURVE ((500000 6000000, 500010 6000000), CIRCULARSTRING (500010 "
      "6000000, 500015 6000005, 500010 6000010), (500010 6000010, 500000 6000010, 500000 "
      "6000000)))\n"
      "CURVEPOLYGON (CIRCULARSTRING (500012 6000004, 500020 6000004, 500012 6000004))\n";
  const std::vector<double> In = AreasOf(Input);
  ASSERT_EQ(In.size(), 2u);
  std::map<std::string, double> Area;
  for (const char* Op : {"union", "intersection", "difference", "symdifference"}) {
    const TRun R = RunTool({Op}, Input);
    ASSERT_EQ(R.Status, 0) << Op << ": " << R.Err;
    ASSERT_TRUE(OneLine(R.Out)) << R.Out;
    EXPECT_NE(R.Out.find("CIRCULARSTRING"), std::string::npos) << R.Out;
    Area[Op] = AreasOf(R.Out).at(0);
  }
  EXPECT_GT(Area["intersection"], 1);
  EXPECT_NEAR(Area["union"], In[0] + In[1] - Area["intersection"], 1e-6);
  EXPECT_NEAR(Area["difference"], In[0] - Area["intersection"], 1e-6);
  EXPECT_NEAR(Area["symdifference"], Area["union"] - Area["intersection"], 1e-6);

  const TRun Squares = RunTool({"intersection"},
                               "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0))\n"
                               "POLYGON ((5 5, 15 5, 15 15, 5 15, 5 5))\n"
                               "POLYGON ((90 90, 91 90, 91 91, 90 90))\n");
  ASSERT_EQ(Squares.Status, 0);
  EXPECT_NEAR(AreasOf(Squares.Out).at(0), 25, 1e-9);
}

TEST(GeomTool, DamagedInputNeverCrashes) {
  const std::string Good =
      "CURVEPOLYGON (COMPOUNDCURVE ((500000 6000000, 500010 6000000), CIRCULARSTRING (500010 "
      "6000000, 500015 6000005, 500010 6000010), (500010 6000010, 500000 6000000)))\n"
      "{\"type\": \"LineString\", \"coordinates\": [[500000, 6000000], [500010, 6000003]]}\n";
  const std::string Alphabet = "(),. 0123456789-e{}[]\":\nPOLYGNCIRUAS#";
  std::mt19937 Rng(11);
  for (int i = 0; i < 300; ++i) {
    std::string S = Good.substr(i % 2 ? Good.find('{') : 0);
    for (int k = 0, N = 1 + static_cast<int>(Rng() % 4); k < N; ++k) {
      const size_t At = Rng() % S.size();
      if (Rng() % 2)
        S.erase(At, 1 + Rng() % 3);
      else
        S.insert(S.begin() + At, Alphabet[Rng() % Alphabet.size()]);
      if (S.empty()) S.push_back('(');  // not S = "(", which GCC 12 -Wrestrict misreads
    }
    for (const std::vector<std::string>& Args :
         {std::vector<std::string>{"area"}, std::vector<std::string>{"buffer", "--width", "2"}}) {
      const TRun R = RunTool(Args, S);
      EXPECT_TRUE(R.Status >= 0 && R.Status <= 2) << S;
      if (R.Status != 0) {
        EXPECT_TRUE(OneLine(R.Err)) << S << "\n" << R.Err;
      }
    }
  }
}

}  // namespace
}  // namespace geomio
