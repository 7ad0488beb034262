#include <gtest/gtest.h>
#include <filesystem>
#include <iterator>

#include "compat/atomic_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using compat::EFileWriteError;
using compat::WriteFileAtomically;

class AtomicFile : public ::testing::Test {
 protected:
  std::string FileText() const { return support::TTempFolder::Text(File); }
  long Entries() const { return std::distance(fs::directory_iterator(Dir), {}); }

  // The system's reason, naming the file; empty when it was written.
  static std::string Refusal(const std::string& Target, compat::TFolder Folder,
                             std::size_t Size = 3) {
    try {
      WriteFileAtomically(Target, std::string(Size, 'b'), Folder);
    } catch (const EFileWriteError& E) {
      return std::string(E.what()).find(Target) != std::string::npos ? E.Reason : E.what();
    }
    return {};
  }

  support::TTempFolder Folder;
  fs::path Dir = Folder.Path;
  std::string File = (Dir / "data.txt").string();
};

TEST_F(AtomicFile, ReplacesTheFileKeepingItsModeAndMakesMissingFolders) {
  WriteFileAtomically(File, std::string(10000, 'a'));
  fs::permissions(File, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(File, "short");
  EXPECT_EQ(FileText(), "short");
  EXPECT_EQ(fs::status(File).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically((Dir / "a" / "b.txt").string(), "b", compat::TFolder::Create);
  EXPECT_TRUE(fs::is_regular_file(Dir / "a" / "b.txt"));
}

TEST_F(AtomicFile, AWriteThatFailsHalfwayLeavesTheOldFile) {
  WriteFileAtomically(File, "old");
  // A file size limit makes the write fail after part of it reached the
  // temporary file, as a full disk would.
  std::string Reason;
  {
    support::TFileSizeLimit Limit(4096);
    Reason = Refusal(File, compat::TFolder::MustExist, 100000);
  }
  EXPECT_EQ(Reason, "File too large");
  EXPECT_EQ(FileText(), "old");
  EXPECT_EQ(Entries(), 1);
}

// Read-only files and folders: the registry's tests.
TEST_F(AtomicFile, WritesIntoFoldersThatCannotBeChangeNothing) {
  WriteFileAtomically(File, "old");
  EXPECT_EQ(Refusal((Dir / "missing" / "a.txt").string(), compat::TFolder::MustExist),
            "No such file or directory");
  // A file stands where the folder would have to be made.
  EXPECT_EQ(Refusal(File + "/a.txt", compat::TFolder::Create), "Not a directory");
  EXPECT_EQ(FileText(), "old");
  EXPECT_EQ(Entries(), 1);
}

}  // namespace
