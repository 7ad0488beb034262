// The tree search: the source over a tree view, the filtered result tree,
// the delayed refill, the kept selection, and the dialog's OK.
#include "addonlib/widgets/search_in_tree.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "addonlib/widgets/x_tree_view.h"
#include "core/exception.h"
#include "tests/addonkit/qt_app.h"
#include "tests/widgets/screenshot.h"

namespace {

using kx::TSearchInTreeForm;

QIcon Swatch(Qt::GlobalColor Color) {
  QPixmap P(16, 16);
  P.fill(Color);
  return QIcon(P);
}

// A project-like tree: maps, layers, styles.
struct TSourceTree {
  TSourceTree() {
    TestApp();
    Images = {Swatch(Qt::darkGreen), Swatch(Qt::darkBlue), Swatch(Qt::darkRed)};
    auto Node = [&](QTreeWidgetItem* Parent, const char* Text, int Image) {
      auto* N = Parent ? new QTreeWidgetItem(Parent, {QString::fromUtf8(Text)})
                       : new QTreeWidgetItem(&Tree, {QString::fromUtf8(Text)});
      kx::SetNodeImageIndex(N, Image, Images);
      return N;
    };
    Town = Node(nullptr, "Город", 0);
    Roads = Node(Town, "Дороги", 1);
    Abcd = Node(Roads, "Abcd-cde улица", 2);  // AB and CD: CD only inside "Abcd", CDE starts
    Asphalt = Node(Roads, "Асфальт", 2);
    Water = Node(Town, "Водные объекты", 1);
    Lake = Node(Water, "cdx озеро ab", 2);
    River = Node(nullptr, "Река xab xcd", 0);
  }
  bool AppReady = (TestApp(), true);  // before any widget
  QTreeWidget Tree;
  kx::TImageList Images;
  QTreeWidgetItem *Town, *Roads, *Abcd, *Asphalt, *Water, *Lake, *River;
};

// The shown results as "text[*bold]" lines indented by depth.
QStringList Shown(const QTreeWidget& Tree) {
  QStringList Lines;
  const auto Walk = [&](const auto& Self, QTreeWidgetItem* Item, int Depth) -> void {
    EXPECT_TRUE(Item->isExpanded() || Item->childCount() == 0) << Item->text(0).toStdString();
    Lines << QString(Depth * 2, ' ') + Item->text(0) + (Item->font(0).bold() ? "*" : "");
    for (int I = 0; I < Item->childCount(); ++I) Self(Self, Item->child(I), Depth + 1);
  };
  for (int I = 0; I < Tree.topLevelItemCount(); ++I) Walk(Walk, Tree.topLevelItem(I), 0);
  return Lines;
}

TEST(TreeSearchSource, ItemsFlagsImagesAndBounds) {
  TSourceTree T;
  kx::TTreeViewSearchSource Source(&T.Tree, T.Images,
                                   [&](QTreeWidgetItem* N) { return N != T.Water; });
  EXPECT_EQ(Source.GetChildCount(nullptr), 2);
  EXPECT_EQ(Source.GetChild(nullptr, 1), T.River);
  EXPECT_EQ(Source.GetChild(T.Town, 1), T.Water);
  EXPECT_EQ(Source.GetFlags(T.Town), 3u);
  EXPECT_EQ(Source.GetFlags(T.Water), 0u);
  EXPECT_EQ(Source.GetFlags(nullptr), 0u);
  EXPECT_EQ(Source.GetImageIndex(T.Lake), 2);
  EXPECT_EQ(Source.GetImageIndex(nullptr), -1);
  std::string Text;
  Source.GetText(T.Roads, Text);
  EXPECT_EQ(Text, "Дороги");
  try {
    Source.GetChild(nullptr, 5);
    FAIL();
  } catch (const core::Exception& E) {
    EXPECT_STREQ(E.what(), "Index \"5\" out of bounds \"2\"");
  }
}

TEST(TreeSearch, ShowsTheModelsRowsWithImagesExpandedAndTheSelection) {
  TSourceTree T;
  kx::TTreeViewSearchSource Source(&T.Tree, T.Images);
  TSearchInTreeForm Form;
  Form.Initialize(&Source, "ab cd");
  EXPECT_EQ(Shown(*Form.SearchTree()), (QStringList{"Город", "  Дороги", "    Abcd-cde улица*",
                                                    "  Водные объекты", "    cdx озеро ab*"}));
  QTreeWidgetItem* Current = Form.SearchTree()->currentItem();
  ASSERT_NE(Current, nullptr);
  EXPECT_EQ(Form.SelectedRef(), T.Abcd);
  EXPECT_EQ(kx::NodeImageIndex(Current), 2);
  EXPECT_FALSE(Current->icon(0).isNull());
  // The user's selection reaches the model and is kept by the next refill.
  Form.SearchTree()->setCurrentItem(Form.SearchTree()->topLevelItem(0));
  Form.Filter()->setText("озеро");
  Form.FillResults();
  EXPECT_EQ(Form.SelectedRef(), T.Town);
  EXPECT_EQ(Form.SearchTree()->currentItem()->text(0), "Город");
}

TEST(TreeSearch, FastTypingRefillsOnceAHundredMillisecondsAfterTheLastKey) {
  TSourceTree T;
  kx::TTreeViewSearchSource Source(&T.Tree, T.Images);
  TSearchInTreeForm Form;
  Form.Initialize(&Source, "");
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  EXPECT_EQ(Form.Timer()->interval(), 100);
  const int Before = Form.Model().FillCount();
  // The keys come 60 ms apart, so a delay counted from the first one would
  // be over by the last. The pauses between them run no events: no timer
  // can fire in them however slow the machine, and only lower bounds on
  // time are checked, which a slow machine cannot break.
  QElapsedTimer SinceLast;
  for (const char* Key : {"x", "a", "b"}) {
    if (SinceLast.isValid()) QTest::qSleep(60);
    QTest::keyClicks(Form.Filter(), QString::fromUtf8(Key));
    SinceLast.start();
  }
  EXPECT_EQ(Form.Model().FillCount(), Before);
  EXPECT_EQ(Form.SearchTree()->topLevelItemCount(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form.Model().FillCount() != Before; }, 5000));
  // A coarse timer may fire up to 5 % early, and the clock starts just after
  // the timer.
  EXPECT_GE(SinceLast.elapsed(), 90);
  EXPECT_EQ(Shown(*Form.SearchTree()), (QStringList{"Река xab xcd*"}));
  // Once: a further delay brings no second refill.
  QTest::qWait(150);
  EXPECT_EQ(Form.Model().FillCount(), Before + 1);

