// The project tree chooser's decisions over the reference host's project,
// without a window: the tree by kind, OK, preselection, the result, a whole
// session with the tree search, and the texts for the pad.
#include "forms/tree_chooser_model.h"

#include <gtest/gtest.h>

#include "addonkit/hresult_error.h"
#include "addonlib/trees/tree_search_model.h"
#include "host/com/host_database.h"
#include "host/model/map_model.h"
#include "tests/forms/project_towns.h"

namespace {

using forms::TProjectTreeModel;
using host::MakeID;

class ChooserModelTest : public ::testing::Test {
 protected:
  // The host's project objects alone: its manager would make a window.
  ChooserModelTest() {
    AddTowns(Context->Project);
    Project = kx::TKxMapProject(compat::TComPtr<kx::IKxMapProject>(&HostProject));
    Database = kx::TKxGISDatabase(compat::TComPtr<kx::IKxGISDatabase>(&HostDatabase));
  }

  // The tree as "text" lines indented by depth.
  static std::vector<std::string> Lines(const TProjectTreeModel& M) {
    std::vector<std::string> Out;
    std::vector<int> Depth;
    for (const forms::TProjectNode& N : M.Nodes()) {
      Depth.push_back(N.Parent < 0 ? 0 : Depth[static_cast<std::size_t>(N.Parent)] + 1);
      Out.push_back(std::string(static_cast<std::size_t>(Depth.back()) * 2, ' ') + N.Text);
    }
    return Out;
  }
  static int Find(const TProjectTreeModel& M, const std::string& Text) {
    for (std::size_t I = 0; I < M.Nodes().size(); ++I)
      if (M.Nodes()[I].Text == Text) return static_cast<int>(I);
    return -1;
  }

  host::THostContextPtr Context = std::make_shared<host::THostContext>();
  host::THostMapProject HostProject{Context};
  host::THostGISDatabase HostDatabase{Context};
  kx::TKxMapProject Project;
  kx::TKxGISDatabase Database;
};

TEST_F(ChooserModelTest, FillsDownToTheWantedKindAndEnablesOkOnlyForThatKind) {
  TProjectTreeModel M;
  M.Fill(Project, Database, forms::pkStyle, false);
  EXPECT_EQ(M.LabelText(), "&Список стилей:");
  EXPECT_EQ(Lines(M),
            (std::vector<std::string>{"Город", "  Дороги", "    Асфальт", "    Грунт", "  Здания",
                                      "    Жилые", "Пригород", "  Дороги", "    Грунт"}));
  const int Ground = Find(M, "Грунт");
  const forms::TProjectNode& G = M.Nodes()[static_cast<std::size_t>(Ground)];
  EXPECT_EQ(G.Holder.ID, MakeID("S2"));
  EXPECT_EQ(G.ImageIndex(), forms::pkStyle);
  EXPECT_EQ(M.Nodes()[static_cast<std::size_t>(G.Parent)].Holder.Kind, forms::pkLayer);

  EXPECT_FALSE(M.OkEnabled());  // nothing selected
  M.Select(G.Parent);
  EXPECT_FALSE(M.OkEnabled());  // a layer is no style
  EXPECT_FALSE(M.DoubleClickConfirms());
  EXPECT_TRUE(M.ResultID().Empty());
  M.Select(Ground);
  EXPECT_TRUE(M.OkEnabled());
  EXPECT_TRUE(M.DoubleClickConfirms());
  EXPECT_EQ(M.ResultID(), MakeID("S2"));

  // Any kind may be chosen when the caller says so; a double click then
  // does not confirm.
  TProjectTreeModel Any;
  Any.Fill(Project, Database, forms::pkStyle, true);
  Any.Select(G.Parent);
  EXPECT_EQ(Any.ResultID(), MakeID("L1"));
  EXPECT_FALSE(Any.DoubleClickConfirms());

  TProjectTreeModel Maps;
  Maps.Fill(Project, Database, forms::pkMap, false);
  EXPECT_EQ(Maps.LabelText(), "&Список карт:");
  EXPECT_EQ(Lines(Maps), (std::vector<std::string>{"Город", "Пригород"}));
  TProjectTreeModel Layers;
  Layers.Fill(Project, Database, forms::pkLayer, false);
  EXPECT_EQ(Layers.LabelText(), "&Список слоев:");
  Layers.Preselect(MakeID("L3"));
  EXPECT_EQ(Layers.Selected(), 4);
  EXPECT_TRUE(Layers.OkEnabled());
}

TEST_F(ChooserModelTest, ResultsPreselectionAndAnEmptyProject) {
  TProjectTreeModel M;
  M.Fill(Project, Database, forms::pkStyle, false);
  kx::TKxID ID = MakeID("S3");
  M.Preselect(ID);
  EXPECT_EQ(M.Nodes()[static_cast<std::size_t>(M.Selected())].Text, "Жилые");
  EXPECT_FALSE(M.Finish(true, ID));  // the preselected node: no change
  M.Select(Find(M, "Асфальт"));
  EXPECT_FALSE(M.Finish(false, ID));  // Cancel keeps the ID
  EXPECT_EQ(ID, MakeID("S3"));
  EXPECT_TRUE(M.Finish(true, ID));
  EXPECT_EQ(ID, MakeID("S1"));
  M.Select(Find(M, "Здания"));
  EXPECT_TRUE(M.Finish(true, ID));  // OK is disabled there; the result is empty
  EXPECT_TRUE(ID.Empty());

  Context->Project.Clear();
  M.Fill(Project, Database, forms::pkStyle, false);
  EXPECT_TRUE(M.Nodes().empty());
  M.Preselect(MakeID("S1"));
  EXPECT_EQ(M.Selected(), -1);
  EXPECT_FALSE(M.OkEnabled());
}

// The chooser's nodes as the tree search's source.
class TNodesSource final : public kx::ITreeItems {
 public:
  explicit TNodesSource(const TProjectTreeModel& M) : FModel(M) {}
  static int NodeOf(TItem Item) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(Item)) - 1;
  }
  void GetText(TItem Item, std::string& Text) const override {
    Text = FModel.Nodes()[static_cast<std::size_t>(NodeOf(Item))].Text;
  }
  int GetImageIndex(TItem Item) const override {
    return Item ? FModel.Nodes()[static_cast<std::size_t>(NodeOf(Item))].ImageIndex() : -1;
  }
  TItem GetChild(TItem Parent, int Index) const override {
    return Item(Children(Parent).at(static_cast<std::size_t>(Index)));
  }
  int GetChildCount(TItem Parent) const override {
    return static_cast<int>(Children(Parent).size());
  }
  kx::TTreeSourceFlags GetFlags(TItem Item) const override { return Item ? 3u : 0u; }

 private:
  static TItem Item(int Node) {
    return reinterpret_cast<TItem>(static_cast<std::intptr_t>(Node) + 1);
  }
  std::vector<int> Children(TItem Parent) const {
    std::vector<int> Out;
    const int P = Parent ? NodeOf(Parent) : -1;
    for (std::size_t I = 0; I < FModel.Nodes().size(); ++I)
      if (FModel.Nodes()[I].Parent == P) Out.push_back(static_cast<int>(I));
    return Out;
  }
  const TProjectTreeModel& FModel;
};

