// What the tree search reads: any tree of items with texts and image
// indexes. The items are opaque to the search; it only hands them back.
#pragma once

#include <string>

namespace kx {

// Flags of an item; the second member has no use in this module but is
// part of the set that a tree view source gives.
enum TTreeSourceFlag : unsigned { tsfInclude = 1, tsfSecond = 2 };
using TTreeSourceFlags = unsigned;

class ITreeItems {
 public:
  using TItem = void*;  // nullptr: no item; as a parent, the top level

  // UTF-8.
  virtual void GetText(TItem Item, std::string& Text) const = 0;
  // -1 for no item.
  virtual int GetImageIndex(TItem Item) const = 0;
  virtual TItem GetChild(TItem Parent, int Index) const = 0;
  virtual int GetChildCount(TItem Parent) const = 0;
  virtual TTreeSourceFlags GetFlags(TItem Item) const = 0;

 protected:
  ~ITreeItems() = default;
};

}  // namespace kx
