// The trace pad's Qt view in process, over the host's map model: that it
// shows the model (layout, texts, images, states) and passes the input on
// (actions, boxes, the width, closing and showing, Escape), and the parts
// that only a window has: the chooser and progress dialogs and the placement
// on the screen. What the pad decides is tested on its model, and the editor
// outliving the pad there and through the module.
#include "ui/trace_pad_form.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "addon/trace_addon.h"
#include "addonkit/com_server.h"
#include "addonkit/orvex_calls.h"
#include "forms/pad_placement.h"
#include "host/com/host_values.h"
#include "host/model/small_project.h"
#include "tests/support/test_host.h"
#include "tests/ui/ui_app.h"
#include "tests/widgets/screenshot.h"
#include "ui/project_tree_form.h"
#include "ui/show_exception.h"

namespace {

using forms::TPadAction;
using host::MakeID;
using ui::TTracePadForm;

constexpr double X0 = 500000, Y0 = 6000000;

class TracePadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::AddSmallProject(Host.Project());
    Host.View().SetTransform({X0 + 75, Y0 + 60, 0.2, 800, 600});
    ui::SetExceptionReporter([this](QWidget*, const QString& Message) { Messages << Message; });
    // The user interface installs its pad when it is loaded.
    ASSERT_EQ(kx::TracePadCreator, &ui::CreateTracePad);
    // Owned by its class factory; destroyed with the server below.
    AddOn = new kx::TTraceAddOn;
    kx::TraceAddOn = AddOn;
    AddOn->Connect(Host.AddOnManager());
  }
  void TearDown() override {
    if (AddOn->Connected) AddOn->Disconnect();
    EXPECT_EQ(kx::TracePadForm, nullptr);
    Host.View().DropEditor();
    kx::DestroyComServer();
    ui::SetExceptionReporter(nullptr);
  }

  TTracePadForm* OpenPad() {
    AddOn->ExecuteMacro(0, 0);
    return dynamic_cast<TTracePadForm*>(kx::TracePadForm);
  }
  void Store(const char* Key, const char* Value) {
    kx::TOrvexApplication::FromManager(Host.AddOnManager())
        .GetSettingsStore()
        .WriteValue(1, 0, Key, Value);
  }
  std::string Stored(const char* Key) {
    return kx::TOrvexApplication::FromManager(Host.AddOnManager())
        .GetSettingsStore()
        .ReadValue(1, 0, Key, "none");
  }
  // The host tells the add-on of a new selection.
  void Select(std::vector<kx::TKxID> IDs) {
    Host.View().SetSelection(std::move(IDs));
    compat::TComPtr<kx::IKxParamsList> Params(
        new host::THostParamsList(Host.Manager().Context(), std::vector<VARIANT>(5)));
    AddOn->Notify(16, Params.Get());
  }
  std::uint32_t EditorOptions() {
    std::uint32_t Options = 99;
    EXPECT_EQ(Host.View().Editor()->GetOptions(&Options), S_OK);
    return Options;
  }

  host::TTestHost Host;
  kx::TTraceAddOn* AddOn = nullptr;
  QStringList Messages;
};

