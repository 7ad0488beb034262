// The built module, loaded through its exported entry points as a host
// loads it.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QImage>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compat/com_ptr.h"
#include "compat/cp1251.h"
#include "compat/registry.h"
#include "host/com/addon_module.h"
#include "host/com/addon_registry.h"
#include "host/com/command_image.h"
#include "host/com/host_addon.h"
#include "host/com/host_manager.h"
#include "host/com/host_values.h"
#include "host/com/memory_stream.h"
#include "hostapi/kx_interfaces.h"
#include "tests/addonkit/qt_app.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using compat::TComPtr;
using compat::TRootKey;

constexpr GUID TraceClassID = compat::ParseGuid("{92544842-89A1-11D0-B4C6-00C00C100ADA}");
constexpr char TraceKey[] = "{92544842-89A1-11D0-B4C6-00C00C100ADA}";
const std::string Description = "ГИС Расширение создания объектов трассировкой ";

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    RegistryFile = (Dir / "registry.reg").string();
    setenv("TRACE_REGISTRY_FILE", RegistryFile.c_str(), 1);
    Module = std::make_shared<host::THostModule>(TRACE_MODULE_PATH);
    Manager = std::make_unique<host::THostManager>((Dir / "settings.ini").string());
  }
  void TearDown() override {
    EXPECT_EQ(Module->DllCanUnloadNow(), S_OK);
    Module.reset();
    EXPECT_EQ(Manager->OutstandingReferences(), 0);
    unsetenv("TRACE_REGISTRY_FILE");
  }

  TComPtr<IClassFactory> Factory() {
    TComPtr<IClassFactory> F;
    EXPECT_EQ(Module->DllGetClassObject(TraceClassID, IID_IClassFactory, F.OutVoid()), S_OK);
    return F;
  }
  TComPtr<kx::IKxAddOn> NewAddOn() {
    TComPtr<kx::IKxAddOn> A;
    EXPECT_EQ(Factory()->CreateInstance(nullptr, kx::IID_IKxAddOn, A.OutVoid()), S_OK);
    return A;
  }
  kx::IKxAddOnManager* HostManager() { return Manager.get(); }
  std::string FileText() const { return support::TTempFolder::Text(RegistryFile); }
  std::string LastSource() { return Manager->ErrorInfo().SourceUtf8(); }
  std::string LastMessage() { return Manager->ErrorInfo().MessageUtf8(); }

  support::TTempFolder Folder;
  fs::path Dir = Folder.Path;
  std::string RegistryFile;
  std::shared_ptr<host::THostModule> Module;
  std::unique_ptr<host::THostManager> Manager;
};

TEST_F(ModuleTest, ExportsExactlyTheEntryPointsAndTheClassID) {
  const auto* ClassID = static_cast<const GUID*>(Module->Symbol("CLSID_TraceAddOn"));
  ASSERT_NE(ClassID, nullptr);
  EXPECT_TRUE(*ClassID == TraceClassID);
  // Framework internals stay inside.
  EXPECT_EQ(Module->Symbol("_ZN2kx10TraceAddOnE"), nullptr);
  EXPECT_EQ(Module->Symbol("_ZN2kx11ModuleStateEv"), nullptr);
  EXPECT_EQ(Module->Symbol("qInitResources_trace"), nullptr);
}