TEST_F(ChooserModelTest, ASessionSearchesAndPicksAStyle) {
  TProjectTreeModel Chooser;
  Chooser.Fill(Project, Database, forms::pkStyle, false);
  kx::TKxID StyleID{};
  Chooser.Preselect(StyleID);
  EXPECT_EQ(Chooser.Selected(), -1);
  // Ctrl+F: the user types "дор гр", waits, and takes the match selected.
  const TNodesSource Source(Chooser);
  kx::TTreeSearchModel Search;
  Search.Initialize(Source, "");
  EXPECT_TRUE(Search.FilterChanged("дор"));
  EXPECT_TRUE(Search.FilterChanged("дор гр"));
  EXPECT_TRUE(Search.Rows().empty());  // the pause is not over
  Search.Refill();
  // "Грунт" is no match: both words must be in one caption.
  EXPECT_TRUE(Search.Rows().empty());
  Search.FilterChanged("грунт");
  Search.Refill();
  ASSERT_EQ(Search.Rows().size(), 6u);  // two maps, two layers, two styles
  EXPECT_EQ(Search.Rows()[2].Node->Text, "Грунт");
  EXPECT_TRUE(Search.Rows()[2].Bold);
  EXPECT_FALSE(Search.Rows()[1].Bold);
  Search.Select(5);  // the suburb's
  ASSERT_TRUE(Search.CanConfirm());
  Chooser.Select(TNodesSource::NodeOf(Search.SelectedRef()));
  EXPECT_EQ(Chooser.Selected(), static_cast<int>(Chooser.Nodes().size()) - 1);
  EXPECT_TRUE(Chooser.OkEnabled());
  EXPECT_TRUE(Chooser.Finish(true, StyleID));
  EXPECT_EQ(StyleID, MakeID("S2"));
  // What the pad then shows.
  const kx::TKxID Layer = forms::StyleLayerID(Database, StyleID);
  EXPECT_EQ(Layer, MakeID("L1"));  // the first of the style's layers
  EXPECT_EQ(forms::ProjectLayerCaption(Database, Layer, "слой не задан"), "[Город] Дороги");
  EXPECT_EQ(forms::ProjectStyleName(Database, StyleID, "стиль не задан"), "Грунт");
  EXPECT_EQ(forms::ProjectStyleName(Database, kx::TKxID{}, "стиль не задан"), "стиль не задан");
  EXPECT_EQ(forms::ProjectLayerCaption(Database, kx::TKxID{}, "слой не задан"), "слой не задан");
  EXPECT_THROW(forms::ProjectStyleName(Database, MakeID("nope"), ""), kx::EHResultError);
}

}  // namespace