TEST_F(TracePadTest, FirstRunLayoutAndTheStatesOfItsActions) {
  TTracePadForm* Pad = OpenPad();
  ASSERT_NE(Pad, nullptr);
  EXPECT_TRUE(Pad->isVisible());
  EXPECT_EQ(Pad->windowTitle(), "Трассировка");
  EXPECT_EQ(Pad->BufferZoneEdit()->text(), "0");  // no stored width yet
  EXPECT_EQ(Pad->NewObjectStyleLabel()->text(), "Не выбран стиль создаваемого объекта.");
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isChecked());
  EXPECT_TRUE(Pad->CheckBoxAlong()->isChecked());
  EXPECT_FALSE(Pad->CheckBoxCloseBy()->isChecked());
  // Seven buttons, separators after the second and the fourth, each with
  // its image.
  const QList<QAction*> Bar = Pad->TraceToolBar()->actions();
  ASSERT_EQ(Bar.size(), 9);
  EXPECT_TRUE(Bar[2]->isSeparator());
  EXPECT_TRUE(Bar[5]->isSeparator());
  EXPECT_EQ(Bar[0], Pad->Action(TPadAction::AddZones));
  EXPECT_EQ(Bar[8], Pad->Action(TPadAction::Settings));
  for (QAction* A : Bar)
    if (!A->isSeparator()) {
      EXPECT_FALSE(A->icon().isNull()) << A->text().toStdString();
    }
  EXPECT_EQ(Pad->Action(TPadAction::UndoAllTracePoints)->text(), "Отменить все обрисовки");
  EXPECT_EQ(Pad->BufferZoneEdit()->toolTip().toStdString(), forms::PadWidthTip);
  // The hint, and the map's key for the same command.
  EXPECT_EQ(Pad->Action(TPadAction::UndoAllTracePoints)->toolTip(),
            "Отменить все действия, связанные с обрисовкой (Esc)");
  EXPECT_EQ(Pad->Action(TPadAction::AddZones)->toolTip().toStdString(),
            forms::PadActionText(TPadAction::AddZones).Hint);

  // Nothing selected, no zones, no trace: only the style and the settings.
  for (int I = 0; I < forms::PadActionCount; ++I)
    EXPECT_EQ(Pad->Action(TPadAction(I))->isEnabled(),
              I >= int(TPadAction::SelectStyle) && I != int(TPadAction::CreateObject))
        << I;
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isEnabled());
  // A host notification refreshes the actions: now there is a selection.
  Select({MakeID("1")});
  EXPECT_TRUE(Pad->Action(TPadAction::AddZones)->isEnabled());
  EXPECT_EQ(Messages, QStringList());
  SaveScreenshot(Pad, "trace_pad");
}

TEST_F(TracePadTest, TheWidthAndTheActionsReachTheModelAndErrorsAreShown) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("пять");
  EXPECT_EQ(Pad->Model().WidthText(), "пять");
  Select({MakeID("1"), MakeID("2")});
  Pad->Action(TPadAction::AddZones)->trigger();
  EXPECT_EQ(Messages, QStringList{"Ошибка: не могу преобразовать строку \"пять\" в число"});
  Pad->BufferZoneEdit()->setText("5");
  Pad->Action(TPadAction::AddZones)->trigger();
  ASSERT_EQ(Pad->Model().ZoneObjectIDs.size(), 2u);
  EXPECT_TRUE(Pad->CheckBoxTraceOn()->isEnabled());
  Pad->Action(TPadAction::RemoveAllZones)->trigger();
  EXPECT_TRUE(Pad->Model().ZoneObjectIDs.empty());
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isEnabled());
}

TEST_F(TracePadTest, TheBoxesAndClosingAndShowingReachTheModel) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->Action(TPadAction::AddZones)->trigger();
  Pad->CheckBoxTraceOn()->click();
  EXPECT_EQ(EditorOptions(), 4628u);
  Pad->CheckBoxCloseBy()->click();
  Pad->CheckBoxAlong()->click();
  EXPECT_TRUE(Pad->Model().CloseBy());
  EXPECT_FALSE(Pad->Model().Along());

  // A click of the editor refreshes the actions shown.
  const geo::TDPoint V = Pad->Model().Graph->Vertices.Items(0);
  std::int32_t DX = 0, DY = 0;
  ASSERT_EQ(Host.View().MapToDevice(V.X, V.Y, &DX, &DY), S_OK);
  ASSERT_EQ(Host.View().Editor()->MouseDown(0, 0, DX, DY), S_OK);
  EXPECT_TRUE(Pad->Action(TPadAction::UndoTracePoint)->isEnabled());

  Pad->close();
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isChecked());
  EXPECT_EQ(EditorOptions(), 0u);  // suspended
  AddOn->ExecuteMacro(0, 0);       // the same pad comes back
  EXPECT_EQ(kx::TracePadForm, static_cast<kx::TTracePadLink*>(Pad));
  EXPECT_TRUE(Pad->CheckBoxTraceOn()->isChecked());
  EXPECT_EQ(EditorOptions(), 4628u);
  // Escape hides the pad the same way.
  QTest::keyClick(Pad, Qt::Key_Escape);
  EXPECT_FALSE(Pad->isVisible());
  EXPECT_EQ(EditorOptions(), 0u);
  EXPECT_EQ(Messages, QStringList());
}