// The module lives in the host's process: the GIS format library stays with
// the tool and the host, never among the module's libraries.
TEST(ModuleLibraries, NoGisFormatLibrary) {
  const std::string Cmd = std::string("ldd '") + TRACE_MODULE_PATH + "' 2>&1";
  std::string Text;
  if (FILE* P = ::popen(Cmd.c_str(), "r")) {
    char Buf[512];
    while (size_t N = std::fread(Buf, 1, sizeof Buf, P)) Text.append(Buf, N);
    ASSERT_EQ(::pclose(P), 0) << Text;
  }
  ASSERT_NE(Text.find("libQt6Core"), std::string::npos) << Text;  // ldd did list them
  EXPECT_EQ(Text.find("libgdal"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("libproj"), std::string::npos) << Text;
}

TEST_F(ModuleTest, RegistersTheAddOnAndItsClassWhereTheHostFindsThem) {
  ASSERT_EQ(Module->KxDllRegisterAddOn(nullptr, 0), S_OK);
  {
    const compat::TRegistry R;
    const std::string Key = std::string("Software\\Tavlo\\GIS\\AddOns\\") + TraceKey;
    EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, Key, ""), Description);
    EXPECT_EQ(R.ReadString(TRootKey::LocalMachine, Key, "Active"), "0");
  }
  // An applied name with a leading backslash, in cp1251 as hosts pass it.
  const std::string Applied = compat::Utf8ToCp1251("\\Приложение");
  ASSERT_EQ(Module->KxDllRegisterAddOn(Applied.c_str(), 1), S_OK);
  ASSERT_EQ(Module->KxDllRegisterAddOn("", -1), S_OK);  // empty means none
  const std::string Text = FileText();
  EXPECT_NE(Text.find(std::string("[HKEY_LOCAL_MACHINE\\Software\\Tavlo\\GIS\\AppliedAddOns\\"
                                  "Приложение\\") +
                      TraceKey + "]\r\n@=\"" + Description + "\"\r\n\"Active\"=\"1\""),
            std::string::npos)
      << Text;

  ASSERT_EQ(Module->DllRegisterServer(), S_OK);
  char Full[PATH_MAX];
  ASSERT_NE(realpath(TRACE_MODULE_PATH, Full), nullptr);
  auto Entries = host::FindAddOns(compat::TRegistry());
  ASSERT_EQ(Entries.size(), 1u);
  EXPECT_TRUE(Entries[0].ClassID == TraceClassID);
  EXPECT_TRUE(Entries[0].Active);  // the last registration said active
  EXPECT_EQ(Entries[0].Description, Description);
  EXPECT_EQ(Entries[0].ModulePath, Full);
  EXPECT_EQ(host::FindAddOns(compat::TRegistry(), "\\Приложение").size(), 1u);

  // A host drives the add-on it found.
  {
    host::THostAddOn AddOn(Module, Entries[0].ClassID);
    AddOn.Connect(*Manager);
    const auto Commands = AddOn.Commands();
    ASSERT_EQ(Commands.size(), 1u);
    EXPECT_EQ(Commands[0].Attrs.Caption.ToUtf8(), "Трассировка");
    EXPECT_EQ(host::CommandImage(Commands[0]).size(), QSize(16, 16));
    AddOn.Disconnect();
  }

  ASSERT_EQ(Module->DllUnregisterServer(), S_OK);
  const compat::TRegistry After;
  EXPECT_FALSE(After.KeyExists(TRootKey::ClassesRoot, std::string("CLSID\\") + TraceKey));
  EXPECT_TRUE(After.KeyExists(TRootKey::LocalMachine,
                              std::string("Software\\Tavlo\\GIS\\AddOns\\") + TraceKey));
}

TEST_F(ModuleTest, RegistrationThatCannotBeWrittenFailsAndLosesNothing) {
  ASSERT_EQ(Module->KxDllRegisterAddOn(nullptr, 1), S_OK);
  const std::string Before = FileText();
  // The registry's folder may not be written: no temporary file beside it.
  const fs::path Folder = fs::path(RegistryFile).parent_path();
  fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(Module->KxDllRegisterAddOn("Other", 0), E_FAIL);
  EXPECT_EQ(Module->DllRegisterServer(), E_FAIL);
  fs::permissions(Folder, fs::perms::owner_all);
  EXPECT_EQ(FileText(), Before);
  // A registry file that may not be written is refused, not replaced.
  fs::permissions(RegistryFile,
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Module->KxDllRegisterAddOn("Other", 0), E_FAIL);
  EXPECT_EQ(FileText(), Before);
  fs::permissions(RegistryFile, fs::perms::owner_write, fs::perm_options::add);
  // An applied name that makes an invalid key is a failure too.
  EXPECT_EQ(Module->KxDllRegisterAddOn("a\\\\b", 0), E_FAIL);

  std::ofstream(RegistryFile, std::ios::trunc) << "garbage\n";
  EXPECT_EQ(Module->KxDllRegisterAddOn(nullptr, 1), E_FAIL);
  EXPECT_EQ(FileText(), "garbage\n");
}

