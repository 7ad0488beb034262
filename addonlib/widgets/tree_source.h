// What the tree search reads: any tree of items with texts and images. The
// items are opaque to the search; it only hands them back.
#pragma once

#include <QString>
#include <QTreeWidget>
#include <functional>

#include "addonlib/widgets/x_tree_view.h"

namespace kx {

// Flags of an item; the second member has no use in this module but is
// part of the set that a tree view source gives.
enum TTreeSourceFlag : unsigned { tsfInclude = 1, tsfSecond = 2 };
using TTreeSourceFlags = unsigned;

class ITreeSource {
 public:
  using TItem = void*;  // nullptr: no item; as a parent, the top level

  virtual const TImageList& GetImages() const = 0;
  virtual void GetText(TItem Item, QString& Text) const = 0;
  // -1 for no item.
  virtual int GetImageIndex(TItem Item) const = 0;
  virtual TItem GetChild(TItem Parent, int Index) const = 0;
  virtual int GetChildCount(TItem Parent) const = 0;
  virtual TTreeSourceFlags GetFlags(TItem Item) const = 0;

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
  void GetText(TItem Item, QString& Text) const override;
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
