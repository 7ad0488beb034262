// The trace pad in process, over the host's map model: actions and their
// states, zones added and removed, tracing switched on and off with the
// pad's visibility, the style choice, the stored placement and width, the
// progress of long adds with Cancel, and the editor outliving the pad.
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
#include "host/com/host_values.h"
#include "host/model/small_project.h"
#include "tests/support/test_host.h"
#include "tests/ui/ui_app.h"
#include "tests/widgets/screenshot.h"
#include "ui/pad_placement.h"
#include "ui/project_tree_form.h"
#include "ui/show_exception.h"

namespace {

using host::MakeID;
using ui::TTracePadForm;

constexpr double X0 = 500000, Y0 = 6000000;

class TracePadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::AddSmallProject(Host.Project());
    Host.View().SetTransform({X0 + 75, Y0 + 60, 0.2, 800, 600});
    ui::SetExceptionReporter([this](QWidget*, const QString& Message) { Messages << Message; });
    kx::TracePadCreator = &ui::CreateTracePad;
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
    AddOn->Notify(32, Params.Get());
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
  EXPECT_EQ(Bar[0], Pad->AddSelectedObjectsToBZListAction());
  EXPECT_EQ(Bar[8], Pad->SettingsAction());
  for (QAction* A : Bar)
    if (!A->isSeparator()) {
      EXPECT_FALSE(A->icon().isNull()) << A->text().toStdString();
    }
  EXPECT_EQ(Pad->UndoAllTracePointsAction()->text(), "Отменить все обрисовки");
  EXPECT_EQ(Pad->UndoAllTracePointsAction()->toolTip(),
            "Отменить все действия, связанные с обрисовкой");

  // Nothing selected, no zones, no trace.
  EXPECT_FALSE(Pad->AddSelectedObjectsToBZListAction()->isEnabled());
  EXPECT_FALSE(Pad->RemoveObjectFromBZListAction()->isEnabled());
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isEnabled());
  EXPECT_FALSE(Pad->UndoTracePointAction()->isEnabled());
  EXPECT_FALSE(Pad->CreateObjectAction()->isEnabled());
  EXPECT_TRUE(Pad->SelectNewObjectStyleAction()->isEnabled());
  EXPECT_TRUE(Pad->SettingsAction()->isEnabled());
  // Run anyway, the add raises and changes nothing.
  EXPECT_THROW(
      {
        try {
          Pad->AddSelectedObjectsToBZList();
        } catch (const core::Exception& E) {
          EXPECT_STREQ(E.what(), "Необходимо выбрать объекты");
          throw;
        }
      },
      core::Exception);
  EXPECT_EQ(Pad->Graph->Vertices.Count(), 0);
  // A host notification refreshes the actions: now there is a selection.
  Select({MakeID("1")});
  EXPECT_TRUE(Pad->AddSelectedObjectsToBZListAction()->isEnabled());
  EXPECT_EQ(Messages, QStringList());
  SaveScreenshot(Pad, "trace_pad");
}

TEST_F(TracePadTest, ZonesOfTheSelectionEachObjectOnceAndRemoved) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("1"), MakeID("2")});
  ASSERT_TRUE(Pad->AddSelectedObjectsToBZListAction()->isEnabled());
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  EXPECT_EQ(Messages, QStringList());
  ASSERT_EQ(Pad->ZoneObjectIDs.size(), 2u);
  const std::int32_t Vertices = Pad->Graph->Vertices.Count();
  EXPECT_GT(Vertices, 0);
  EXPECT_TRUE(Pad->CheckBoxTraceOn()->isEnabled());
  EXPECT_TRUE(Pad->RemoveObjectFromBZListAction()->isEnabled());

  // Again with an overlap: every ID once, in the order first added.
  Select({MakeID("2"), MakeID("3")});
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  ASSERT_EQ(Pad->ZoneObjectIDs.size(), 3u);
  EXPECT_EQ(Pad->ZoneObjectIDs[0], MakeID("1"));
  EXPECT_EQ(Pad->ZoneObjectIDs[1], MakeID("2"));
  EXPECT_EQ(Pad->ZoneObjectIDs[2], MakeID("3"));
  EXPECT_GT(Pad->Graph->Vertices.Count(), Vertices);

  // A width that is no number is reported and adds nothing.
  const std::int32_t Before = Pad->Graph->Vertices.Count();
  Pad->BufferZoneEdit()->setText("пять");
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], "'пять' is not a valid floating point value");
  EXPECT_EQ(Pad->Graph->Vertices.Count(), Before);

  const int Invalidated = Host.View().InvalidateCount();
  Pad->RemoveObjectFromBZListAction()->trigger();
  EXPECT_EQ(Pad->Graph->Vertices.Count(), 0);
  EXPECT_EQ(Pad->Graph->Edges.Count(), 0);
  EXPECT_TRUE(Pad->ZoneObjectIDs.empty());
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isEnabled());
  EXPECT_GT(Host.View().InvalidateCount(), Invalidated);
}