TEST_F(ModuleTest, ClassObjectsAndAddOnObjects) {
  void* Obj = reinterpret_cast<void*>(0x1234);
  const GUID Unknown = compat::ParseGuid("{00000000-1111-2222-3333-444444444444}");
  EXPECT_EQ(Module->DllGetClassObject(Unknown, IID_IClassFactory, &Obj), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(Obj, nullptr);
  EXPECT_EQ(Module->DllGetClassObject(TraceClassID, kx::IID_IKxAddOn, &Obj), E_NOINTERFACE);
  EXPECT_EQ(Obj, nullptr);

  TComPtr<IClassFactory> F = Factory();
  EXPECT_EQ(Module->DllCanUnloadNow(), S_FALSE);  // a factory reference is out
  TComPtr<kx::IKxAddOn> A, B;
  ASSERT_EQ(F->CreateInstance(nullptr, kx::IID_IKxAddOn, A.OutVoid()), S_OK);
  ASSERT_EQ(F->CreateInstance(nullptr, kx::IID_IKxAddOn, B.OutVoid()), S_OK);
  EXPECT_EQ(F->CreateInstance(reinterpret_cast<IUnknown*>(A.Get()), kx::IID_IKxAddOn, &Obj),
            CLASS_E_NOAGGREGATION);
  F.Reset();
  EXPECT_NE(A.Get(), B.Get());
  EXPECT_EQ(Module->DllCanUnloadNow(), S_FALSE);

  // Both drive one add-on: what one connects, the other disconnects.
  ASSERT_EQ(A->Connect(HostManager()), S_OK);
  EXPECT_GT(Manager->OutstandingReferences(), 0);
  ASSERT_EQ(B->Disconnect(), S_OK);
  EXPECT_EQ(Manager->OutstandingReferences(), 0);

  A.Reset();
  EXPECT_EQ(Module->DllCanUnloadNow(), S_FALSE);
  B.Reset();
  EXPECT_EQ(Module->DllCanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, InformationRecordAndCommands) {
  TComPtr<kx::IKxAddOn> A = NewAddOn();
  unsigned char Raw[121];
  std::memset(Raw, 0xCC, sizeof Raw);
  ASSERT_EQ(A->GetInfo(reinterpret_cast<kx::TKxAddOnInfo*>(Raw)), S_OK);
  EXPECT_EQ(Raw[120], 0xCC);  // exactly 120 bytes written
  EXPECT_EQ(std::memcmp(Raw, &TraceClassID, 16), 0);
  const std::string Name = compat::Utf8ToCp1251("Создание объектов трассировкой");
  EXPECT_EQ(Raw[16], Name.size());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Raw + 17), Raw[16]), Name);
  EXPECT_EQ(Raw[48], 46);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Raw + 49), 46), compat::Utf8ToCp1251(Description));
  EXPECT_EQ(std::vector<unsigned char>(Raw + 112, Raw + 120),
            (std::vector<unsigned char>{48, 0, 0, 0, 4, 1, 0, 0}));

  ASSERT_EQ(A->Connect(HostManager()), S_OK);
  TComPtr<kx::IKxMacroAttrsList> L1, L2;
  ASSERT_EQ(A->GetMacros(L1.Out()), S_OK);
  ASSERT_EQ(A->GetMacros(L2.Out()), S_OK);
  EXPECT_NE(L1.Get(), L2.Get());
  kx::TKxMacroAttrs M{};
  ASSERT_EQ(L1->GetItem(0, &M), S_OK);
  EXPECT_EQ(L2->Insert(-1, &M), S_OK);  // the lists are independent
  std::int32_t C1 = 0, C2 = 0;
  L1->GetCount(&C1);
  L2->GetCount(&C2);
  EXPECT_EQ(C1, 1);
  EXPECT_EQ(C2, 2);
  EXPECT_EQ(M.Ident.ToUtf8(), "Trace");
  EXPECT_EQ(M.Caption.ToUtf8(), "Трассировка");
  EXPECT_EQ(M.MenuPath.ToUtf8(), "С&ервис\\Трассировка");
  EXPECT_EQ(M.GroupA.ToUtf8(), "Сервис");
  EXPECT_EQ(M.GroupB.ToUtf8(), "Сервис");
  EXPECT_EQ(M.Param1, 0);
  EXPECT_EQ(M.Param2, 0);
  EXPECT_NE(M.Image, 0u);

  EXPECT_EQ(L1->GetItem(1, &M), E_FAIL);
  EXPECT_EQ(LastSource(), "Список макросов");
  EXPECT_EQ(LastMessage(), "Индекс массива 1 выходит за пределы [0, 0]");
  ASSERT_EQ(L1->Clear(), S_OK);
  kx::TKxMacroAttrs First{}, Second{};
  First.Param1 = 1;
  Second.Param1 = 2;
  ASSERT_EQ(L1->Insert(-1, &First), S_OK);
  ASSERT_EQ(L1->Insert(0, &Second), S_OK);
  ASSERT_EQ(L1->GetItem(0, &M), S_OK);
  EXPECT_EQ(M.Param1, 2);

  // Before the pad exists the notifications do not read Params; another
  // index makes no pad.
  EXPECT_EQ(A->Notify(16, nullptr), S_OK);
  EXPECT_EQ(A->Notify(32, nullptr), S_OK);
  EXPECT_EQ(A->ExecuteMacro(1, 7), S_OK);
  EXPECT_EQ(A->Notify(16, nullptr), S_OK);
  // The command makes the pad; from then on parameter 4 is read, and a
  // list without it is an error reported to the host, not a crash.
  EXPECT_EQ(A->ExecuteMacro(0, 0), S_OK);
  std::vector<VARIANT> Values(5);
  for (VARIANT& V : Values) {
    V.vt = VT_I4;
    V.lVal = 0;
  }
  const auto Params = host::MakeValue<host::THostParamsList>(Manager->Context(), Values);
  EXPECT_EQ(A->Notify(16, Params.Get()), S_OK);
  EXPECT_EQ(A->Notify(32, Params.Get()), S_OK);
  EXPECT_EQ(A->Notify(7, nullptr), S_OK) << "other codes are ignored";
  const auto Short = host::MakeValue<host::THostParamsList>(
      Manager->Context(), std::vector<VARIANT>(Values.begin(), Values.begin() + 4));
  EXPECT_EQ(A->Notify(16, Short.Get()), E_FAIL);

  L1.Reset();
  EXPECT_EQ(Module->DllCanUnloadNow(), S_FALSE);  // the host still holds a list
  L2.Reset();
  ASSERT_EQ(A->Disconnect(), S_OK);
}

