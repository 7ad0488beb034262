#include "addonlib/widgets/tree_source.h"

#include "core/exception.h"

namespace kx {

TTreeViewSearchSource::TTreeViewSearchSource(QTreeWidget* Tree, TImageList Images,
                                             TTreeFilterCallback Callback)
    : FTree(Tree), FImages(std::move(Images)), FCallback(std::move(Callback)) {}

void TTreeViewSearchSource::GetText(TItem Item, std::string& Text) const {
  Text = Item ? Node(Item)->text(0).toStdString() : std::string();
}

int TTreeViewSearchSource::GetImageIndex(TItem Item) const {
  return Item ? NodeImageIndex(Node(Item)) : -1;
}

ITreeSource::TItem TTreeViewSearchSource::GetChild(TItem Parent, int Index) const {
  const int Count = GetChildCount(Parent);
  if (Index < 0 || Index >= Count)
    throw core::Exception(
        QStringLiteral("Index \"%1\" out of bounds \"%2\"").arg(Index).arg(Count).toStdString());
  return Parent ? Node(Parent)->child(Index) : FTree->topLevelItem(Index);
}

int TTreeViewSearchSource::GetChildCount(TItem Parent) const {
  return Parent ? Node(Parent)->childCount() : FTree->topLevelItemCount();
}

TTreeSourceFlags TTreeViewSearchSource::GetFlags(TItem Item) const {
  if (!Item || (FCallback && !FCallback(Node(Item)))) return 0;
  return tsfInclude | tsfSecond;
}

}  // namespace kx
