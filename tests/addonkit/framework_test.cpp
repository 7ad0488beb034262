// The add-on framework in process: reference counting, command lists,
// editors, add-ons with their forms and connection, and the error
// convention of host-called methods.
#include <gtest/gtest.h>

#include <QPointer>
#include <cstring>

#include "addonkit/addon_factory.h"
#include "addonkit/com_server.h"
#include "addonkit/cursors.h"
#include "addonkit/custom_addon.h"
#include "addonkit/custom_editor.h"
#include "addonkit/dll_form.h"
#include "addonkit/host_calls.h"
#include "addonkit/macro_attrs_list.h"
#include "addonkit/module_state.h"
#include "compat/screen_cursors.h"
#include "host/com/host_manager.h"
#include "qt_app.h"

namespace {

using compat::TComPtr;
using namespace kx;

constexpr GUID TestClassID = compat::ParseGuid("{11111111-2222-3333-4444-555555555555}");

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    Manager = std::make_unique<host::THostManager>();
    BaseObjects = ModuleState().ObjectCount;
  }
  void TearDown() override {
    ModuleState().ErrorInfo.Reset();
    DestroyComServer();
    EXPECT_EQ(ModuleState().ObjectCount, BaseObjects);
    EXPECT_EQ(Manager->OutstandingReferences(), 0);
  }
  // Errors of host-called methods go to the host manager's error slot.
  void HoldErrorInfo() { ModuleState().ErrorInfo = TComPtr<IKxErrorInfo>(&Manager->ErrorInfo()); }
  std::string LastSource() { return Manager->ErrorInfo().SourceUtf8(); }
  std::string LastMessage() { return Manager->ErrorInfo().MessageUtf8(); }

  std::unique_ptr<host::THostManager> Manager;
  int BaseObjects = 0;
};

TKxMacroAttrs Macro(const char* Ident) {
  TKxMacroAttrs M{};
  M.Ident.AssignUtf8(Ident);
  return M;
}

TEST_F(FrameworkTest, ObjectsCountReferencesAndAnswerOnlyTheirInterfaces) {
  auto* List = new IKxMacroAttrsListImp;
  EXPECT_EQ(List->AddRef(), 1u);
  void* Obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(List->QueryInterface(IID_IKxEditor, &Obj), E_NOINTERFACE);
  EXPECT_EQ(Obj, nullptr);
  ASSERT_EQ(List->QueryInterface(IID_IUnknown, &Obj), S_OK);
  EXPECT_EQ(Obj, static_cast<IKxMacroAttrsList*>(List));
  EXPECT_EQ(List->RefCount(), 2);
  EXPECT_EQ(ModuleState().ObjectCount, BaseObjects + 1);
  EXPECT_EQ(List->Release(), 1u);
  EXPECT_EQ(List->Release(), 0u);  // frees the list
  EXPECT_EQ(ModuleState().ObjectCount, BaseObjects);

  // With a controller everything of IUnknown goes to the controller.
  struct TAggregated : TInterfaceImpl<IKxParamsList, IID_IKxParamsList, TAggregatedInterface> {
    using TInterfaceImpl::TInterfaceImpl;
    HRESULT STDMETHODCALLTYPE GetParam(std::int32_t, VARIANT*) override { return E_NOTIMPL; }
  };
  auto Inner = std::make_unique<TAggregated>(&Manager->MapView());
  EXPECT_EQ(Inner->AddRef(), 1u);
  EXPECT_EQ(Manager->MapView().RefCount(), 1);
  ASSERT_EQ(Inner->QueryInterface(IID_IKxMapView, &Obj), S_OK);
  EXPECT_EQ(Obj, static_cast<IKxMapView*>(&Manager->MapView()));
  EXPECT_EQ(Inner->QueryInterface(IID_IKxParamsList, &Obj), E_NOINTERFACE);
  Inner->Release();
  Inner->Release();
  EXPECT_EQ(Inner->RefCount(), 0);
}

