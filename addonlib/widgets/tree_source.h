// The tree search's source as the dialog sees it: the items, and the images
// that their image indexes refer to.
#pragma once

#include <QString>
#include <QTreeWidget>
#include <functional>

#include "addonlib/trees/tree_items.h"
#include "addonlib/widgets/x_tree_view.h"

namespace kx {

class ITreeSource : public ITreeItems {
 public:
  virtual const TImageList& GetImages() const = 0;

 protected:
  ~ITreeSource() = default;
};

// Refuses a node by returning false.
using TTreeFilterCallback = std::function<bool(QTreeWidgetItem* Node)>;

// A tree view as a search source: its nodes are the items.
class TTreeViewSearchSource final : public ITreeSource {
 public:
  TTreeViewSearchSource(QTreeWidget* Tree, TImageList Images,
                        TTreeFilterCallback Callback = nullptr);

  const TImageList& GetImages() const override { return FImages; }
  void GetText(TItem Item, std::string& Text) const override;
  int GetImageIndex(TItem Item) const override;
  // Raises "Index "%d" out of bounds "%d"" past the last child.
  TItem GetChild(TItem Parent, int Index) const override;
  int GetChildCount(TItem Parent) const override;
  // Both flags, unless the item is absent or the callback refuses it.
  TTreeSourceFlags GetFlags(TItem Item) const override;

  static QTreeWidgetItem* Node(TItem Item) { return static_cast<QTreeWidgetItem*>(Item); }

 private:
  QTreeWidget* FTree;
  TImageList FImages;
  TTreeFilterCallback FCallback;
};

}  // namespace kx