TEST_F(ModuleTest, SaveBitmapWritesALengthPrefixedBmpImage) {
  TComPtr<kx::IKxAddOn> A = NewAddOn();
  ASSERT_EQ(A->Connect(HostManager()), S_OK);
  TComPtr<kx::IKxMacroAttrsList> L;
  ASSERT_EQ(A->GetMacros(L.Out()), S_OK);
  kx::TKxMacroAttrs M{};
  ASSERT_EQ(L->GetItem(0, &M), S_OK);

  auto Stream = TComPtr<host::THostMemoryStream>::Attach(host::THostMemoryStream::Create());
  EXPECT_EQ(A->SaveBitmap(Stream.Get(), 0), S_FALSE);
  EXPECT_TRUE(Stream->Data().empty());

  ASSERT_EQ(A->SaveBitmap(Stream.Get(), M.Image), S_OK);
  const auto& Data = Stream->Data();
  ASSERT_GT(Data.size(), 4u);
  const std::uint32_t Length = Data[0] | (Data[1] << 8) | (Data[2] << 16) | (Data[3] << 24);
  EXPECT_EQ(Length, Data.size() - 4);
  EXPECT_EQ(Data[4], 'B');
  EXPECT_EQ(Data[5], 'M');
  QImage Image;
  ASSERT_TRUE(Image.loadFromData(Data.data() + 4, static_cast<int>(Length), "BMP"));
  EXPECT_EQ(Image.size(), QSize(16, 16));
  // The handle stays valid for the next caller.
  auto Again = TComPtr<host::THostMemoryStream>::Attach(host::THostMemoryStream::Create());
  EXPECT_EQ(A->SaveBitmap(Again.Get(), M.Image), S_OK);
  EXPECT_EQ(Again->Data(), Data);

  auto Full = TComPtr<host::THostMemoryStream>::Attach(host::THostMemoryStream::Create());
  Full->SetCapacity(10);
  EXPECT_EQ(A->SaveBitmap(Full.Get(), M.Image), E_FAIL);
  EXPECT_EQ(LastSource(), Description);
  EXPECT_EQ(LastMessage(), "Ошибка при записи в OLE-поток");
  EXPECT_EQ(A->SaveBitmap(Stream.Get(), M.Image + 1000), E_FAIL);
  EXPECT_EQ(A->SaveBitmap(nullptr, M.Image), E_FAIL);

  L.Reset();
  ASSERT_EQ(A->Disconnect(), S_OK);
}

