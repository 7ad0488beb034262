// The whole tool through the built module, as a host drives it: connect,
// run the command, add the selection's zone, switch tracing on, choose a
// style, click along the zone in view pixels, create the object and find it
// in the host's layer; then disconnect and unload.
#include <unistd.h>

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "compat/com_ptr.h"
#include "host/com/addon_module.h"
#include "host/com/host_values.h"
#include "host/model/small_project.h"
#include "hostapi/kx_interfaces.h"
#include "tests/addonkit/qt_app.h"
#include "tests/support/test_host.h"

namespace {

namespace fs = std::filesystem;
using compat::TComPtr;
using host::MakeID;

constexpr GUID TraceClassID = compat::ParseGuid("{92544842-89A1-11D0-B4C6-00C00C100ADA}");
constexpr double X0 = 500000, Y0 = 6000000;

QWidget* FindWindow(const QString& Title) {
  for (QWidget* W : QApplication::allWidgets())
    if (W->isWindow() && W->isVisible() && W->windowTitle() == Title) return W;
  return nullptr;
}

template <class T>
T* Child(QWidget* Parent, const char* Name) {
  T* C = Parent ? Parent->findChild<T*>(QString::fromLatin1(Name)) : nullptr;
  EXPECT_NE(C, nullptr) << Name;
  return C;
}

TEST(ModulePad, TracesAnObjectAlongAZoneFromConnectToUnload) {
  TestApp();  // destroyed when the tests are over, with what fonts it loaded
  host::TTestHost Host;
  const fs::path Dir = fs::temp_directory_path() / ("trace-pad-" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  setenv("TRACE_REGISTRY_FILE", (Dir / "registry.reg").c_str(), 1);
  auto Module = std::make_shared<host::THostModule>(TRACE_MODULE_PATH);

  // A straight street of 100 m; its zone of 5 m is a stadium whose top edge
  // runs from (200, 205) to (300, 205) and whose right end is a half circle.
  host::AddSmallProject(Host.Project());
  const kx::TKxID StreetID = MakeID("10");
  Host.Project().AddObject(
      MakeID("L1"),
      {{MakeID("S1"),
        {host::HostMoveTo(X0 + 200, Y0 + 200), host::HostLineTo(X0 + 300, Y0 + 200)}}},
      &StreetID);
  Host.View().SetTransform({X0 + 250, Y0 + 200, 0.2, 800, 600});

  // Whatever message box the module shows is a failure; it must not block.
  QStringList Boxes;
  QTimer Watch;
  Watch.setInterval(20);
  QObject::connect(&Watch, &QTimer::timeout, [&] {
    if (auto* Box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      Boxes << Box->text();
      Box->reject();
    }
  });
  Watch.start();

  TComPtr<IClassFactory> Factory;
  ASSERT_EQ(Module->DllGetClassObject(TraceClassID, IID_IClassFactory, Factory.OutVoid()), S_OK);
  TComPtr<kx::IKxAddOn> AddOn;
  ASSERT_EQ(Factory->CreateInstance(nullptr, kx::IID_IKxAddOn, AddOn.OutVoid()), S_OK);
  Factory.Reset();
  ASSERT_EQ(AddOn->Connect(Host.AddOnManager()), S_OK);
  ASSERT_EQ(AddOn->ExecuteMacro(0, 0), S_OK);
  QPointer<QWidget> Pad = FindWindow("Трассировка");
  ASSERT_NE(Pad, nullptr);

  // The selection's zone.
  auto* Add = Child<QAction>(Pad, "AddSelectedObjectsToBZListAction");
  EXPECT_FALSE(Add->isEnabled());
  Host.View().SetSelection({StreetID});
  TComPtr<kx::IKxParamsList> Params(
      new host::THostParamsList(Host.Manager().Context(), std::vector<VARIANT>(5)));
  ASSERT_EQ(AddOn->Notify(16, Params.Get()), S_OK);
  ASSERT_TRUE(Add->isEnabled());
  Child<QLineEdit>(Pad, "BufferZoneEdit")->setText("5");
  Add->trigger();
  auto* TraceOn = Child<QCheckBox>(Pad, "CheckBoxTraceOn");
  ASSERT_TRUE(TraceOn->isEnabled());
  TraceOn->click();
  kx::IKxEditor* Editor = Host.View().Editor();
  ASSERT_NE(Editor, nullptr);

  // The style, chosen in the project tree.
  QTimer::singleShot(0, [] {
    QWidget* Chooser = QApplication::activeModalWidget();
    ASSERT_NE(Chooser, nullptr);
    auto* Tree = Child<QTreeWidget>(Chooser, "ProjectTree");
    const auto Found = Tree->findItems("Улица", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(Found.size(), 1);
    Tree->setCurrentItem(Found[0]);
    Child<QPushButton>(Chooser, "OkButton")->click();
  });
  Child<QAction>(Pad, "SelectNewObjectStyleAction")->trigger();
  EXPECT_EQ(Child<QLabel>(Pad, "NewObjectStyleLabel")->text(), "[Город] Улицы - Улица");

  // Three clicks near zone vertices, in view pixels.
  for (const auto& [X, Y] : {std::pair{200.0, 205.0}, {300.0, 205.0}, {300.0, 195.0}}) {
    std::int32_t DX = 0, DY = 0;
    ASSERT_EQ(Host.View().MapToDevice(X0 + X, Y0 + Y, &DX, &DY), S_OK);
    ASSERT_EQ(Editor->MouseDown(0, 0, DX + 1, DY - 1), S_OK);
  }
  EXPECT_TRUE(Host.View().Render()) << Host.View().LastPaintError();
  const auto Before = Host.Project().Objects(MakeID("L1")).size();
  Child<QAction>(Pad, "CreateObjectAction")->trigger();
  const auto Objects = Host.Project().Objects(MakeID("L1"));
  ASSERT_EQ(Objects.size(), Before + 1);
  const host::THostMapObject& Made = *Objects.back();
  ASSERT_EQ(Made.Shapes.size(), 1u);
  EXPECT_EQ(Made.Shapes[0].StyleID, MakeID("S1"));
  // The path round the zone's end is the model's to check (tests/forms);
  // here it is enough that the clicks made one: a move, a line, then arcs.
  const auto& Cmds = Made.Shapes[0].Commands;
  ASSERT_GE(Cmds.size(), 3u);
  EXPECT_EQ(Cmds[1].Kind, kx::kxLineTo);
  EXPECT_EQ(Cmds.back().Kind, kx::kxArcTo);
  // The trace was emptied for the next one.
  EXPECT_FALSE(Child<QAction>(Pad, "UndoTracePointAction")->isEnabled());

  EXPECT_EQ(AddOn->Disconnect(), S_OK);
  EXPECT_TRUE(Pad.isNull());
  AddOn.Reset();
  Host.View().DropEditor();  // the host lets go of the module's editor
  Watch.stop();
  EXPECT_EQ(Boxes, QStringList());
  EXPECT_EQ(Module->DllCanUnloadNow(), S_OK);
  EXPECT_TRUE(Module->TryUnload());
  EXPECT_EQ(Host.Manager().OutstandingReferences(), 0);
  unsetenv("TRACE_REGISTRY_FILE");
  fs::remove_all(Dir);
}

}  // namespace

namespace {

// A host whose settings store fails: the command reaches it as E_FAIL with
// the store's message, as under Wine, and leaves no pad behind.
TEST(ModulePad, TheCommandOverAFailingSettingsStoreReachesTheHostAsEFail) {
  TestApp();
  host::TTestHost Host;
  const fs::path Dir = fs::temp_directory_path() / ("trace-store-" + std::to_string(::getpid()));
  fs::create_directories(Dir);
  setenv("TRACE_REGISTRY_FILE", (Dir / "registry.reg").c_str(), 1);
  auto Module = std::make_shared<host::THostModule>(TRACE_MODULE_PATH);
  TComPtr<IClassFactory> Factory;
  ASSERT_EQ(Module->DllGetClassObject(TraceClassID, IID_IClassFactory, Factory.OutVoid()), S_OK);
  TComPtr<kx::IKxAddOn> AddOn;
  ASSERT_EQ(Factory->CreateInstance(nullptr, kx::IID_IKxAddOn, AddOn.OutVoid()), S_OK);
  Factory.Reset();

  Host.Manager().Application().FailSettingsStore(true);
  ASSERT_EQ(AddOn->Connect(Host.AddOnManager()), S_OK);
  EXPECT_EQ(AddOn->ExecuteMacro(0, 0), E_FAIL);
  EXPECT_NE(Host.Manager().ErrorInfo().MessageUtf8().find("Хранилище настроек недоступно"),
            std::string::npos)
      << Host.Manager().ErrorInfo().MessageUtf8();
  EXPECT_EQ(FindWindow("Трассировка"), nullptr);
  EXPECT_EQ(AddOn->Disconnect(), S_OK);
  AddOn.Reset();
  EXPECT_EQ(Host.Manager().OutstandingReferences(), 0);
  EXPECT_TRUE(Module->TryUnload());
  unsetenv("TRACE_REGISTRY_FILE");
  fs::remove_all(Dir);
}

}  // namespace
