// The check box rules of the extended tree view, apart from the view: what a
// click makes of a state, what a parent shows for its children, and how a
// change runs through a tree with its events.
#pragma once

namespace kx {

enum TCheckboxesMode { cbmNone, cbmIndependent, cbmHierarchical };

// State image indices: 0 and 1 both show the unchecked box.
enum TCheckState { csUnchecked = 1, csChecked = 2, csIndeterminate = 3 };

// A click or the space key: checked becomes unchecked, anything else checked.
constexpr TCheckState ToggledCheckState(TCheckState State) {
  return State == csChecked ? csUnchecked : csChecked;
}

// A parent in hierarchical mode: all children checked gives checked, none
// checked and none indeterminate unchecked, anything else indeterminate.
constexpr TCheckState ParentCheckState(int ChildCount, int Checked, int Indeterminate) {
  if (Checked == ChildCount) return csChecked;
  if (Checked == 0 && Indeterminate == 0) return csUnchecked;
  return csIndeterminate;
}

// A tree whose nodes carry check states, as the rules see it.
class ICheckTree {
 public:
  using TItem = void*;

  virtual int ChildCount(TItem Node) const = 0;
  virtual TItem Child(TItem Node, int Index) const = 0;
  // nullptr at the top.
  virtual TItem Parent(TItem Node) const = 0;
  virtual bool Expanded(TItem Node) const = 0;
  virtual TCheckState State(TItem Node) const = 0;
  // Shown: the node is on screen, and the view repaints it.
  virtual void SetState(TItem Node, TCheckState State, bool Shown) = 0;
  // The events of a change: the veto, before and after.
  virtual bool CanCheck(TItem Node, bool Check) = 0;
  virtual void Checking(TItem Node, bool Check) = 0;
  virtual void Checked(TItem Node) = 0;

 protected:
  ~ICheckTree() = default;
};

// Gives Node State. Unless State is indeterminate the change may be vetoed
// and is announced; in hierarchical mode the descendants follow, depth
// first, and then each ancestor is recomputed from its children, without
// events.
void SetCheckState(ICheckTree& Tree, TCheckboxesMode Mode, ICheckTree::TItem Node,
                   TCheckState State);

}  // namespace kx
