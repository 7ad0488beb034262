// The check box rules of the extended tree view, apart from the view: what a
// click makes of a state, and what a parent shows for its children.
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

}  // namespace kx