TEST_F(FrameworkTest, ListsKeepCopiesInOrderAndReportIndexErrors) {
  HoldErrorInfo();
  TComPtr<IKxMacroAttrsList> List(new IKxMacroAttrsListImp);
  const TKxMacroAttrs A = Macro("A"), B = Macro("B"), C = Macro("C");
  ASSERT_EQ(List->Insert(-1, &A), S_OK);  // appends to the empty list
  ASSERT_EQ(List->Insert(0, &B), S_OK);   // goes in front
  ASSERT_EQ(List->Insert(-5, &C), S_OK);
  std::int32_t Count = 0;
  ASSERT_EQ(List->GetCount(&Count), S_OK);
  EXPECT_EQ(Count, 3);
  TKxMacroAttrs Out{};
  const char* Expected[] = {"B", "A", "C"};
  for (int I = 0; I < 3; ++I) {
    ASSERT_EQ(List->GetItem(I, &Out), S_OK);
    EXPECT_EQ(Out.Ident.ToUtf8(), Expected[I]);
  }

  EXPECT_EQ(List->GetItem(3, &Out), E_FAIL);
  EXPECT_EQ(LastSource(), "Список макросов");
  EXPECT_EQ(LastMessage(), "Индекс массива 3 выходит за пределы [0, 2]");
  EXPECT_EQ(List->Insert(5, &A), E_FAIL);
  EXPECT_EQ(List->GetItem(0, nullptr), E_POINTER);

  ASSERT_EQ(List->Clear(), S_OK);
  ASSERT_EQ(List->GetCount(&Count), S_OK);
  EXPECT_EQ(Count, 0);

  TComPtr<IKxContextMacroAttrsList> Context(new IKxContextMacroAttrsListImp);
  TKxContextMacroAttrs Entry{};
  EXPECT_EQ(Context->GetItem(-1, &Entry), E_FAIL);
  EXPECT_EQ(LastSource(), "Список контекстных макросов");
}

class TTestEditor : public TKxCustomEditor {
 public:
  explicit TTestEditor(bool& Destroyed) : FDestroyed(Destroyed) {}
  ~TTestEditor() override { FDestroyed = true; }
  void MouseDown(std::int32_t Button, std::int32_t Shift, TKxViewPoint P) override {
    Clicks.push_back({Button, Shift, P.X, P.Y});
  }
  void KeyDown(std::uint16_t, std::int32_t) override { throw std::runtime_error("plain"); }
  void KeyUp(std::uint16_t, std::int32_t) override { throw 42; }
  void Paint() override { throw core::Exception(std::string(300, 'x')); }
  std::vector<std::array<int, 4>> Clicks;

 private:
  bool& FDestroyed;
};

TEST_F(FrameworkTest, EditorLivesAsLongAsTheLastReferenceToItsInterface) {
  HoldErrorInfo();
  bool Destroyed = false;
  auto* Editor = new TTestEditor(Destroyed);  // owned by its IKxEditor references
  IKxEditor* Intf = Editor->Editor();
  TComPtr<IKxMapView>(&Manager->MapView())->SetEditor(Intf);
  Editor->ReleaseOwnReference();
  ASSERT_FALSE(Destroyed);

  std::uint32_t Options = 0;
  EXPECT_EQ(Intf->GetOptions(&Options), S_OK);
  EXPECT_EQ(Options, 4u);
  EXPECT_EQ(Intf->MouseDown(0, 2, 10, -20), S_OK);
  ASSERT_EQ(Editor->Clicks.size(), 1u);
  EXPECT_EQ(Editor->Clicks[0], (std::array<int, 4>{0, 2, 10, -20}));

  // Nothing escapes; the message is cut to 255 characters.
  EXPECT_EQ(Intf->Paint(), E_FAIL);
  EXPECT_EQ(LastSource(), "Редактор карты");
  EXPECT_EQ(LastMessage(), std::string(255, 'x'));
  EXPECT_EQ(Intf->KeyDown(13, 0), E_FAIL);
  EXPECT_EQ(LastMessage(), "plain");
  EXPECT_EQ(Intf->KeyUp(13, 0), E_FAIL);
  EXPECT_EQ(LastMessage(), "Unknown exception");

  TComPtr<IKxContextMacroAttrsList> Context;
  ASSERT_EQ(Intf->GetContextMacros(Context.Out(), 1, 2), S_OK);
  std::int32_t Count = -1;
  ASSERT_EQ(Context->GetCount(&Count), S_OK);
  EXPECT_EQ(Count, 0);
  Context.Reset();

  Manager->MapView().DropEditor();
  EXPECT_TRUE(Destroyed);
}

