// The built tool, run as a user runs it: arguments, files, pipes, exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "geomio/enclosed_area.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/input_reader.h"
#include "tests/geomio/gdal/gis_test_files.h"

namespace geomio {
namespace {

namespace fs = std::filesystem;

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

std::string Slurp(const fs::path& P) {
  std::ifstream F(P, std::ios::binary);
  std::ostringstream S;
  S << F.rdbuf();
  return S.str();
}

class TraceGeomExe : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("trace_geom_exe_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  // Runs the tool through the shell with Args (already quoted as needed) and
  // Stdin fed from a file; Env is put before the command.
  TRun Run(const std::string& Args, const std::string& Stdin = "", const std::string& Env = "",
           const std::string& Exe = TRACE_GEOM_EXE) {
    std::ofstream(Dir / "in") << Stdin;
    const std::string Cmd = Env + "'" + Exe + "' " + Args + " <'" + (Dir / "in").string() + "' >'" +
                            (Dir / "out").string() + "' 2>'" + (Dir / "err").string() + "'";
    const int Raw = std::system(Cmd.c_str());
    EXPECT_TRUE(WIFEXITED(Raw)) << Cmd;
    return {WEXITSTATUS(Raw), Slurp(Dir / "out"), Slurp(Dir / "err")};
  }

  fs::path Dir;
};

TEST_F(TraceGeomExe, RunsOnTheSampleData) {
  const std::string Data = TRACE_DATA_DIR;
  const TRun Area = Run("area '" + Data + "/map_objects.wkt'");
  ASSERT_EQ(Area.Status, 0) << Area.Err;
  EXPECT_TRUE(Area.Err.empty());
  std::istringstream Lines(Area.Out);
  std::vector<double> In;
  for (double V; Lines >> V;) In.push_back(V);
  ASSERT_EQ(In.size(), 6u) << Area.Out;
  EXPECT_EQ(In[2], 120 * 110 - 45 * 35);  // the parcel with its courtyard

  const TRun Zones = Run("buffer --width 5 '" + Data + "/map_objects.wkt'");
  ASSERT_EQ(Zones.Status, 0) << Zones.Err;
  const auto Out = ReadInput(Zones.Out);
  ASSERT_EQ(Out.size(), In.size());
  for (size_t i = 0; i < In.size(); ++i) EXPECT_GT(EnclosedArea(Out[i].Contour), In[i] + 1);

  const TRun Json = Run("buffer --width 5 --format geojson '" + Data + "/map_objects.geojson'");
  ASSERT_EQ(Json.Status, 0) << Json.Err;
  EXPECT_EQ(ReadInput(Json.Out).size(), 3u);
}

TEST_F(TraceGeomExe, ReportsFaultsByExitStatus) {
  const TRun Bad = Run("area", "LINESTRING (0 0, 1 1)\nLINESTRING (0 0, 1 1, 2)\n");
  EXPECT_EQ(Bad.Status, 2);
  EXPECT_EQ(Bad.Err.rfind("trace-geom: <stdin>:2: WKT: expected a coordinate", 0), 0u) << Bad.Err;
  EXPECT_TRUE(Bad.Out.empty());

  std::ofstream(Dir / "two.wkt") << "\nMULTIPOINT ((1 1), (2 2))\n";
  const TRun Point = Run("buffer --width 1 '" + (Dir / "two.wkt").string() + "'");
  EXPECT_EQ(Point.Status, 2);
  EXPECT_NE(Point.Err.find("two.wkt:2: WKT: MULTIPOINT is not a contour"), std::string::npos)
      << Point.Err;

  // A flat ring encloses nothing: the difference is empty, not a failure.
  const TRun Flat = Run("difference", "LINESTRING (0 0, 5 0)\nPOLYGON ((0 0, 1 0, 1 1, 0 0))\n");
  EXPECT_EQ(Flat.Status, 0) << Flat.Err;
  const TRun Huge = Run("buffer --width 1e308", "LINESTRING (0 0, 1 0)\n");
  EXPECT_EQ(Huge.Status, 1);
  EXPECT_NE(Huge.Err.find("failed: "), std::string::npos) << Huge.Err;

  EXPECT_EQ(Run("").Status, 2);
  EXPECT_EQ(Run("--help").Status, 0);
}

TEST_F(TraceGeomExe, BuffersAGeoPackageLayerAsTheReadmeShows) {
  test::MakeGisFile(Dir / "city.gpkg", "GPKG", "parcels", 25832,
                    {{"POLYGON ((500000 6000000, 500100 6000000, 500100 6000050, 500000 6000050, "
                      "500000 6000000))",
                      "Parcel 1", 1, 0}});
  const TRun R = Run("buffer --width 5 --layer parcels '" + (Dir / "city.gpkg").string() +
                     "' -o '" + (Dir / "parcel_zones.gpkg").string() + "'");
  ASSERT_EQ(R.Status, 0) << R.Err;
  EXPECT_EQ(R.Err, "");
  EXPECT_EQ(test::OgrinfoComplaints(Dir / "parcel_zones.gpkg"), "");
  const TInputSet Zones = ReadGisLayer(Dir / "parcel_zones.gpkg", "");
  ASSERT_EQ(Zones.Geometries.size(), 1u);
  EXPECT_NEAR(EnclosedArea(Zones.Geometries[0].Contour),
              100 * 50 + 2 * 5 * (100 + 50) + 3.141592653589793 * 25, 1e-6);
}

// The dynamic loader's log of a run names every library it maps: GDAL only
// for a GIS file, through the module beside the executable run.
TEST_F(TraceGeomExe, LoadsGdalOnlyForGisFiles) {
  auto Loaded = [&](const std::string& Args, const std::string& Exe) {
    fs::remove_all(Dir / "ld");
    fs::create_directory(Dir / "ld");
    const TRun R = Run(
        Args, "", "LD_DEBUG=files LD_DEBUG_OUTPUT='" + (Dir / "ld" / "log").string() + "' ", Exe);
    EXPECT_EQ(R.Status, 0) << R.Err;
    std::string Log;
    for (const fs::directory_entry& E : fs::directory_iterator(Dir / "ld")) Log += Slurp(E.path());
    return Log;
  };
  const std::string Wkt = Loaded(
      "buffer --width 5 '" + std::string(TRACE_DATA_DIR) + "/map_objects.wkt'", TRACE_GEOM_EXE);
  EXPECT_NE(Wkt.find("libstdc++"), std::string::npos) << "no loader log";
  for (const char* Heavy : {"libtrace-geom-gis", "libgdal", "libproj"})
    EXPECT_EQ(Wkt.find(Heavy), std::string::npos) << Heavy;

  // A copy of the tool with the module beside it uses that module.
  const fs::path Built = TRACE_GEOM_EXE;
  fs::create_directory(Dir / "bin");
  fs::copy_file(Built, Dir / "bin" / "trace-geom");
  fs::copy_file(Built.parent_path() / "libtrace-geom-gis.so", Dir / "bin" / "libtrace-geom-gis.so");
  test::MakeGisFile(Dir / "in.gpkg", "GPKG", "parcels", 25832,
                    {{"POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0))", "Parcel 1", 1, 0}});
  const std::string Gpkg =
      Loaded("area '" + (Dir / "in.gpkg").string() + "'", (Dir / "bin" / "trace-geom").string());
  EXPECT_NE(Gpkg.find("file=" + (Dir / "bin" / "libtrace-geom-gis.so").string()),
            std::string::npos);
  EXPECT_NE(Gpkg.find("libgdal"), std::string::npos);
}

}  // namespace
}  // namespace geomio
