#include "geomio/input_reader.h"

#include <gtest/gtest.h>

#include "geomio/enclosed_area.h"
#include "tests/geomio/geomio_test_util.h"

namespace geomio {
namespace {

using test::InputErrorOf;
using test::Kinds;

TEST(InputReader, WktIsOneGeometryALine) {
  const auto In = ReadInput(
      "\xEF\xBB\xBF# streets\r\n"
      "LINESTRING (500000 6000000, 500100 6000000)\r\n"
      "\n"
      "   # a comment after blanks\n"
      "  POLYGON ((0 0, 1 0, 1 1, 0 0))  \r\n"
      "CIRCULARSTRING (0 0, 1 1, 2 0)");
  ASSERT_EQ(In.size(), 3u);
  EXPECT_EQ(In[0].Label, "line 2");
  EXPECT_EQ(In[0].Line, 2);
  EXPECT_EQ(Kinds(In[0].Contour), "ML");
  EXPECT_EQ(In[1].Line, 5);
  EXPECT_EQ(Kinds(In[1].Contour), "MLLC");
  EXPECT_EQ(In[2].Label, "line 6");
  EXPECT_EQ(Kinds(In[2].Contour), "MA");
  EXPECT_TRUE(ReadInput("").empty());
  EXPECT_TRUE(ReadInput("\n# nothing\n\n").empty());

  const EInputError E =
      InputErrorOf([] { ReadInput("LINESTRING (0 0, 1 1)\n\n   POINT (1 2)\nLINESTRING (0 0)"); });
  EXPECT_EQ(E.Line, 3);
  EXPECT_NE(E.Text.find("POINT is not a contour"), std::string::npos) << E.Text;
  EXPECT_NE(E.Text.find("column 4"), std::string::npos) << E.Text;
}

TEST(InputReader, GeoJsonFeaturesAndGeometries) {
  const auto In = ReadInput(
      "\n  {\"type\": \"FeatureCollection\", \"features\": [\n"
      "  {\"type\": \"Feature\", \"properties\": {\"name\": \"Parcel\"}, \"geometry\":\n"
      "    {\"type\": \"Polygon\", \"coordinates\": [\n"
      "      [[500000, 6000000], [500100, 6000000], [500100, 6000100], [500000, 6000100], "
      "[500000, 6000000]],\n"
      "      [[500040, 6000040], [500060, 6000040, 12.5], [500060, 6000060], [500040, "
      "6000040]]]}},\n"
      "  {\"type\": \"Feature\", \"geometry\": {\"type\": \"GeometryCollection\", \"geometries\": "
      "[\n"
      "    {\"type\": \"MultiLineString\", \"coordinates\": [[[0, 0], [1, 0]], [], [[2, 2], [3, "
      "3]]]},\n"
      "    {\"type\": \"MultiPolygon\", \"coordinates\": [[[[0, 0], [1, 0], [1, 1], [0, 0]]], [], "
      "[[]]]}]}}\n"
      "]}");
  ASSERT_EQ(In.size(), 2u);
  EXPECT_EQ(In[0].Label, "feature 1");
  EXPECT_EQ(In[0].Line, 3);
  EXPECT_EQ(Kinds(In[0].Contour), "MLLLCMLLC");
  EXPECT_DOUBLE_EQ(EnclosedArea(In[0].Contour), 10000 - 200);
  EXPECT_EQ(In[1].Label, "feature 2");
  EXPECT_EQ(Kinds(In[1].Contour), "MLMLMLLC");  // empty parts add nothing

  // One object per line, a lone feature and a bare geometry.
  const auto Lines = ReadInput(
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", \"coordinates\": "
      "[[0, 0], [5, 5]]}, \"properties\": null}\n"
      "{\"type\": \"LineString\", \"coordinates\": [[0, 0], [0, 5], [0, 5]]}\n");
  ASSERT_EQ(Lines.size(), 2u);
  EXPECT_EQ(Lines[0].Label, "line 1");
  EXPECT_EQ(Lines[1].Label, "line 2");
  EXPECT_EQ(Kinds(Lines[1].Contour), "ML");
}

TEST(InputReader, GeoJsonFaultsNameTheLineAndFeature) {
  struct {
    const char* Text;
    int Line;
    const char* Part;
  } const Cases[] = {
      {"{\"type\": \"FeatureCollection\", \"features\": [\n{\"type\": \"Feature\", \"geometry\":\n"
       " {\"type\": \"Point\", \"coordinates\": [1, 2]}}]}",
       3, "feature 1: Point is not a contour"},
      {"{\"type\": \"Polygon\", \"coordinates\": [\n[[0, 0], [1, 0], [1, 1]]]}", 2,
       "ring is not closed"},
      {"{\"type\": \"LineString\",\n \"coordinates\": [[0, 0], [1]]}", 2,
       "array of 2 to 4 numbers"},
      {"{\"type\": \"LineString\", \"coordinates\": [[0, 0], [\"1\", 2]]}", 1,
       "array of 2 to 4 numbers"},
      {"{\"type\": \"LineString\"}", 1, "missing \"coordinates\""},
      {"{\"type\": 5}", 1, "\"type\" is a number, expected a string"},
      {"{\"type\": \"Feature\", \"geometry\": null}", 1, "has no geometry"},
      {"{\"type\": \"FeatureCollection\", \"features\": [\n\n {\"type\": \"Polygon\"}]}", 3,
       "holds only Features"},
      {"{\"type\": \"Circle\", \"coordinates\": []}", 1, "unknown geometry type \"Circle\""},
      {"{\"type\": \"LineString\", \"coordinates\": [[0, 0]]}", 1, "at least two distinct points"},
      {"{\"type\": \"MultiLineString\", \"coordinates\": [5]}", 1, "must be an array"},
      {"{\"type\": \"Polygon\", \"coordinates\": [[[0,0],[1,0],[1,1],[0,0]]]}\n[1]", 2,
       "expected an object, found an array"},
  };
  for (const auto& C : Cases) {
    const EInputError E = InputErrorOf([&] { ReadInput(C.Text); });
    EXPECT_EQ(E.Line, C.Line) << C.Text << " -> " << E.Text;
    EXPECT_NE(E.Text.find(C.Part), std::string::npos) << C.Text << " -> " << E.Text;
    EXPECT_EQ(E.Text.rfind("GeoJSON: ", 0), 0u) << E.Text;
  }
}

}  // namespace
}  // namespace geomio
