#include "addonlib/trees/check_states.h"

namespace kx {

namespace {

void Apply(ICheckTree& Tree, TCheckboxesMode Mode, ICheckTree::TItem Node, TCheckState State,
           bool Shown) {
  const bool Check = State == csChecked;
  if (State != csIndeterminate) {
    if (!Tree.CanCheck(Node, Check)) return;
    Tree.Checking(Node, Check);
  }
  Tree.SetState(Node, State, Shown);
  if (Mode == cbmHierarchical)
    for (int I = 0, Count = Tree.ChildCount(Node); I < Count; ++I)
      Apply(Tree, Mode, Tree.Child(Node, I), State, Shown && Tree.Expanded(Node));
  Tree.Checked(Node);
}

}  // namespace

void SetCheckState(ICheckTree& Tree, TCheckboxesMode Mode, ICheckTree::TItem Node,
                   TCheckState State) {
  Apply(Tree, Mode, Node, State, true);
  if (Mode != cbmHierarchical) return;
  for (ICheckTree::TItem P = Tree.Parent(Node); P; P = Tree.Parent(P)) {
    int Checked = 0, Indeterminate = 0;
    const int Count = Tree.ChildCount(P);
    for (int I = 0; I < Count; ++I) {
      const TCheckState S = Tree.State(Tree.Child(P, I));
      Checked += S == csChecked;
      Indeterminate += S == csIndeterminate;
    }
    Tree.SetState(P, ParentCheckState(Count, Checked, Indeterminate), true);
  }
}

}  // namespace kx