class TTestAddOn : public TKxCustomAddon {
 public:
  TTestAddOn(std::string_view Name, bool* Destroyed = nullptr)
      : TKxCustomAddon(TestClassID, Name, "Тестовое расширение", 7), FDestroyed(Destroyed) {}
  ~TTestAddOn() override {
    if (FDestroyed) *FDestroyed = true;
  }
  void ExecuteMacro(std::int32_t Index, std::int32_t) override {
    if (Index == 1) throw core::Exception("Команда не выполнена");
  }

 private:
  bool* FDestroyed;
};

TEST_F(FrameworkTest, AddOnConnectsTakesTheHostWindowAndFreesItsFormsAtDisconnect) {
  auto* AddOn = new TTestAddOn(std::string(40, 'n'));  // owned by its factory link
  EXPECT_EQ(AddOn->Name.Length, 31);
  EXPECT_EQ(AddOn->Version, 260u);
  EXPECT_EQ(ModuleState().CurrentAddon, AddOn);
  ASSERT_EQ(ComServer()->FindFactory(TestClassID), AddOn->Factory);

  AddOn->Connect(Manager.get());
  EXPECT_TRUE(AddOn->Connected);
  EXPECT_TRUE(AddOn->MapView && AddOn->MapObjects && AddOn->GISDatabase && AddOn->Preferences);
  EXPECT_EQ(ModuleState().FormParentWindow, static_cast<HWND>(Manager->MainWindow().winId()));
  EXPECT_EQ(ModuleState().ApplicationTitle, "Trace host");
  EXPECT_GT(Manager->OutstandingReferences(), 0);

  QPointer<TKxAddonForm> First = new TKxAddonForm;  // owned by the add-on's forms
  QPointer<TKxAddonForm> Second = new TKxAddonForm;
  EXPECT_EQ(First->parentWidget(), &Manager->MainWindow());
  EXPECT_TRUE(First->isWindow());
  EXPECT_EQ(AddOn->Forms, (std::vector<TKxAddonFormLink*>{First, Second}));
  delete Second.data();
  EXPECT_EQ(AddOn->Forms.size(), 1u);

  AddOn->Disconnect();
  EXPECT_TRUE(First.isNull());
  EXPECT_FALSE(AddOn->Connected);
  EXPECT_EQ(ModuleState().FormParentWindow, 0u);
  EXPECT_FALSE(ModuleState().ErrorInfo);
  EXPECT_EQ(Manager->OutstandingReferences(), 0);

  delete AddOn;
  EXPECT_EQ(ModuleState().CurrentAddon, nullptr);
  EXPECT_TRUE(ModuleState().AddOns.empty());
  // The factory outlives its add-on but makes no more objects.
  void* Obj = nullptr;
  EXPECT_EQ(ComServer()->FindFactory(TestClassID)->CreateInstance(nullptr, IID_IKxAddOn, &Obj),
            E_FAIL);
}

