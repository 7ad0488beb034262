// The project tree chooser over a host project: filling by kind, what may be
// confirmed, preselection, the search from it, and the texts for the pad.
#include "ui/project_tree_form.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>

#include "addonkit/com_server.h"
#include "addonkit/custom_addon.h"
#include "addonkit/hresult_error.h"
#include "addonlib/widgets/search_in_tree.h"
#include "host/model/map_model.h"
#include "tests/forms/project_towns.h"
#include "tests/support/test_host.h"
#include "tests/ui/ui_app.h"
#include "tests/widgets/screenshot.h"
#include "ui/project_names.h"

namespace {

using compat::TComPtr;
using host::MakeID;
using ui::TProjectTreeForm;

constexpr GUID TestClassID = compat::ParseGuid("{22222222-3333-4444-5555-666666666666}");

// Runs Step on the modal dialog once it is shown.
void WhenModal(std::function<void(QWidget*)> Step) {
  QTimer::singleShot(0, [Step] { Step(QApplication::activeModalWidget()); });
}

QTreeWidgetItem* Find(QTreeWidget* Tree, const char* Text) {
  const auto Items =
      Tree->findItems(QString::fromUtf8(Text), Qt::MatchExactly | Qt::MatchRecursive);
  return Items.isEmpty() ? nullptr : Items[0];
}

// The host's database, except that it refuses every layer's style list the
// way it refuses one of a layer it does not know: the host's model is
// consistent, so it never fails that call on its own.
class TNoLayerStyles : public host::THostObject<kx::IKxGISDatabase, kx::IID_IKxGISDatabase> {
 public:
  explicit TNoLayerStyles(kx::IKxGISDatabase& Host) : FHost(Host) {}

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE GetMapInfo(const kx::TKxID* ID, kx::TKxMapInfo* Info) override {
    return FHost.GetMapInfo(ID, Info);
  }
  HRESULT STDMETHODCALLTYPE GetMapLayers(const kx::TKxID* ID, kx::IKxIDsList** Out) override {
    return FHost.GetMapLayers(ID, Out);
  }
  HRESULT STDMETHODCALLTYPE GetLayerInfo(const kx::TKxID* ID, kx::TKxLayerInfo* Info) override {
    return FHost.GetLayerInfo(ID, Info);
  }
  HRESULT STDMETHODCALLTYPE GetLayerStyles(const kx::TKxID*, kx::IKxIDsList** Out) override {
    const kx::TKxID Gone = MakeID("gone");
    return FHost.GetLayerStyles(&Gone, Out);
  }
  HRESULT STDMETHODCALLTYPE GetStyle(const kx::TKxID* ID, kx::IKxStyle** Out) override {
    return FHost.GetStyle(ID, Out);
  }

 private:
  kx::IKxGISDatabase& FHost;
};

class ChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddTowns(Host.Project());
    // Owned by its class factory, which the server destroys at the end.
    AddOn = new kx::TKxCustomAddon(TestClassID, "Test", "Test", 0);
    AddOn->Connect(Host.AddOnManager());
  }
  void TearDown() override {
    if (AddOn->Connected) AddOn->Disconnect();
    kx::DestroyComServer();
    EXPECT_EQ(Host.Manager().OutstandingReferences(), 0);
  }

  // The dialog's tree as "text" lines indented by depth.
  static QStringList Lines(QTreeWidget* Tree) {
    QStringList Out;
    for (QTreeWidgetItemIterator It(Tree); *It; ++It) {
      int Depth = 0;
      for (auto* P = (*It)->parent(); P; P = P->parent()) ++Depth;
      Out << QString(Depth * 2, ' ') + (*It)->text(0);
    }
    return Out;
  }

  host::TTestHost Host;
  kx::TKxCustomAddon* AddOn = nullptr;
};