TEST_F(TracePadTest, ClosingThePadSuspendsTracingAndShowingItResumes) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  ASSERT_TRUE(Pad->CheckBoxTraceOn()->isEnabled());
  const int Op5 = Host.View().Operation5Count();
  Pad->CheckBoxTraceOn()->click();
  ASSERT_NE(Host.View().Editor(), nullptr);
  EXPECT_EQ(Host.View().Operation5Count(), Op5 + 1);
  EXPECT_EQ(EditorOptions(), 4628u);
  ASSERT_NE(trace::CurrentEditor, nullptr);
  EXPECT_TRUE(trace::CurrentEditor->Along);
  EXPECT_FALSE(trace::CurrentEditor->CloseBy);
  Pad->CheckBoxCloseBy()->click();
  Pad->CheckBoxAlong()->click();
  EXPECT_TRUE(trace::CurrentEditor->CloseBy);
  EXPECT_FALSE(trace::CurrentEditor->Along);

  // A click on a zone vertex makes a trace: the undo and create actions
  // follow it.
  const geo::TDPoint V = Pad->Graph->Vertices.Items(0);
  std::int32_t DX = 0, DY = 0;
  ASSERT_EQ(Host.View().MapToDevice(V.X, V.Y, &DX, &DY), S_OK);
  ASSERT_EQ(Host.View().Editor()->MouseDown(0, 0, DX, DY), S_OK);
  EXPECT_TRUE(Pad->UndoTracePointAction()->isEnabled());
  EXPECT_TRUE(Pad->CreateObjectAction()->isEnabled());

  Pad->close();
  EXPECT_FALSE(Pad->isVisible());
  EXPECT_FALSE(Pad->CheckBoxTraceOn()->isChecked());
  EXPECT_EQ(EditorOptions(), 0u);                     // suspended
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 1);  // the trace is kept
  AddOn->ExecuteMacro(0, 0);                          // the same pad comes back
  EXPECT_EQ(kx::TracePadForm, static_cast<kx::TTracePadLink*>(Pad));
  EXPECT_TRUE(Pad->isVisible());
  EXPECT_TRUE(Pad->CheckBoxTraceOn()->isChecked());
  EXPECT_EQ(EditorOptions(), 4628u);
  EXPECT_EQ(Pad->ZoneObjectIDs.size(), 1u);

  // Creating needs a style first.
  Pad->CreateObjectAction()->trigger();
  ASSERT_EQ(Messages.size(), 1);
  EXPECT_EQ(Messages[0], "Для создания объекта необходимо выбрать стиль");
  Pad->UndoAllTracePointsAction()->trigger();
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 0);
  EXPECT_FALSE(Pad->UndoTracePointAction()->isEnabled());

  // Escape hides the pad the same way.
  QTest::keyClick(Pad, Qt::Key_Escape);
  EXPECT_FALSE(Pad->isVisible());
  EXPECT_EQ(EditorOptions(), 0u);
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
  Pad->SelectNewObjectStyleAction()->trigger();
  EXPECT_EQ(kx::NewObjectStyleID, MakeID("S2"));
  EXPECT_EQ(kx::NewObjectLayerID, MakeID("L2"));
  EXPECT_EQ(Pad->NewObjectStyleLabel()->text(), "[Город] Участки - Участок");

  // Cancel keeps the choice but still writes the label afresh.
  kx::NewObjectStyleID = MakeID("S1");
  kx::NewObjectLayerID = MakeID("L1");
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  Pad->SelectNewObjectStyleAction()->trigger();
  EXPECT_EQ(kx::NewObjectStyleID, MakeID("S1"));
  EXPECT_EQ(Pad->NewObjectStyleLabel()->text(), "[Город] Улицы - Улица");
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
  const auto Saved = ui::ParsePadPlacement(QString::fromStdString(Stored("TraceFormLTWH")));
  ASSERT_TRUE(Saved);
  EXPECT_EQ(Saved->State, Qt::WindowMaximized);
  EXPECT_EQ(Saved->Bounds.topLeft(), QPoint(10, 20));
  EXPECT_EQ(Saved->Bounds.width(), 300);

  // A damaged text changes nothing; the pad stays where it was made.
  Store("TraceFormLTWH", "10 20 x 197 normal");
  AddOn->Connect(Host.AddOnManager());
  Pad = OpenPad();
  EXPECT_FALSE(Pad->isMaximized());
  EXPECT_NE(Pad->pos(), QPoint(10, 20));
  // Far outside the work area: moved back into it.
  AddOn->Disconnect();
  Store("TraceFormLTWH", "-500 -400 300 197 normal");
  AddOn->Connect(Host.AddOnManager());
  Pad = OpenPad();
  const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(Pad->frameGeometry().topLeft(), Area.topLeft());
}

