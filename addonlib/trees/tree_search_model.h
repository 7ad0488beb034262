// What the tree search dialog decides: the copy of the searched tree, which
// of its nodes match the filter's words and which show as their ancestors,
// the selected result, and when the results are refilled. A view shows the
// rows and forwards the filter's text, the selection and OK.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "addonlib/trees/tree_items.h"
#include "addonlib/trees/tree_node.h"

namespace kx {

// One shown result, in tree order: its node, the row of its parent (-1 at
// the top) and whether it is drawn bold (it matches). All rows show expanded.
struct TTreeSearchRow {
  const TNode* Node;
  int Parent;
  bool Bold;
};

class TTreeSearchModel {
 public:
  // The pause after the last change of the filter before the refill, ms.
  static constexpr int DefaultFilterDelay = 100;
  static constexpr char NoSelectionMessage[] = "ВНИМАНИЕ! Необходимо выбрать элемент.";

  // Copies the source's tree (an item without "include" is left out with
  // its subtree), takes FilterText and fills the results.
  void Initialize(const ITreeItems& Source, std::string_view FilterText);
  const TNode& Root() const { return FRoot; }

  // 0: every change refills at once.
  int FilterDelay() const { return FFilterDelay; }
  void SetFilterDelay(int Ms) { FFilterDelay = Ms; }
  const std::string& FilterText() const { return FFilterText; }
  // The user changed the filter. True when the view is to call Refill after
  // FilterDelay ms without a further change (each change starts the pause
  // anew); false when the results were refilled already.
  bool FilterChanged(std::string_view Text);

  // Marks the nodes and rebuilds the rows; the selection is kept when its
  // item still shows, else the first match, else the first row.
  void Refill();
  const std::vector<TTreeSearchRow>& Rows() const { return FRows; }
  int FillCount() const { return FFillCount; }

  // The selected row, -1 for none; the user's selection comes in by row.
  int SelectedRow() const { return FSelectedRow; }
  void Select(int Row);
  ITreeItems::TItem SelectedRef() const;
  // Whether the refill kept the earlier selection (the view scrolls to it).
  bool SelectionKept() const { return FSelectionKept; }
  // OK closes the dialog only with a selected result; else the view shows
  // NoSelectionMessage and stays.
  bool CanConfirm() const { return SelectedRef() != nullptr; }

 private:
  void BuildNodes(const ITreeItems& Source, TNode& Parent, ITreeItems::TItem Item);

  TNode FRoot;
  std::string FFilterText;
  int FFilterDelay = DefaultFilterDelay;
  std::vector<TTreeSearchRow> FRows;
  int FSelectedRow = -1;
  bool FSelectionKept = false;
  int FFillCount = 0;
};

}  // namespace kx
