// The tree search's decisions: the copy of the source, the matches and their
// ancestors, the kept selection, the pause before a refill, and OK.
#include "addonlib/trees/tree_search_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/trees/test_tree.h"

namespace {

using kx::TTreeSearchModel;

// The shown rows as "text[*bold]" lines indented by depth.
std::vector<std::string> Shown(const TTreeSearchModel& M) {
  std::vector<std::string> Lines;
  std::vector<int> Depth;
  for (const kx::TTreeSearchRow& Row : M.Rows()) {
    Depth.push_back(Row.Parent < 0 ? 0 : Depth[static_cast<std::size_t>(Row.Parent)] + 1);
    Lines.push_back(std::string(static_cast<std::size_t>(Depth.back()) * 2, ' ') + Row.Node->Text +
                    (Row.Bold ? "*" : ""));
  }
  return Lines;
}

TEST(TreeSearchModel, WordsAtWordStartsShowMatchesInBoldWithTheirAncestors) {
  TTestTree T;
  T.Asphalt->Refused = true;  // left out with its subtree
  TTreeSearchModel M;
  M.SetFilterDelay(0);
  M.Initialize(T, "");
  ASSERT_EQ(M.Root().Children.size(), 2u);
  EXPECT_EQ(M.Root().Children[0]->Children[0]->Children.size(), 1u);  // no Асфальт
  EXPECT_EQ(M.Root().Children[0]->Children[0]->Children[0]->ImageIndex, 2);
  EXPECT_TRUE(M.Rows().empty());  // a blank filter shows nothing
  EXPECT_FALSE(M.FilterChanged("   "));
  EXPECT_TRUE(M.Rows().empty());
  EXPECT_EQ(M.SelectedRow(), -1);
  EXPECT_FALSE(M.CanConfirm());

  M.FilterChanged("ab cd");
  EXPECT_EQ(Shown(M), (std::vector<std::string>{"Город", "  Дороги", "    Abcd-cde улица*",
                                                "  Водные объекты", "    cdx озеро ab*"}));
  // The first match is selected.
  EXPECT_EQ(M.SelectedRef(), T.Abcd);
  EXPECT_FALSE(M.SelectionKept());
  EXPECT_TRUE(M.CanConfirm());

  // Letter case does not matter; a selection that is gone gives way to the
  // first match.
  M.FilterChanged("ОЗ");
  EXPECT_EQ(Shown(M), (std::vector<std::string>{"Город", "  Водные объекты", "    cdx озеро ab*"}));
  EXPECT_EQ(M.SelectedRef(), T.Lake);
  // A selection that is still shown is kept, even when it is no match.
  M.Select(0);
  M.FilterChanged("озеро");
  EXPECT_EQ(M.SelectedRef(), T.Town);
  M.FilterChanged("вод");
  EXPECT_EQ(Shown(M), (std::vector<std::string>{"Город", "  Водные объекты*"}));
  EXPECT_EQ(M.SelectedRef(), T.Town);
  EXPECT_TRUE(M.SelectionKept());
  // Nothing matches: no rows, nothing selected.
  M.FilterChanged("zzz");
  EXPECT_TRUE(M.Rows().empty());
  EXPECT_EQ(M.SelectedRef(), nullptr);
  // A top-level match is the first row.
  M.FilterChanged("река");
  EXPECT_EQ(M.SelectedRow(), 0);
  EXPECT_EQ(M.SelectedRef(), T.River);
}

TEST(TreeSearchModel, ChangesWaitForThePauseUnlessThereIsNone) {
  TTestTree T;
  TTreeSearchModel M;
  EXPECT_EQ(M.FilterDelay(), 100);
  M.Initialize(T, "xab");
  EXPECT_EQ(M.FillCount(), 1);
  EXPECT_EQ(M.Rows().size(), 1u);  // the initial text shows at once
  // Each change asks the view to wait; the rows stay until it refills.
  EXPECT_TRUE(M.FilterChanged("xa"));
  EXPECT_TRUE(M.FilterChanged("xy"));
  EXPECT_EQ(M.FillCount(), 1);
  EXPECT_EQ(M.Rows().size(), 1u);
  EXPECT_EQ(M.FilterText(), "xy");
  M.Refill();
  EXPECT_EQ(M.FillCount(), 2);
  EXPECT_TRUE(M.Rows().empty());
  M.SetFilterDelay(0);
  EXPECT_FALSE(M.FilterChanged("xcd"));
  EXPECT_EQ(M.FillCount(), 3);
  EXPECT_EQ(M.Rows().size(), 1u);
}

}  // namespace
