// The real host killed while it saves and exports: trace-host runs a script
// that opens two large projects by turns, saves each over one project file
// and exports its parcels as WKT, GeoPackage and GeoJSON, and is killed at
// random moments. After every kill each target is the old file or a whole
// new one, read back; what killed writers left is counted, and only ever
// under a temporary name. TRACE_SOAK=1 kills it many more times.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/gis/layer_io.h"
#include "host/model/project_file.h"
#include "host/model/small_project.h"
#include "tests/host/app/many_parcels.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using support::TTempFolder;

const char* const Targets[] = {"project.json", "parcels.wkt", "parcels.gpkg", "parcels.geojson"};

// What one version of the project leaves in the targets: the project file
// and the WKT byte for byte (both are written by our own code, the same
// every time), the GDAL files by their feature count.
struct TVersion {
  std::string Json, Wkt;
  long long Features = 0;
};

TVersion MakeVersion(int Parcels, const fs::path& Source) {
  host::THostProject P;
  host::AddSmallProject(P);
  host::test::AddParcels(P, Parcels);
  if (!Source.empty()) host::SaveProjectFile(P, Source.string());
  const host::TKxID L2 = host::MakeID("L2");
  return {host::ProjectToJson(P), host::ExportLayerWkt(P, L2),
          static_cast<long long>(P.Objects(L2).size())};
}

// The features of a GDAL file's only layer; -1 when it does not open as
// such (a cut-short GeoJSON does not).
long long GisFeatures(const fs::path& File) {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> D(GDALDataset::Open(File.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                   nullptr, nullptr, nullptr));
  if (!D || D->GetLayerCount() != 1) return -1;
  OGRLayer* L = D->GetLayer(0);
  long long N = 0;
  for (std::unique_ptr<OGRFeature> F(L->GetNextFeature()); F; F.reset(L->GetNextFeature())) ++N;
  return N;
}

class HostKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Versions = {MakeVersion(0, {}), MakeVersion(2000, Folder / "a.json"),
                MakeVersion(1200, Folder / "b.json")};
    // The old files: the small project and its parcels.
    host::THostProject Small;
    host::AddSmallProject(Small);
    host::SaveProjectFile(Small, (Folder / Targets[0]).string());
    std::string Cycle, Exports;
    for (int T = 1; T < 4; ++T) Exports += std::string("export L2 ") + Targets[T] + "\n";
    for (const char* Source : {"a.json", "b.json"})
      Cycle += std::string("open ") + Source + "\nsave project.json\n" + Exports;
    std::ofstream(Folder / "old.script") << "open project.json\n" + Exports;
    std::ofstream(Folder / "cycle.script") << Cycle;
    std::ofstream Loop(Folder / "loop.script");
    for (int K = 0; K < 100; ++K) Loop << Cycle;
  }

  // Starts the host on a script; writes nothing of its own outside Folder.
  pid_t Start(const char* ScriptName) {
    const std::string Host = TRACE_HOST_PATH, Script = (Folder / ScriptName).string(),
                      Settings = (Folder / "settings.ini").string();
    std::vector<std::string> Env = {
        "QT_QPA_PLATFORM=offscreen", "TRACE_REGISTRY_FILE=" + (Folder / "registry.reg").string(),
        "XDG_CONFIG_HOME=" + (Folder / "config").string(), "HOME=" + Folder.Path.string()};
    for (const char* Keep : {"PATH", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
      if (const char* V = std::getenv(Keep)) Env.push_back(std::string(Keep) + "=" + V);
    std::vector<char*> Envp, Argv;
    for (std::string& E : Env) Envp.push_back(E.data());
    Envp.push_back(nullptr);
    std::string Args[] = {Host, "--settings", Settings, "--script", Script};
    for (std::string& A : Args) Argv.push_back(A.data());
    Argv.push_back(nullptr);
    // Its messages go to a file, read when a run that must succeed fails.
    const std::string Log = LogPath().string();
    const pid_t Child = fork();
    if (Child == 0) {
      const int Fd = ::open(Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
      ::dup2(Fd, 1);
      ::dup2(Fd, 2);
      ::execve(Host.c_str(), Argv.data(), Envp.data());
      _exit(127);
    }
    return Child;
  }
  fs::path LogPath() const { return Folder / "host.log"; }
  int Finish(pid_t Child) {
    int Status = 0;
    if (::waitpid(Child, &Status, 0) != Child) return -1000;
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -WTERMSIG(Status);
  }
  // What shows the host writing: each target's time and size, and the
  // temporaries beside them.
  std::vector<long long> Writing() const {
    std::vector<long long> State;
    for (const char* T : Targets) {
      std::error_code E;
      State.push_back(fs::last_write_time(Folder / T, E).time_since_epoch().count());
      State.push_back(static_cast<long long>(fs::file_size(Folder / T, E)));
    }
    long long Temporaries = 0;
    for (const fs::directory_entry& E : fs::directory_iterator(Folder.Path))
      Temporaries += E.path().filename().string().find(".tmp.") != std::string::npos;
    State.push_back(Temporaries);
    return State;
  }
  static bool Ended(pid_t Child) {
    siginfo_t Info{};
    ::waitid(P_PID, static_cast<id_t>(Child), &Info, WEXITED | WNOHANG | WNOWAIT);
    return Info.si_pid != 0;
  }
  // Waits until Writes changes of the files have been seen, or the host
  // has ended; polled often, so that a write of a few milliseconds is seen
  // while it lasts.
  void SeeWrites(pid_t Child, int Writes) const {
    std::vector<long long> Last = Writing();
    for (int Seen = 0; Seen < Writes && !Ended(Child);) {
      std::vector<long long> Now = Writing();
      if (Now != Last) ++Seen;
      Last = std::move(Now);
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }
  // Temporaries are whatever killed writers left: removed and counted. Any
  // other stranger fails.
  int Leftovers() {
    int N = 0;
    for (const fs::directory_entry& E : fs::directory_iterator(Folder.Path)) {
      const std::string Name = E.path().filename().string();
      if (std::find(std::begin(Targets), std::end(Targets), Name) != std::end(Targets) ||
          Name.ends_with(".json") || Name.ends_with(".script") || Name == "config" ||
          Name == "settings.ini" || Name == "host.log") {
        EXPECT_EQ(Name.find(".tmp."), std::string::npos) << Name;
        continue;
      }
      EXPECT_NE(Name.find(".tmp."), std::string::npos) << "a stranger: " << Name;
      fs::remove(E.path());
      ++N;
    }
    return N;
  }
  // Which version each target holds now; fails when one is no version.
  std::vector<int> Held(int Kill) {
    std::vector<int> V;
    const auto Find = [&](auto Same) {
      for (int K = 0; K < 3; ++K)
        if (Same(Versions[K])) return K;
      return -1;
    };
    const std::string Json = TTempFolder::Text(Folder / Targets[0]);
    const std::string Wkt = TTempFolder::Text(Folder / Targets[1]);
    const long long Gpkg = GisFeatures(Folder / Targets[2]),
                    GeoJson = GisFeatures(Folder / Targets[3]);
    V.push_back(Find([&](const TVersion& X) { return X.Json == Json; }));
    V.push_back(Find([&](const TVersion& X) { return X.Wkt == Wkt; }));
    V.push_back(Find([&](const TVersion& X) { return X.Features == Gpkg; }));
    V.push_back(Find([&](const TVersion& X) { return X.Features == GeoJson; }));
    for (int T = 0; T < 4; ++T)
      EXPECT_GE(V[T], 0) << "kill " << Kill << " left " << Targets[T] << " neither old nor new ("
                         << Json.size() << " / " << Wkt.size() << " bytes, " << Gpkg << " / "
                         << GeoJson << " features)";
    return V;
  }

  TTempFolder Folder;
  std::vector<TVersion> Versions;
};

TEST_F(HostKillTest, KilledWhileSavingAndExportingLeavesOldOrWholeFiles) {
  // The old exports, then one whole cycle, timed from its first write on.
  ASSERT_EQ(Finish(Start("old.script")), 0) << TTempFolder::Text(LogPath());
  ASSERT_EQ(Held(-1), std::vector<int>(4, 0));
  const pid_t Calibration = Start("cycle.script");
  SeeWrites(Calibration, 1);
  const Clock::time_point First = Clock::now();
  ASSERT_EQ(Finish(Calibration), 0) << TTempFolder::Text(LogPath());
  const auto Cycle = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - First);
  ASSERT_EQ(Held(-1), std::vector<int>(4, 2)) << "the host's files are not the versions expected";

  const unsigned Seed = std::random_device{}();
  std::mt19937 Random(Seed);
  const int Kills = std::getenv("TRACE_SOAK") ? 200 : 10;
  int Changed = 0, Temporaries = 0, Checked = 0;
  std::vector<int> Before = Held(-1);
  for (int K = 0; K < Kills; ++K) {
    const pid_t Child = Start("loop.script");
    // Half the kills fall at a random moment of the first cycle of writes,
    // half the moment a change of the files is seen, so that short writes
    // are hit too.
    if (K % 2 == 0) {
      SeeWrites(Child, 1);
      std::this_thread::sleep_for(std::chrono::microseconds(Random() % (Cycle.count() + 1)));
    } else {
      SeeWrites(Child, 1 + static_cast<int>(Random() % 24));
    }
    ::kill(Child, SIGKILL);
    ASSERT_EQ(Finish(Child), -SIGKILL) << "the host ended before its kill";
    Temporaries += Leftovers();
    const std::vector<int> Now = Held(K);
    Checked += 4;
    for (int T = 0; T < 4; ++T) Changed += Now[T] != Before[T];
    Before = Now;
  }
  EXPECT_GT(Changed, 0) << "no kill came after a write; seed " << Seed;
  std::printf(
      "%d kills of the host (seed %u, a cycle of writes %lld ms): %d target files read back "
      "and checked, %d changed between kills, %d temporaries left by killed writes\n",
      Kills, Seed, static_cast<long long>(Cycle.count() / 1000), Checked, Changed, Temporaries);
}

}  // namespace
