// One node of the tree that the search filters: a copy of a source item's
// text and image, with the item itself as Ref.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kx {

struct TNode {
  std::string Text;  // UTF-8
  int ImageIndex = -1;
  void* Ref = nullptr;
  bool Visible = false;
  bool Matched = false;
  std::vector<std::unique_ptr<TNode>> Children;

  TNode* Add() { return Children.emplace_back(std::make_unique<TNode>()).get(); }
  void Clear() { Children.clear(); }
};

}  // namespace kx