TEST_F(ModuleTest, FailuresInsideHostCalledMethodsNeverEscape) {
  TComPtr<kx::IKxAddOn> A = NewAddOn();
  // Nothing to report to yet: still E_FAIL, and nothing leaks out.
  EXPECT_EQ(A->Connect(nullptr), E_FAIL);
  Manager->HideInterface(kx::IID_IKxPreferences);
  EXPECT_EQ(A->Connect(HostManager()), E_FAIL);
  EXPECT_EQ(LastSource(), Description);
  EXPECT_EQ(LastMessage(), "Interface not supported");

  host::THostManager Failing;
  Failing.FailWindowQueries(true);
  EXPECT_EQ(A->Connect(&Failing), E_FAIL);
  EXPECT_EQ(Failing.ErrorInfo().MessageUtf8(), "Главное окно недоступно. [Менеджер расширений]");
  EXPECT_EQ(A->Disconnect(), S_OK);
  EXPECT_EQ(Failing.OutstandingReferences(), 0);
  EXPECT_EQ(A->GetInfo(nullptr), E_POINTER);
}

TEST_F(ModuleTest, UnloadsOnceEverythingIsReleased) {
  {
    TComPtr<kx::IKxAddOn> A = NewAddOn();
    ASSERT_EQ(A->Connect(HostManager()), S_OK);
    ASSERT_EQ(A->Disconnect(), S_OK);
    EXPECT_FALSE(Module->TryUnload());
  }
  EXPECT_TRUE(Module->TryUnload());
  // Really gone: the add-on and the factories were destroyed in order, and
  // loading again builds them anew.
  EXPECT_EQ(dlopen(TRACE_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
  Module = std::make_shared<host::THostModule>(TRACE_MODULE_PATH);
  TComPtr<kx::IKxAddOn> A = NewAddOn();
  kx::TKxAddOnInfo Info{};
  EXPECT_EQ(A->GetInfo(&Info), S_OK);
}

}  // namespace

// Load, connect, open the pad, disconnect and unload as a host does on
// every session; LeakSanitizer then finds anything a cycle leaves behind.
// TRACE_SOAK=1 runs the long soak.
TEST_F(ModuleTest, SurvivesManyLoadConnectUnloadCycles) {
  const int Cycles = std::getenv("TRACE_SOAK") ? 1000 : 50;
  for (int I = 0; I < Cycles; ++I) {
    {
      TComPtr<kx::IKxAddOn> A = NewAddOn();
      ASSERT_EQ(A->Connect(HostManager()), S_OK) << "cycle " << I;
      kx::TKxAddOnInfo Info{};
      ASSERT_EQ(A->GetInfo(&Info), S_OK) << "cycle " << I;
      // The command list with its image, and the command that opens the pad.
      TComPtr<kx::IKxMacroAttrsList> Macros;
      ASSERT_EQ(A->GetMacros(Macros.Out()), S_OK) << "cycle " << I;
      ASSERT_EQ(A->ExecuteMacro(0, 0), S_OK) << "cycle " << I;
      Macros.Reset();
      ASSERT_EQ(A->Disconnect(), S_OK) << "cycle " << I;
    }
    ASSERT_EQ(Manager->OutstandingReferences(), 0) << "cycle " << I;
    ASSERT_TRUE(Module->TryUnload()) << "cycle " << I;
    ASSERT_EQ(dlopen(TRACE_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr) << "cycle " << I;
    Module = std::make_shared<host::THostModule>(TRACE_MODULE_PATH);
  }
  std::printf("%d load/connect/unload cycles\n", Cycles);
}
