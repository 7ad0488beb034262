#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "compat/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using compat::EFileWriteError;
using compat::WriteFileAtomically;

class AtomicFile : public ::testing::Test {
 protected:
  // The folders' modes restored, so that the folder can go.
  void TearDown() override { fs::permissions(Dir, fs::perms::owner_all); }

  std::string FileText() const {
    std::ifstream In(File, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  long Entries() const { return std::distance(fs::directory_iterator(Dir), {}); }

  // The write fails with the system's reason, names the file, and leaves
  // the folder as it was.
  void ExpectRefused(const std::string& Target, const std::string& Reason,
                     compat::TFolder Folder = compat::TFolder::MustExist) {
    const long Before = Entries();
    try {
      WriteFileAtomically(Target, "new", Folder);
      ADD_FAILURE() << "written: " << Target;
    } catch (const EFileWriteError& E) {
      EXPECT_EQ(E.Reason, Reason);
      EXPECT_NE(std::string(E.what()).find(Target), std::string::npos) << E.what();
    }
    EXPECT_EQ(Entries(), Before);
  }

  support::TTempFolder Folder;
  fs::path Dir = Folder.Path;
  std::string File = (Dir / "data.txt").string();
};

TEST_F(AtomicFile, ReplacesTheWholeFileAndKeepsItsMode) {
  WriteFileAtomically(File, std::string(10000, 'a'));
  EXPECT_EQ(FileText(), std::string(10000, 'a'));
  fs::permissions(File, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(File, "short");
  EXPECT_EQ(FileText(), "short");
  EXPECT_EQ(fs::status(File).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(File, "");
  EXPECT_EQ(FileText(), "");
  EXPECT_EQ(Entries(), 1);  // no temporary left beside it
  WriteFileAtomically((Dir / "a" / "b" / "c.txt").string(), "c", compat::TFolder::Create);
  EXPECT_TRUE(fs::is_regular_file(Dir / "a" / "b" / "c.txt"));
}

TEST_F(AtomicFile, AWriteThatFailsHalfwayLeavesTheOldFile) {
  WriteFileAtomically(File, "old");
  // A file size limit makes the write fail after part of it reached the
  // temporary file, as a full disk would.
  rlimit Saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &Saved), 0);
  rlimit Small = Saved;
  Small.rlim_cur = 4096;
  auto* OldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &Small), 0);
  std::string Reason;
  try {
    WriteFileAtomically(File, std::string(100000, 'b'));
  } catch (const EFileWriteError& E) {
    Reason = E.Reason;
  }
  ::setrlimit(RLIMIT_FSIZE, &Saved);
  ::signal(SIGXFSZ, OldHandler);
  EXPECT_EQ(Reason, "File too large");
  EXPECT_EQ(FileText(), "old");
  EXPECT_EQ(Entries(), 1);
}

TEST_F(AtomicFile, WritesThatMayNotHappenChangeNothing) {
  WriteFileAtomically(File, "old");
  ExpectRefused((Dir / "missing" / "data.txt").string(), "No such file or directory");
  // A file stands where the folder would have to be made.
  ExpectRefused(File + "/data.txt", "Not a directory", compat::TFolder::Create);
  // Not even the superuser replaces a read-only file or writes into a
  // read-only folder.
  fs::permissions(File, fs::perms::owner_read);
  ExpectRefused(File, "Permission denied");
  fs::permissions(File, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
  ExpectRefused(File, "Permission denied");
  ExpectRefused((Dir / "new.txt").string(), "Permission denied");
  fs::permissions(Dir, fs::perms::owner_all);
  EXPECT_EQ(FileText(), "old");
}

}  // namespace