TEST_F(FrameworkTest, ProxyReportsFailuresUnderTheDescriptionAndLeavesTheAddOnAsItWas) {
  bool Destroyed = false;
  auto* AddOn = new TTestAddOn("Test", &Destroyed);
  TComPtr<IKxAddOn> Proxy;
  ASSERT_EQ(AddOn->Factory->CreateInstance(nullptr, IID_IKxAddOn, Proxy.OutVoid()), S_OK);

  Manager->HideInterface(IID_IKxMapView);
  EXPECT_EQ(Proxy->Connect(static_cast<IKxAddOnManager*>(Manager.get())), E_FAIL);
  EXPECT_EQ(LastSource(), "Тестовое расширение");
  EXPECT_EQ(LastMessage(), "Interface not supported");
  EXPECT_FALSE(AddOn->Connected);
  EXPECT_FALSE(AddOn->AddOnManager);

  // A failing host call inside Connect carries the host's own error text.
  host::THostManager Failing;
  Failing.FailWindowQueries(true);
  EXPECT_EQ(Proxy->Connect(static_cast<IKxAddOnManager*>(&Failing)), E_FAIL);
  EXPECT_EQ(Failing.ErrorInfo().SourceUtf8(), "Тестовое расширение");
  EXPECT_EQ(Failing.ErrorInfo().MessageUtf8(), "Главное окно недоступно. [Менеджер расширений]");
  EXPECT_FALSE(AddOn->Connected);

  Manager = std::make_unique<host::THostManager>();
  ASSERT_EQ(Proxy->Connect(static_cast<IKxAddOnManager*>(Manager.get())), S_OK);
  EXPECT_EQ(Proxy->ExecuteMacro(1, 0), E_FAIL);
  EXPECT_EQ(LastMessage(), "Команда не выполнена");
  EXPECT_EQ(Proxy->SaveBitmap(nullptr, 5), S_FALSE);  // the base has no bitmaps
  ASSERT_EQ(Proxy->Disconnect(), S_OK);
  ModuleState().ErrorInfo = TComPtr<IKxErrorInfo>(&Failing.ErrorInfo());
  Proxy.Reset();
  ModuleState().ErrorInfo.Reset();
  EXPECT_EQ(Failing.OutstandingReferences(), 0);

  // The server's factories go last and take an attached add-on with them.
  DestroyComServer();
  EXPECT_TRUE(Destroyed);
}

TEST_F(FrameworkTest, HostCallsRaiseWithTheHostsLastErrorText) {
  HoldErrorInfo();
  const auto Source = TKxText::FromUtf8("Карта");
  const auto Message = TKxText::FromUtf8("Нет доступа");
  Manager->ErrorInfo().SetLastError(&Source, &Message);
  try {
    OleCheck(E_FAIL);
    FAIL() << "no exception";
  } catch (const EHResultError& E) {
    EXPECT_EQ(E.Message(), "Нет доступа. [Карта]");
    EXPECT_EQ(E.Code(), E_FAIL);
  }
  EXPECT_EQ(OleCheck(S_FALSE), S_FALSE);

  TKxMapView View(TComPtr<IKxMapView>(&Manager->MapView()));
  EXPECT_NO_THROW(View.Invalidate());
  EXPECT_EQ(Manager->MapView().InvalidateCount(), 1);
  // A point far beyond any pixel: the host refuses it.
  EXPECT_THROW(View.MapToDevice({1e300, 2}), EHResultError);
  View.Release();
  EXPECT_THROW(View.Invalidate(), EIntfCastError);

  ModuleState().ErrorInfo.Reset();
  try {
    OleCheck(E_NOTIMPL);
  } catch (const EHResultError& E) {
    EXPECT_EQ(E.Message(), ". []");
  }
}

TEST(Cursors, ModuleCursorsTakeConsecutiveNumbersFromARunningIndex) {
  const int Start = NextCursorIndex();
  ASSERT_FALSE(compat::HasScreenCursor(compat::crCross));
  EXPECT_EQ(RegisterModuleCursors(), Start);
  EXPECT_TRUE(compat::HasScreenCursor(compat::crCross));
  for (int I = 0; I < 23; ++I) EXPECT_TRUE(compat::HasScreenCursor(Start + I)) << I;
  EXPECT_EQ(NextCursorIndex(), Start + 23);

  // A missing resource still takes its number.
  EXPECT_EQ(RegisterCursors({"NO_SUCH_CURSOR", "CR_HAND"}), Start + 23);
  EXPECT_FALSE(compat::HasScreenCursor(Start + 23));
  EXPECT_TRUE(compat::HasScreenCursor(Start + 24));
  EXPECT_EQ(NextCursorIndex(), Start + 25);

  // Hot spots come from the images: the cross is centred, the hand is not.
  const auto Cross = compat::LoadCursorResource("CR_CROSS");
  ASSERT_TRUE(Cross.has_value());
  EXPECT_EQ(Cross->HotSpot, QPoint(15, 15));
  EXPECT_EQ(Cross->Image.size(), QSize(32, 32));
  EXPECT_EQ(compat::LoadCursorResource("CR_HAND")->HotSpot, QPoint(14, 6));
}

}  // namespace