TEST_F(TracePadTest, StyleChoiceAndItsLabelAlsoAfterCancel) {
  TTracePadForm* Pad = OpenPad();
  QTimer::singleShot(0, [] {
    auto* Chooser = dynamic_cast<ui::TProjectTreeForm*>(QApplication::activeModalWidget());
    ASSERT_NE(Chooser, nullptr);
    EXPECT_EQ(Chooser->windowTitle(), "Выберите стиль");
    const auto Found =
        Chooser->ProjectTree()->findItems("Участок", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(Found.size(), 1);
    Chooser->ProjectTree()->setCurrentItem(Found[0]);
    Chooser->OkButton()->click();
  });
  Pad->Action(TPadAction::SelectStyle)->trigger();
  EXPECT_EQ(kx::NewObjectStyleID, MakeID("S2"));
  EXPECT_EQ(kx::NewObjectLayerID, MakeID("L2"));
  EXPECT_EQ(Pad->NewObjectStyleLabel()->text(), "[Город] Участки - Участок");
  EXPECT_EQ(Messages, QStringList());
}

TEST_F(TracePadTest, PlacementAndWidthAreStoredAndRestored) {
  Store("TraceFormLTWH", "10 20 300 197 maximized");
  Store("TraceBufferZoneSize", "12,5");
  TTracePadForm* Pad = OpenPad();
  EXPECT_TRUE(Pad->isMaximized());
  EXPECT_EQ(Pad->BufferZoneEdit()->text(), "12,5");
  AddOn->Disconnect();
  EXPECT_EQ(Stored("TraceBufferZoneSize"), "12,5");
  const auto Saved = forms::ParsePadPlacement(Stored("TraceFormLTWH"));
  ASSERT_TRUE(Saved);
  EXPECT_EQ(Saved->State, forms::TPadWindowState::Maximized);
  // The height is the pad's own.
  EXPECT_EQ(Saved->Bounds.Left, 10);
  EXPECT_EQ(Saved->Bounds.Top, 20);
  EXPECT_EQ(Saved->Bounds.Width, 300);

  // Far outside the work area: moved back into it.
  Store("TraceFormLTWH", "-500 -400 300 197 normal");
  AddOn->Connect(Host.AddOnManager());
  Pad = OpenPad();
  const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(Pad->frameGeometry().topLeft(), Area.topLeft());
}

// Notification 32: the host replaced its project; the pad's zones go.
TEST_F(TracePadTest, ANewProjectTakesTheZonesWithIt) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->Action(TPadAction::AddZones)->trigger();
  ASSERT_EQ(Pad->Model().ZoneObjectIDs.size(), 1u);
  compat::TComPtr<kx::IKxParamsList> Params(
      new host::THostParamsList(Host.Manager().Context(), std::vector<VARIANT>(5)));
  AddOn->Notify(32, Params.Get());
  EXPECT_TRUE(Pad->Model().ZoneObjectIDs.empty());
  EXPECT_FALSE(Pad->Action(TPadAction::RemoveAllZones)->isEnabled());
}

TEST_F(TracePadTest, CancellingALongAddLeavesEverythingAsItWas) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->Action(TPadAction::AddZones)->trigger();
  const std::int32_t Vertices = Pad->Model().Graph->Vertices.Count();
  const std::int32_t Edges = Pad->Model().Graph->Edges.Count();

  // The dialog shows at once here; Cancel is pressed once it shows an object
  // done.
  Pad->ProgressDelay = 0;
  Pad->Model().ZoneThreads = 1;  // a report after each object
  QString Shown;
  QTimer Poll;
  Poll.setInterval(1);
  QObject::connect(&Poll, &QTimer::timeout, [&] {
    auto* Progress = dynamic_cast<QProgressDialog*>(QApplication::activeModalWidget());
    if (!Progress || Progress->value() < 1 || !Shown.isEmpty()) return;
    Shown = Progress->labelText();
    Progress->cancel();
  });
  Poll.start();
  Select({MakeID("1"), MakeID("3"), MakeID("2")});
  Pad->Action(TPadAction::AddZones)->trigger();
  Poll.stop();
  // Cancelled while the dialog was up, with the objects done in it; zones
  // build fast enough that the press may come after the last object.
  EXPECT_TRUE(Shown == "Построение буферных зон: 1 из 3" ||
              Shown == "Построение буферных зон: 2 из 3" ||
              Shown == "Построение буферных зон: 3 из 3")
      << Shown.toStdString();
  EXPECT_EQ(Pad->Model().Graph->Vertices.Count(), Vertices);
  EXPECT_EQ(Pad->Model().Graph->Edges.Count(), Edges);
  ASSERT_EQ(Pad->Model().ZoneObjectIDs.size(), 1u);
  EXPECT_EQ(Messages, QStringList());
}

}  // namespace