TEST_F(ChooserTest, ShowsTheModelsTreeAndOkFollowsTheSelection) {
  TProjectTreeForm Form;
  Form.Fill(AddOn, ui::pkStyle, false);
  EXPECT_EQ(Form.TreeLabel()->text(), "&Список стилей:");
  EXPECT_EQ(Lines(Form.ProjectTree()),
            (QStringList{"Город", "  Дороги", "    Асфальт", "    Грунт", "  Здания", "    Жилые",
                         "Пригород", "  Дороги", "    Грунт"}));
  QTreeWidgetItem* Ground = Find(Form.ProjectTree(), "Грунт");
  ASSERT_NE(Ground, nullptr);
  EXPECT_EQ(TProjectTreeForm::Holder(Ground)->ID, MakeID("S2"));
  EXPECT_EQ(TProjectTreeForm::Holder(Ground)->Kind, ui::pkStyle);
  EXPECT_EQ(TProjectTreeForm::Holder(Ground->parent())->Kind, ui::pkLayer);
  EXPECT_FALSE(Ground->icon(0).isNull());

  EXPECT_FALSE(Form.OkButton()->isEnabled());  // nothing selected
  Form.ProjectTree()->setCurrentItem(Ground->parent());
  EXPECT_FALSE(Form.OkButton()->isEnabled());  // a layer is no style
  EXPECT_TRUE(Form.ResultID().Empty());
  Form.ProjectTree()->setCurrentItem(Ground);
  EXPECT_TRUE(Form.OkButton()->isEnabled());
  EXPECT_EQ(Form.ResultID(), MakeID("S2"));

  TProjectTreeForm Layers;
  Layers.Fill(AddOn, ui::pkLayer, false);
  EXPECT_EQ(Layers.TreeLabel()->text(), "&Список слоев:");
  EXPECT_EQ(Lines(Layers.ProjectTree()),
            (QStringList{"Город", "  Дороги", "  Здания", "Пригород", "  Дороги"}));
  Layers.Preselect(MakeID("L3"));
  EXPECT_EQ(Layers.ProjectTree()->currentItem(), Layers.ProjectTree()->topLevelItem(1)->child(0));
  EXPECT_TRUE(Layers.OkButton()->isEnabled());

  // Preselection makes the node visible: its ancestors open.
  TProjectTreeForm Styles;
  Styles.setWindowTitle("Выберите стиль");
  Styles.Fill(AddOn, ui::pkStyle, false);
  Styles.Preselect(MakeID("S3"));
  ASSERT_NE(Styles.ProjectTree()->currentItem(), nullptr);
  EXPECT_EQ(Styles.ProjectTree()->currentItem()->text(0), "Жилые");
  EXPECT_TRUE(Styles.ProjectTree()->currentItem()->parent()->isExpanded());
  SaveScreenshot(&Styles, "project_tree_chooser");
}

TEST_F(ChooserTest, ChoosingAStyleReturnsWhetherTheIDChanged) {
  // A new style: true, and the ID holds it.
  kx::TKxID StyleID{};
  WhenModal([](QWidget* W) {
    auto* Form = dynamic_cast<TProjectTreeForm*>(W);
    ASSERT_NE(Form, nullptr);
    EXPECT_EQ(Form->windowTitle(), "Выберите стиль");
    EXPECT_EQ(Form->ProjectTree()->currentItem(), nullptr);  // nothing preselected
    Form->ProjectTree()->setCurrentItem(Find(Form->ProjectTree(), "Жилые"));
    Form->OkButton()->click();
  });
  EXPECT_TRUE(ui::ChooseFromProjectTree(AddOn, "Выберите стиль", ui::pkStyle, StyleID));
  EXPECT_EQ(StyleID, MakeID("S3"));

  // Confirming the preselected node: false, the ID as it was.
  WhenModal([](QWidget* W) {
    auto* Form = static_cast<TProjectTreeForm*>(W);
    EXPECT_EQ(Form->ProjectTree()->currentItem()->text(0), "Жилые");
    Form->OkButton()->click();
  });
  EXPECT_FALSE(ui::ChooseFromProjectTree(AddOn, "Выберите стиль", ui::pkStyle, StyleID));
  EXPECT_EQ(StyleID, MakeID("S3"));

  // A layer never confirms a style choice, not even by a double click;
  // Cancel then keeps the ID.
  WhenModal([](QWidget* W) {
    auto* Form = static_cast<TProjectTreeForm*>(W);
    QTreeWidgetItem* Layer = Find(Form->ProjectTree(), "Здания");
    Form->ProjectTree()->setCurrentItem(Layer);
    emit Form->ProjectTree()->itemDoubleClicked(Layer, 0);
    Form->OkButton()->click();  // disabled: nothing happens
    EXPECT_TRUE(Form->isVisible());
    Form->reject();
  });
  EXPECT_FALSE(ui::ChooseFromProjectTree(AddOn, "Выберите стиль", ui::pkStyle, StyleID));
  EXPECT_EQ(StyleID, MakeID("S3"));

  // A double click on a style confirms it.
  WhenModal([](QWidget* W) {
    auto* Form = static_cast<TProjectTreeForm*>(W);
    QTreeWidgetItem* Style = Find(Form->ProjectTree(), "Асфальт");
    Form->ProjectTree()->setCurrentItem(Style);
    emit Form->ProjectTree()->itemDoubleClicked(Style, 0);
  });
  EXPECT_TRUE(ui::ChooseFromProjectTree(AddOn, "Выберите стиль", ui::pkStyle, StyleID));
  EXPECT_EQ(StyleID, MakeID("S1"));
}

