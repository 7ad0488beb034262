// How a check state runs through a tree: the veto, the events, the
// descendants in hierarchical mode and the recomputed ancestors.
#include "addonlib/trees/check_states.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kx;

// Node 0 is the root; each node's children in order, and a log of events.
struct TTree final : ICheckTree {
  std::vector<int> ParentOf{-1, 0, 0, 1, 1};
  std::vector<TCheckState> States = std::vector<TCheckState>(5, csUnchecked);
  int Vetoed = -1;
  std::string Log;

  static int N(TItem Item) { return static_cast<int>(reinterpret_cast<std::intptr_t>(Item)) - 1; }
  static TItem I(int Node) { return reinterpret_cast<TItem>(static_cast<std::intptr_t>(Node) + 1); }
  std::vector<int> Children(int P) const {
    std::vector<int> C;
    for (int K = 0; K < static_cast<int>(ParentOf.size()); ++K)
      if (ParentOf[static_cast<std::size_t>(K)] == P) C.push_back(K);
    return C;
  }
  int ChildCount(TItem Node) const override { return static_cast<int>(Children(N(Node)).size()); }
  TItem Child(TItem Node, int K) const override {
    return I(Children(N(Node))[static_cast<std::size_t>(K)]);
  }
  TItem Parent(TItem Node) const override {
    const int P = ParentOf[static_cast<std::size_t>(N(Node))];
    return P < 0 ? nullptr : I(P);
  }
  bool Expanded(TItem) const override { return true; }
  TCheckState State(TItem Node) const override { return States[static_cast<std::size_t>(N(Node))]; }
  void SetState(TItem Node, TCheckState S, bool) override {
    States[static_cast<std::size_t>(N(Node))] = S;
  }
  bool CanCheck(TItem Node, bool) override { return N(Node) != Vetoed; }
  void Checking(TItem Node, bool Check) override {
    Log += Check ? '+' : '-';
    Log += static_cast<char>('0' + N(Node));
  }
  void Checked(TItem Node) override {
    Log += '.';
    Log += static_cast<char>('0' + N(Node));
  }
};

TEST(CheckStates, HierarchicalChangesRunDownAndRecomputeUp) {
  TTree T;
  SetCheckState(T, cbmHierarchical, TTree::I(1), csChecked);
  EXPECT_EQ(T.Log, "+1+3.3+4.4.1");  // depth first, each announced around
  EXPECT_EQ(T.States, (std::vector<TCheckState>{csIndeterminate, csChecked, csUnchecked, csChecked,
                                                csChecked}));
  T.Log.clear();
  // A veto keeps that node (and its subtree) as it is; only the ancestors
  // of the node changed are recomputed.
  T.Vetoed = 4;
  SetCheckState(T, cbmHierarchical, TTree::I(0), csUnchecked);
  EXPECT_EQ(T.States, (std::vector<TCheckState>{csUnchecked, csUnchecked, csUnchecked, csUnchecked,
                                                csChecked}));
  // Indeterminate is neither vetoed nor announced; independent mode touches
  // the node alone.
  T.Log.clear();
  SetCheckState(T, cbmIndependent, TTree::I(2), csIndeterminate);
  EXPECT_EQ(T.Log, ".2");
  SetCheckState(T, cbmIndependent, TTree::I(1), csChecked);
  EXPECT_EQ(T.States[3], csUnchecked);
  EXPECT_EQ(T.States[0], csUnchecked);
  EXPECT_EQ(ToggledCheckState(csIndeterminate), csChecked);
  EXPECT_EQ(ToggledCheckState(csChecked), csUnchecked);
}

}  // namespace
