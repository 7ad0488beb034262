#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compat/registry.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using compat::TRegistry;
using compat::TRootKey;

class RegistryTest : public ::testing::Test {
 protected:
  std::string FileText() const { return support::TTempFolder::Text(File); }

  support::TTempFolder Folder;
  fs::path Dir = Folder.Path;
  std::string File = (Dir / "registry.reg").string();
};

TEST_F(RegistryTest, ValuesSurviveSaveAndReloadWithEscapesAndCaseInsensitiveKeys) {
  {
    TRegistry R(File);
    R.WriteString(TRootKey::LocalMachine, "\\Software\\Test\\Key", "",
                  "Описание \"в кавычках\" C:\\x");
    R.WriteString(TRootKey::LocalMachine, "Software\\Test\\Key", "Active", "1");
    R.WriteString(TRootKey::ClassesRoot, "CLSID\\{X}\\InprocServer32", "", "/opt/lib/libTrace.so");
    R.Save();
  }
  TRegistry R(File);
  EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, "SOFTWARE\\test\\KEY", ""),
            "Описание \"в кавычках\" C:\\x");
  EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, "Software\\Test\\Key", "active"), "1");
  EXPECT_FALSE(R.ReadString(TRootKey::ClassesRoot, "Software\\Test\\Key", "Active").has_value());
  EXPECT_TRUE(R.KeyExists(TRootKey::ClassesRoot, "CLSID"));
  EXPECT_EQ(R.SubKeys(TRootKey::LocalMachine, "Software"), std::vector<std::string>{"Test"});

  const std::string Text = FileText();
  EXPECT_EQ(Text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(Text.find("[HKEY_LOCAL_MACHINE\\Software\\Test\\Key]\r\n@="), std::string::npos);
}

TEST_F(RegistryTest, DeleteKeyTakesSubkeysAndOtherValueTypesAreKept) {
  {
    std::ofstream Out(File, std::ios::binary);
    Out << "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\A]\r\n\"Count\"=dword:00000010\r\n\"Blob\"=hex:01,02,\\\r\n  "
           "03\r\n\r\n"
           "[HKEY_CURRENT_USER\\A\\B]\r\n@=\"x\"\r\n\r\n[HKEY_CURRENT_USER\\AB]\r\n@=\"y\"\r\n";
  }
  TRegistry R(File);
  EXPECT_FALSE(R.ReadString(TRootKey::CurrentUser, "A", "Count").has_value());
  EXPECT_TRUE(R.DeleteKey(TRootKey::CurrentUser, "A\\B"));
  EXPECT_FALSE(R.DeleteKey(TRootKey::CurrentUser, "A\\B"));
  R.Save();

  const std::string Text = FileText();
  EXPECT_NE(Text.find("\"Count\"=dword:00000010"), std::string::npos);
  EXPECT_NE(Text.find("\"Blob\"=hex:01,02,\\\n  03"), std::string::npos);
  TRegistry Again(File);
  EXPECT_EQ(Again.ReadString(TRootKey::CurrentUser, "AB", ""), "y");
  EXPECT_FALSE(Again.KeyExists(TRootKey::CurrentUser, "A\\B"));
  EXPECT_TRUE(Again.DeleteKey(TRootKey::CurrentUser, "A"));
  EXPECT_TRUE(Again.KeyExists(TRootKey::CurrentUser, "AB"));
}

TEST_F(RegistryTest, FailuresLeaveTheFileAsItWas) {
  {
    TRegistry R(File);
    R.WriteString(TRootKey::LocalMachine, "Keep", "", "me");
    R.Save();
  }
  const std::string Before = FileText();

  TRegistry R(File);
  R.WriteString(TRootKey::LocalMachine, "New", "", "value");

  // A read-only file in a writable folder is not replaced behind its back,
  // not even by the superuser; nor is a file in a read-only folder.
  fs::permissions(File, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(R.Save(), compat::ERegistryError);
  EXPECT_EQ(FileText(), Before);
  EXPECT_EQ(fs::status(File).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(File, fs::perms::owner_write, fs::perm_options::add);
  fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(R.Save(), compat::ERegistryError);
  fs::permissions(Dir, fs::perms::owner_all);
  EXPECT_EQ(FileText(), Before);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()),
            1);  // no leftovers
  R.Save();      // writable again: the change goes through
  EXPECT_NE(FileText(), Before);

  // A doubled separator is an invalid name, not silently another key.
  EXPECT_THROW(R.WriteString(TRootKey::LocalMachine, "A\\\\B", "", "x"), compat::ERegistryError);
  EXPECT_THROW(R.CreateKey(TRootKey::LocalMachine, "A\\\\"), compat::ERegistryError);

  // Something that is not a registry export is refused, not overwritten.
  const std::string Other = (Dir / "other.txt").string();
  std::ofstream(Other) << "not a registry\n";
  EXPECT_THROW(TRegistry{Other}, compat::ERegistryError);
}

}  // namespace
