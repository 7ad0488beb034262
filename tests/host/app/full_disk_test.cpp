// A real full disk: a small tmpfs filled nearly to the brim, then a project
// save, exports as WKT, GeoJSON and GeoPackage through the window, and a
// settings change, each over a good file on it. Each fails naming its file
// and the system's reason, and leaves the old file as it was and nothing
// beside it. Mounting needs the superuser; elsewhere the test is skipped.
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "host/app/host_window.h"
#include "host/model/host_error.h"
#include "host/model/small_project.h"
#include "tests/host/app/many_parcels.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

namespace {

namespace fs = std::filesystem;
using support::TTempFolder;

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Disk = fs::temp_directory_path() / ("trace_full_disk_" + std::to_string(::getpid()));
    fs::create_directories(Disk);
    if (::mount("tmpfs", Disk.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=2m,mode=0700") != 0)
      GTEST_SKIP() << "no tmpfs can be mounted here (" << std::strerror(errno)
                   << "; it takes the superuser): the real full disk is not tried";
    Mounted = true;
  }
  void TearDown() override {
    if (Mounted) {
      EXPECT_EQ(::umount2(Disk.c_str(), MNT_DETACH), 0) << std::strerror(errno);
    }
    std::error_code Ignored;
    fs::remove_all(Disk, Ignored);
  }

  // Fills the disk and gives back all but Left bytes, in whole pages.
  void Fill(off_t Left) {
    const int Fd =
        ::open((Disk / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(Fd, 0) << std::strerror(errno);
    const std::string Block(64 * 1024, 'x');
    off_t Size = 0;
    for (;;) {
      const ssize_t N = ::write(Fd, Block.data(), Block.size());
      if (N <= 0) break;
      Size += N;
    }
    EXPECT_EQ(errno, ENOSPC);
    ASSERT_GT(Size, Left);
    ASSERT_EQ(::ftruncate(Fd, Size - Left), 0);
    ::close(Fd);
  }

  std::set<std::string> Names() const {
    std::set<std::string> S;
    for (const fs::directory_entry& E : fs::directory_iterator(Disk))
      S.insert(E.path().filename().string());
    return S;
  }

  fs::path Disk;
  bool Mounted = false;
};

TEST_F(FullDiskTest, EveryWriteFailsSayingWhyAndKeepsTheOldFile) {
  host::TTestHost Host((Disk / "settings.ini").string());
  host::AddSmallProject(Host.Project());
  host::THostWindow Window(Host.Manager());
  Window.SetReporter([](const QString&) {});
  const host::TKxID L2 = host::MakeID("L2");
  const auto Path = [&](const char* Name) {
    return QString::fromStdString((Disk / Name).string());
  };

  // The good files, small; then the project grows far beyond the room left.
  struct TWrite {
    const char* File;
    std::function<void()> Do;
  };
  const std::string BigValue(200 * 1024, 'v');
  bool Big = false;
  const TWrite Writes[] = {
      {"project.json", [&] { Window.SaveProject(Path("project.json")); }},
      {"parcels.wkt", [&] { Window.ExportLayer(L2, Path("parcels.wkt")); }},
      {"parcels.geojson", [&] { Window.ExportLayer(L2, Path("parcels.geojson")); }},
      {"parcels.gpkg", [&] { Window.ExportLayer(L2, Path("parcels.gpkg")); }},
      {"settings.ini", [&] { Host.Settings().SetValue(1, "note", Big ? BigValue : "small"); }},
  };
  for (const TWrite& W : Writes) W.Do();
  host::test::AddParcels(Host.Project(), 2000);
  Big = true;
  ASSERT_NO_FATAL_FAILURE(Fill(16 * 1024));
  const std::set<std::string> Before = Names();

  for (const TWrite& W : Writes) {
    const std::string Target = (Disk / W.File).string();
    const std::string Old = TTempFolder::Text(Target);
    ASSERT_FALSE(Old.empty()) << W.File;
    std::string Message;
    try {
      W.Do();
    } catch (const host::EHostError& E) {
      Message = E.what();
    }
    EXPECT_NE(Message.find(Target), std::string::npos) << W.File << ": " << Message;
    EXPECT_NE(Message.find("No space left on device"), std::string::npos)
        << W.File << ": " << Message;
    EXPECT_EQ(TTempFolder::Text(Target), Old) << W.File << " changed";
    EXPECT_EQ(Names(), Before) << W.File << " left a file beside it";
  }
}

}  // namespace
