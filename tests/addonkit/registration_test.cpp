// Registration of the module's add-ons, in process: key joining, the order
// of add-ons, and a failure part way through.
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

#include "addonkit/addon_registration.h"
#include "addonkit/com_server.h"
#include "addonkit/custom_addon.h"
#include "compat/registry.h"
#include "host/com/addon_registry.h"

namespace {

namespace fs = std::filesystem;
using compat::TRootKey;

TEST(Registration, KeysJoinWithExactlyOneBackslash) {
  EXPECT_EQ(kx::JoinKey("\\A\\B", "C"), "\\A\\B\\C");
  EXPECT_EQ(kx::JoinKey("\\A\\B\\", "C"), "\\A\\B\\C");
  EXPECT_EQ(kx::JoinKey("\\A\\B", "\\C"), "\\A\\B\\C");
  EXPECT_EQ(kx::JoinKey("\\A\\B\\", "\\C\\"), "\\A\\B\\C\\");
  EXPECT_EQ(kx::JoinKey("", "\\C"), "\\C");
  EXPECT_EQ(kx::JoinKey("\\A", ""), "\\A");
}

class TRegAddOn : public kx::TKxCustomAddon {
 public:
  TRegAddOn(const char* ClassID, const char* Description, bool Fail = false)
      : TKxCustomAddon(*compat::TryParseGuid(ClassID), "Name", Description, 0), FFail(Fail) {}
  void GetInfo(kx::TKxAddOnInfo& Info) override {
    if (FFail) throw core::Exception("no info");
    TKxCustomAddon::GetInfo(Info);
  }

 private:
  bool FFail;
};

TEST(Registration, AddOnsRegisteredBeforeAFailureStayWritten) {
  const fs::path File =
      fs::temp_directory_path() / ("trace-registration-" + std::to_string(::getpid()) + ".reg");
  fs::remove(File);
  setenv("TRACE_REGISTRY_FILE", File.c_str(), 1);
  constexpr char First[] = "{00000001-0000-0000-0000-000000000001}";
  constexpr char Second[] = "{00000002-0000-0000-0000-000000000002}";
  constexpr char Third[] = "{00000003-0000-0000-0000-000000000003}";
  // Owned by their class factories, which the server destroys below.
  new TRegAddOn(First, "Первое");
  new TRegAddOn(Second, "Второе", true);
  new TRegAddOn(Third, "Третье");

  EXPECT_THROW(kx::RegisterAddOns("Прил", true), core::Exception);
  const compat::TRegistry R;
  const std::string Base = "Software\\Tavlo\\GIS\\AppliedAddOns\\Прил\\";
  EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, Base + First, ""), "Первое");
  EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, Base + First, "Active"), "1");
  EXPECT_FALSE(R.KeyExists(TRootKey::LocalMachine, Base + Third));

  // What the host makes of it: the one add-on, with no module for its class.
  const auto Entries = host::FindAddOns(R, "Прил");
  ASSERT_EQ(Entries.size(), 1u);
  EXPECT_EQ(Entries[0].Description, "Первое");
  EXPECT_TRUE(Entries[0].Active);
  EXPECT_TRUE(Entries[0].ModulePath.empty());
  EXPECT_TRUE(host::FindAddOns(R).empty());

  kx::DestroyComServer();
  unsetenv("TRACE_REGISTRY_FILE");
  fs::remove(File);
}

TEST(Registration, HostSkipsKeysThatAreNotClassIDs) {
  const fs::path File = fs::temp_directory_path() /
                        ("trace-registration-skip-" + std::to_string(::getpid()) + ".reg");
  compat::TRegistry R(File.string());
  R.WriteString(TRootKey::LocalMachine, "Software\\Tavlo\\GIS\\AddOns\\NotAGuid", "", "x");
  R.WriteString(TRootKey::LocalMachine,
                "Software\\Tavlo\\GIS\\AddOns\\{00000004-0000-0000-0000-000000000004}", "Active",
                "0");
  const auto Entries = host::FindAddOns(R);
  ASSERT_EQ(Entries.size(), 1u);
  EXPECT_FALSE(Entries[0].Active);
  EXPECT_EQ(Entries[0].Description, "");
}

}  // namespace