  // Without a delay every change refills at once.
  Form.Timer()->setInterval(0);
  QTest::keyClick(Form.Filter(), Qt::Key_Backspace);
  EXPECT_EQ(Form.Model().FillCount(), Before + 2);
}

TEST(TreeSearch, NavigationKeysInTheFilterMoveTheResultSelection) {
  TSourceTree T;
  kx::TTreeViewSearchSource Source(&T.Tree, T.Images);
  TSearchInTreeForm Form;
  Form.Timer()->setInterval(0);
  Form.Initialize(&Source, "cd");
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  Form.Filter()->setFocus();
  ASSERT_EQ(Form.SelectedRef(), T.Abcd);
  QTest::keyClick(Form.Filter(), Qt::Key_Down);
  EXPECT_EQ(Form.SearchTree()->currentItem()->text(0), "Водные объекты");
  QTest::keyClick(Form.Filter(), Qt::Key_Up);
  EXPECT_EQ(Form.SelectedRef(), T.Abcd);
  EXPECT_EQ(Form.Filter()->text(), "cd");  // consumed, not typed
  QTest::keyClick(Form.Filter(), Qt::Key_PageDown);
  EXPECT_NE(Form.SelectedRef(), T.Abcd);
  // The queued caret move put the caret after the text, nothing selected.
  EXPECT_EQ(Form.Filter()->cursorPosition(), 2);
  EXPECT_FALSE(Form.Filter()->hasSelectedText());
  SaveScreenshot(&Form, "search_in_tree");
}

TEST(TreeSearch, OkNeedsASelectionAndTheChosenNodeIsSelectedInTheTree) {
  TSourceTree T;
  T.Tree.show();
  // OK with nothing chosen warns and keeps the dialog open; then a filter
  // and OK choose the lake.
  bool Warned = false, StillOpen = false;
  QTimer::singleShot(0, [&] {
    auto* Form = dynamic_cast<TSearchInTreeForm*>(QApplication::activeModalWidget());
    ASSERT_NE(Form, nullptr);
    QTimer::singleShot(0, [&] {
      auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(Box, nullptr);
      Warned = Box->text() == "ВНИМАНИЕ! Необходимо выбрать элемент.";
      Box->accept();
    });
    Form->OkButton()->click();
    StillOpen = Form->isVisible();
    Form->Timer()->setInterval(0);
    Form->Filter()->setText("озеро");
    Form->OkButton()->click();
  });
  EXPECT_EQ(kx::SearchInTree(&T.Tree, T.Images), T.Lake);
  EXPECT_TRUE(Warned);
  EXPECT_TRUE(StillOpen);
  EXPECT_EQ(T.Tree.currentItem(), T.Lake);

  // Cancel chooses nothing and leaves the tree's selection alone; a double
  // click on a result confirms it.
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(kx::SearchInTree(&T.Tree, T.Images, "река"), nullptr);
  EXPECT_EQ(T.Tree.currentItem(), T.Lake);
  QTimer::singleShot(0, [] {
    auto* Form = dynamic_cast<TSearchInTreeForm*>(QApplication::activeModalWidget());
    QTreeWidgetItem* Item = Form->SearchTree()->topLevelItem(0);
    emit Form->SearchTree()->itemDoubleClicked(Item, 0);
  });
  EXPECT_EQ(kx::SearchInTree(&T.Tree, T.Images, "река"), T.River);
}

}  // namespace