TEST_F(ChooserTest, HostFailuresEndTheChoice) {
  // A failing host call ends the choice with the host's error; the ID stays.
  TNoLayerStyles NoStyles(Host.Manager().Database());
  AddOn->GISDatabase = kx::TKxGISDatabase(TComPtr<kx::IKxGISDatabase>(&NoStyles));
  kx::TKxID StyleID = MakeID("S1");
  try {
    ui::ChooseFromProjectTree(AddOn, "Выберите стиль", ui::pkStyle, StyleID);
    ADD_FAILURE() << "no error";
  } catch (const kx::EHResultError& E) {
    EXPECT_STREQ(E.what(), "Неизвестный слой «gone». [IKxGISDatabase.GetLayerStyles]");
  }
  EXPECT_EQ(StyleID, MakeID("S1"));
  // Without styles the layer list is not asked for.
  {
    TProjectTreeForm Layers;
    Layers.Fill(AddOn, ui::pkLayer, false);
    EXPECT_EQ(Layers.ProjectTree()->topLevelItemCount(), 2);
  }
  AddOn->GISDatabase = kx::TKxGISDatabase(TComPtr<kx::IKxGISDatabase>(&Host.Manager().Database()));
  EXPECT_EQ(NoStyles.RefCount(), 0);
}

TEST_F(ChooserTest, FindItemSearchesTheTreeAndSelectsTheFoundNode) {
  TProjectTreeForm Form;
  Form.Fill(AddOn, ui::pkStyle, false);
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  EXPECT_EQ(Form.FindItem()->text(), "Найти ...");
  EXPECT_EQ(Form.FindItem()->shortcut(), QKeySequence("Ctrl+F"));
  bool Searched = false;
  WhenModal([&](QWidget* W) {
    auto* Search = dynamic_cast<kx::TSearchInTreeForm*>(W);
    ASSERT_NE(Search, nullptr);
    Searched = true;
    Search->Timer()->setInterval(0);
    Search->Filter()->setText("жил");
    EXPECT_EQ(Search->SearchTree()->topLevelItem(0)->text(0), "Город");
    EXPECT_FALSE(Search->SearchTree()->topLevelItem(0)->icon(0).isNull());
    SaveScreenshot(Search, "search_from_chooser");
    Search->accept();
  });
  QTest::keyClick(Form.ProjectTree(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(Searched);
  EXPECT_EQ(Form.ProjectTree()->currentItem()->text(0), "Жилые");
  EXPECT_TRUE(Form.OkButton()->isEnabled());
}

TEST_F(ChooserTest, TextsForThePad) {
  EXPECT_EQ(ui::ProjectStyleName(AddOn, MakeID("S2"), "стиль не задан"), "Грунт");
  EXPECT_EQ(ui::ProjectLayerCaption(AddOn, MakeID("L3"), "слой не задан"), "[Пригород] Дороги");
  EXPECT_EQ(ui::ProjectLayerCaption(AddOn, kx::TKxID{}, "слой не задан"), "слой не задан");
  EXPECT_EQ(ui::StyleLayerID(AddOn, MakeID("S2")), MakeID("L1"));
}

}  // namespace