TEST_F(TracePadTest, CancellingALongAddLeavesEverythingAsItWas) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  const std::int32_t Vertices = Pad->Graph->Vertices.Count();
  const std::int32_t Edges = Pad->Graph->Edges.Count();

  // The dialog shows at once here; Cancel is pressed once it shows an object
  // done.
  Pad->ProgressDelay = 0;
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
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  Poll.stop();
  // Cancelled while the dialog was up, with the objects done in it; zones
  // build fast enough that the press may come after the last object.
  EXPECT_TRUE(Shown == "Построение буферных зон: 1 из 3" ||
              Shown == "Построение буферных зон: 2 из 3" ||
              Shown == "Построение буферных зон: 3 из 3")
      << Shown.toStdString();
  EXPECT_EQ(Pad->Graph->Vertices.Count(), Vertices);
  EXPECT_EQ(Pad->Graph->Edges.Count(), Edges);
  ASSERT_EQ(Pad->ZoneObjectIDs.size(), 1u);
  EXPECT_EQ(Messages, QStringList());

  // Not cancelled, the same add goes through.
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  EXPECT_EQ(Pad->ZoneObjectIDs.size(), 3u);
  EXPECT_GT(Pad->Graph->Vertices.Count(), Vertices);
}

TEST_F(TracePadTest, AnEditorLeftInTheViewOutlivesThePadSafely) {
  TTracePadForm* Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Select({MakeID("2")});
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  Pad->CheckBoxTraceOn()->click();
  const geo::TDPoint V = Pad->Graph->Vertices.Items(0);
  std::int32_t DX = 0, DY = 0;
  ASSERT_EQ(Host.View().MapToDevice(V.X, V.Y, &DX, &DY), S_OK);
  ASSERT_EQ(Host.View().Editor()->MouseDown(0, 0, DX, DY), S_OK);
  // Freed with its graph at Disconnect, while the host keeps the editor.
  AddOn->Disconnect();
  ASSERT_NE(Host.View().Editor(), nullptr);
  EXPECT_EQ(trace::CurrentEditor, nullptr);
  EXPECT_EQ(EditorOptions(), 0u);
  EXPECT_EQ(Host.View().Editor()->MouseDown(0, 0, DX + 3, DY), S_OK);
  EXPECT_EQ(Host.View().Editor()->Paint(), S_OK);
  EXPECT_TRUE(Host.View().Render());

  // A new pad makes an editor of its own, which replaces the old one.
  AddOn->Connect(Host.AddOnManager());
  Pad = OpenPad();
  Pad->BufferZoneEdit()->setText("5");
  Pad->AddSelectedObjectsToBZListAction()->trigger();
  Pad->CheckBoxTraceOn()->click();
  ASSERT_NE(trace::CurrentEditor, nullptr);
  EXPECT_EQ(trace::CurrentEditor->Elems.Count(), 0);
  EXPECT_EQ(EditorOptions(), 4628u);
  EXPECT_EQ(Messages, QStringList());
}

}  // namespace
