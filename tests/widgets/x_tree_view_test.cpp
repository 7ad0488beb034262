// The extended tree view: check box modes, hierarchical checking with its
// events and veto, and the mouse and keyboard around it.
#include "addonlib/widgets/x_tree_view.h"

#include <gtest/gtest.h>
#include <QTest>
#include <string>
#include <vector>

#include "core/exception.h"
#include "tests/addonkit/qt_app.h"

namespace {

using kx::TXTreeView;

// root
//   a
//     a1
//     a2
//   b
struct TTree {
  TTree() {
    TestApp();
    View.resize(300, 200);
    Root = new QTreeWidgetItem(&View, {"root"});
    A = new QTreeWidgetItem(Root, {"a"});
    A1 = new QTreeWidgetItem(A, {"a1"});
    A2 = new QTreeWidgetItem(A, {"a2"});
    B = new QTreeWidgetItem(Root, {"b"});
    View.expandAll();
  }
  std::vector<kx::TCheckState> States() const {
    return {View.GetCheckState(Root), View.GetCheckState(A), View.GetCheckState(A1),
            View.GetCheckState(A2), View.GetCheckState(B)};
  }
  bool AppReady = (TestApp(), true);  // before any widget
  TXTreeView View;
  QTreeWidgetItem *Root, *A, *A1, *A2, *B;
};

using S = std::vector<kx::TCheckState>;
constexpr auto U = kx::csUnchecked;
constexpr auto C = kx::csChecked;
constexpr auto I = kx::csIndeterminate;

TEST(XTreeView, CheckBoxesOffRefuseCheckingAndReportIndeterminate) {
  TTree T;
  EXPECT_EQ(T.View.GetCheckState(T.A), I);
  EXPECT_EQ(T.View.GetCheckState(nullptr), I);
  try {
    T.View.SetCheckState(T.A, C);
    FAIL() << "no assertion";
  } catch (const core::EAssertionFailed& E) {
    EXPECT_EQ(std::string(E.what()).rfind(
                  "Invalid use XTreeView, checkboxes disabled (x_tree_view.cpp, line ", 0),
              0u)
        << E.what();
  }

  T.View.SetCheckboxes(kx::cbmIndependent);
  EXPECT_EQ(T.States(), (S{U, U, U, U, U}));
  // The four state images came from the module, olive made transparent.
  ASSERT_EQ(T.View.StateImages().size(), 4);
  for (const QPixmap& P : T.View.StateImages()) {
    ASSERT_FALSE(P.isNull());
    EXPECT_EQ(P.toImage().pixelColor(0, 0).alpha(), 0);
  }
  EXPECT_NE(T.View.StateImages()[2].toImage(), T.View.StateImages()[1].toImage());
  // New nodes, with their subtrees, come unchecked.
  auto* Sub = new QTreeWidgetItem(QStringList{"sub"});
  auto* SubChild = new QTreeWidgetItem(Sub, {"subchild"});
  T.B->addChild(Sub);
  EXPECT_EQ(T.View.GetCheckState(SubChild), U);
  T.View.SetCheckState(T.A, C);
  EXPECT_EQ(T.States(), (S{U, C, U, U, U}));  // independent: the node alone

  T.View.SetCheckboxes(kx::cbmNone);
  EXPECT_TRUE(T.View.StateImages().isEmpty());
  EXPECT_EQ(T.View.GetCheckState(T.A), I);
  T.View.SetCheckboxes(kx::cbmHierarchical);
  EXPECT_EQ(T.View.GetCheckState(T.A), U);  // a fresh start, not the old state
}

TEST(XTreeView, HierarchicalCheckingFollowsDescendantsAndRecomputesAncestors) {
  TTree T;
  T.View.SetCheckboxes(kx::cbmHierarchical);
  std::vector<std::string> Log;
  T.View.OnNodeChecking = [&](TXTreeView*, QTreeWidgetItem* N, bool Check) {
    Log.push_back("checking " + N->text(0).toStdString() + (Check ? "+" : "-"));
  };
  T.View.OnNodeChecked = [&](TXTreeView*, QTreeWidgetItem* N) {
    Log.push_back("checked " + N->text(0).toStdString());
  };
  T.View.SetCheckState(T.A, C);
  EXPECT_EQ(T.States(), (S{I, C, C, C, U}));
  // Depth first: a node's children are done before its own checked event;
  // ancestors are recomputed without events.
  EXPECT_EQ(Log, (std::vector<std::string>{"checking a+", "checking a1+", "checked a1",
                                           "checking a2+", "checked a2", "checked a"}));
  T.View.SetCheckState(T.B, C);
  EXPECT_EQ(T.States(), (S{C, C, C, C, C}));
  T.View.SetCheckState(T.A2, U);
  EXPECT_EQ(T.States(), (S{I, I, C, U, C}));
  T.View.SetCheckState(T.Root, U);
  EXPECT_EQ(T.States(), (S{U, U, U, U, U}));

  // A veto keeps the node and its subtree as they were. The node the call
  // started with keeps the state it was given; only its ancestors are
  // recomputed.
  T.View.OnNodeCanCheck = [&](TXTreeView*, QTreeWidgetItem* N, bool, bool& Can) {
    if (N == T.A) Can = false;
  };
  Log.clear();
  T.View.SetCheckState(T.Root, C);
  EXPECT_EQ(T.States(), (S{C, U, U, U, C}));
  EXPECT_EQ(Log, (std::vector<std::string>{"checking root+", "checking b+", "checked b",
                                           "checked root"}));
  // Indeterminate is set without a veto or a checking event.
  Log.clear();
  T.View.SetCheckState(T.A1, I);
  EXPECT_EQ(T.View.GetCheckState(T.A1), I);
  EXPECT_EQ(T.View.GetCheckState(T.A), I);
  EXPECT_EQ(T.View.GetCheckState(T.Root), I);  // recomputed from a and b
  EXPECT_EQ(Log, (std::vector<std::string>{"checked a1"}));
}

TEST(XTreeView, ClicksOnStateImagesSpaceAndShiftAndIcons) {
  TTree T;
  T.View.SetCheckboxes(kx::cbmHierarchical);
  T.View.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&T.View));

  const QRect Box = T.View.StateImageRect(T.A);
  ASSERT_FALSE(Box.isEmpty());
  QTest::mouseClick(T.View.viewport(), Qt::LeftButton, {}, Box.center());
  EXPECT_EQ(T.States(), (S{I, C, C, C, U}));
  QTest::mouseClick(T.View.viewport(), Qt::LeftButton, {}, Box.center());
  EXPECT_EQ(T.States(), (S{U, U, U, U, U}));
  // A click on the text selects, it does not check.
  QTest::mouseClick(T.View.viewport(), Qt::LeftButton, {}, T.View.TextRect(T.B).center());
  EXPECT_EQ(T.View.currentItem(), T.B);
  EXPECT_EQ(T.View.GetCheckState(T.B), U);

  // Space toggles the selected node; an indeterminate one becomes checked.
  int Shifts = 0;
  T.View.OnShiftStateChanged = [&](TXTreeView*, Qt::KeyboardModifiers) { ++Shifts; };
  T.View.setCurrentItem(T.Root);
  T.View.SetCheckState(T.A1, C);
  ASSERT_EQ(T.View.GetCheckState(T.Root), I);
  QTest::keyClick(&T.View, Qt::Key_Space);
  EXPECT_EQ(T.States(), (S{C, C, C, C, C}));
  QTest::keyClick(&T.View, Qt::Key_Space);
  EXPECT_EQ(T.States(), (S{U, U, U, U, U}));
  EXPECT_EQ(T.View.currentItem(), T.Root);  // consumed: no search-by-key move
  QTest::keyPress(&T.View, Qt::Key_Shift);
  QKeyEvent Repeat(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, QString(), true);
  QApplication::sendEvent(&T.View, &Repeat);
  QTest::keyRelease(&T.View, Qt::Key_Shift);
  EXPECT_EQ(Shifts, 2);  // the press and the release; the auto-repeat not

  // A node with an icon reports clicks on it.
  T.View.SetCheckboxes(kx::cbmNone);
  QPixmap Icon(16, 16);
  Icon.fill(Qt::red);
  kx::SetNodeImageIndex(T.B, 0, {QIcon(Icon)});
  EXPECT_EQ(kx::NodeImageIndex(T.B), 0);
  EXPECT_EQ(kx::NodeImageIndex(T.A), -1);
  QTreeWidgetItem* Clicked = nullptr;
  T.View.OnIconClick = [&](TXTreeView*, QTreeWidgetItem* N, Qt::KeyboardModifiers, int, int) {
    Clicked = N;
  };
  ASSERT_FALSE(T.View.IconRect(T.B).isEmpty());
  EXPECT_TRUE(T.View.IconRect(T.A).isEmpty());
  QTest::mouseClick(T.View.viewport(), Qt::LeftButton, {}, T.View.IconRect(T.B).center());
  EXPECT_EQ(Clicked, T.B);
  // A state image is no longer there to click.
  EXPECT_TRUE(T.View.StateImageRect(T.B).isEmpty());
}

}  // namespace
