// The host application loading add-ons from the registry: the active ones
// that load and connect get menu items and tool bar buttons; the others are
// reported and left out; everything is let go at the end.
#include <unistd.h>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>

#include "compat/registry.h"
#include "host/app/host_script_target.h"
#include "host/app/host_window.h"
#include "host/com/addon_module.h"
#include "host/com/host_manager.h"
#include "tests/addonkit/qt_app.h"
#include "tests/host/app/modal_answers.h"

namespace {

namespace fs = std::filesystem;
using compat::TRootKey;

class AddOnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    Dir = fs::temp_directory_path() / ("trace-host-app-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    RegistryFile = (Dir / "registry.reg").string();
    setenv("TRACE_REGISTRY_FILE", RegistryFile.c_str(), 1);
    {
      host::THostModule Module(TRACE_MODULE_PATH);
      ASSERT_EQ(Module.KxDllRegisterAddOn(nullptr, 1), S_OK);
      ASSERT_EQ(Module.DllRegisterServer(), S_OK);
    }
    Manager = std::make_unique<host::THostManager>();
  }
  void TearDown() override {
    unsetenv("TRACE_REGISTRY_FILE");
    fs::remove_all(Dir);
  }
  // An add-on entry; Module empty: its class is not registered.
  void AddEntry(const char* ClassID, bool Active, const std::string& Module) {
    compat::TRegistry R(RegistryFile);
    const std::string Key = std::string("Software\\Tavlo\\GIS\\AddOns\\") + ClassID;
    R.CreateKey(TRootKey::LocalMachine, Key);
    R.WriteString(TRootKey::LocalMachine, Key, "", std::string("Add-on ") + ClassID);
    R.WriteString(TRootKey::LocalMachine, Key, "Active", Active ? "1" : "0");
    if (!Module.empty())
      R.WriteString(TRootKey::ClassesRoot, std::string("CLSID\\") + ClassID + "\\InprocServer32",
                    "", Module);
    R.Save();
  }

  fs::path Dir;
  std::string RegistryFile;
  std::unique_ptr<host::THostManager> Manager;
};

TEST_F(AddOnsTest, ActiveAddOnsGetMenuAndToolBarOthersAreReported) {
  const char* Missing = "{11111111-2222-3333-4444-555555555555}";
  const char* Unregistered = "{21111111-2222-3333-4444-555555555555}";
  const char* Inactive = "{31111111-2222-3333-4444-555555555555}";
  AddEntry(Missing, true, (Dir / "libNotThere.so").string());
  AddEntry(Unregistered, true, "");
  AddEntry(Inactive, false, (Dir / "libNotThere.so").string());
  QStringList Reports;
  {
    host::THostWindow Window(*Manager);
    Window.SetReporter([&](const QString& Text) { Reports << Text; });
    Window.LoadAddOns(compat::TRegistry(RegistryFile));

    ASSERT_EQ(Reports.size(), 1);
    EXPECT_TRUE(Reports[0].contains(QString("Add-on ") + Missing));
    EXPECT_TRUE(Reports[0].contains(QString("Add-on ") + Unregistered));
    EXPECT_FALSE(Reports[0].contains(Inactive)) << "inactive add-ons are not loaded at all";

    EXPECT_EQ(Window.AddOns().Count(), 1u);
    ASSERT_EQ(Window.AddOns().Commands().size(), 1u);
    const host::THostAddOnCommand* Trace = Window.AddOns().FindCommand("Трассировка");
    ASSERT_NE(Trace, nullptr);
    EXPECT_EQ(Window.AddOns().FindCommand("trace"), Trace);
    EXPECT_FALSE(Trace->Image.isNull()) << "the image comes from SaveBitmap";

    // "С&ервис\Трассировка": the item under the service menu, and on the tool bar.
    QMenu* Service = nullptr;
    for (QAction* A : Window.Window().menuBar()->actions())
      if (A->menu() && A->text() == "С&ервис") Service = A->menu();
    ASSERT_NE(Service, nullptr);
    ASSERT_EQ(Service->actions().size(), 1);
    QAction* Item = Service->actions()[0];
    EXPECT_EQ(Item->text(), "Трассировка");
    EXPECT_FALSE(Item->icon().isNull());
    auto* Bar = Window.Window().findChild<QToolBar*>("AddOnToolBar");
    ASSERT_NE(Bar, nullptr);
    EXPECT_TRUE(Bar->actions().contains(Item));
    EXPECT_EQ(Window.CommandAction(*Trace), Item);
    EXPECT_TRUE(Window.RunCommand(*Trace));
    EXPECT_EQ(Reports.size(), 1);
  }
  EXPECT_EQ(Manager->OutstandingReferences(), 0) << "disconnected and released at the end";
}

TEST_F(AddOnsTest, AnAddOnThatCannotConnectIsReportedAndTheHostGoesOn) {
  Manager->HideInterface(kx::IID_IKxMapView);
  QStringList Reports;
  {
    host::THostWindow Window(*Manager);
    Window.SetReporter([&](const QString& Text) { Reports << Text; });
    Window.LoadAddOns(compat::TRegistry(RegistryFile));
    ASSERT_EQ(Reports.size(), 1);
    EXPECT_TRUE(Reports[0].contains("Connect failed")) << qPrintable(Reports[0]);
    EXPECT_EQ(Window.AddOns().Count(), 0u);
    EXPECT_TRUE(Window.AddOns().Commands().empty());
  }
  EXPECT_EQ(Manager->OutstandingReferences(), 0);
}

// Another project or a quit asks the add-on first: a trace in progress goes
// only when the user agrees, and the project stays when not.
TEST_F(AddOnsTest, ATraceInProgressIsLostOnlyWhenTheUserAgrees) {
  host::THostWindow Window(*Manager);
  Window.LoadAddOns(compat::TRegistry(RegistryFile));
  Window.OpenProject(host::THostWindow::SampleProject());
  Window.Window().show();
  {
    std::vector<host::TScriptStep> Steps;
    ASSERT_FALSE(host::ParseScript(
        "zoom 500060 5999980 500240 6000500\nselect R1\ncommand Trace\nwidth 8\n"
        "press AddSelectedObjectsToBZListAction\ncheck CheckBoxTraceOn on\nclick 500142 6000480\n",
        Steps));
    host::THostScriptTarget Target(Window, QDir(QString::fromStdString(Dir.string())));
    ASSERT_FALSE(host::RunScript(Steps, Target));
  }
  QString Asked;
  const auto Answer = [&](QMessageBox::StandardButton Button) {
    return [&Asked, Button](QDialog& D) {
      Asked = static_cast<QMessageBox&>(D).text();
      static_cast<QMessageBox&>(D).button(Button)->click();
    };
  };
  EXPECT_EQ(host::test::TModalAnswers().Then("QMessageBox", Answer(QMessageBox::No)).Run([&] {
    EXPECT_FALSE(Window.Window().close());
  }),
            QStringList());
  EXPECT_TRUE(Asked.startsWith("Обрисовка не завершена")) << Asked.toStdString();
  EXPECT_EQ(host::test::TModalAnswers().Then("QMessageBox", Answer(QMessageBox::Yes)).Run([&] {
    EXPECT_TRUE(Window.MayDiscard());
  }),
            QStringList());
}

}  // namespace
