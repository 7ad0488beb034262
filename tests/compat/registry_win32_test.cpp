// The system registry behind TRegistry, in a key of the test's own under
// HKEY_CURRENT_USER\Software that the test removes again.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "compat/registry.h"

namespace {

using compat::TRegistry;
using compat::TRootKey;

class RegistryWin32 : public ::testing::Test {
 protected:
  // Removed with the system's own calls, so that a fault in DeleteKey
  // leaves nothing behind either.
  void TearDown() override {
    const std::wstring Wide(Key.begin(), Key.end());
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide.c_str());
  }

  const std::string Key = "Software\\TraceRegistryTest" + std::to_string(GetCurrentProcessId());
  TRegistry R;
};

TEST_F(RegistryWin32, StringsAreWrittenReadListedAndDeletedWithTheirSubkeys) {
  EXPECT_TRUE(R.FileName().empty());
  EXPECT_FALSE(R.KeyExists(TRootKey::CurrentUser, Key));
  R.WriteString(TRootKey::CurrentUser, "\\" + Key + "\\Key\\", "", "Описание \"в кавычках\" C:\\x");
  R.WriteString(TRootKey::CurrentUser, Key + "\\Key", "Active", "1");
  R.CreateKey(TRootKey::CurrentUser, Key + "\\Key\\Sub");
  R.CreateKey(TRootKey::CurrentUser, Key + "\\KeyAndMore");

  // Key names without regard to case; value names too.
  TRegistry Again;
  EXPECT_EQ(Again.ReadString(TRootKey::CurrentUser, Key + "\\KEY", ""),
            "Описание \"в кавычках\" C:\\x");
  EXPECT_EQ(Again.ReadString(TRootKey::CurrentUser, Key + "\\key", "ACTIVE"), "1");
  EXPECT_FALSE(Again.ReadString(TRootKey::CurrentUser, Key + "\\Key", "Missing").has_value());
  EXPECT_FALSE(Again.ReadString(TRootKey::CurrentUser, Key + "\\Missing", "").has_value());
  EXPECT_EQ(Again.SubKeys(TRootKey::CurrentUser, Key),
            (std::vector<std::string>{"Key", "KeyAndMore"}));
  EXPECT_EQ(Again.SubKeys(TRootKey::CurrentUser, Key + "\\Key"), std::vector<std::string>{"Sub"});

  EXPECT_TRUE(R.DeleteKey(TRootKey::CurrentUser, Key + "\\Key"));
  EXPECT_FALSE(R.DeleteKey(TRootKey::CurrentUser, Key + "\\Key"));
  EXPECT_FALSE(R.KeyExists(TRootKey::CurrentUser, Key + "\\Key\\Sub"));
  EXPECT_TRUE(R.KeyExists(TRootKey::CurrentUser, Key + "\\KeyAndMore"));
  EXPECT_TRUE(R.DeleteKey(TRootKey::CurrentUser, Key));
  EXPECT_FALSE(R.KeyExists(TRootKey::CurrentUser, Key));
}

TEST_F(RegistryWin32, OtherValueTypesAreNotStringsAndBadNamesAreRefused) {
  R.CreateKey(TRootKey::CurrentUser, Key);
  HKEY Handle = nullptr;
  const std::wstring Wide(Key.begin(), Key.end());
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Wide.c_str(), 0, KEY_WRITE, &Handle), ERROR_SUCCESS);
  const DWORD Count = 16;
  RegSetValueExW(Handle, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Count),
                 sizeof Count);
  RegCloseKey(Handle);
  EXPECT_FALSE(R.ReadString(TRootKey::CurrentUser, Key, "Count").has_value());

  EXPECT_THROW(R.WriteString(TRootKey::CurrentUser, Key + "\\\\A", "", "x"),
               compat::ERegistryError);
  EXPECT_THROW((void)R.KeyExists(TRootKey::CurrentUser, "\\\\" + Key), compat::ERegistryError);
  EXPECT_EQ(R.SubKeys(TRootKey::CurrentUser, Key), std::vector<std::string>{});
}

}  // namespace
