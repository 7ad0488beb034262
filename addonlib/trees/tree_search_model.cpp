#include "addonlib/trees/tree_search_model.h"

#include "addonlib/trees/words_filter.h"

namespace kx {

namespace {

// Matched: the filter matches the text; Visible: matched or with a visible
// descendant.
void MarkNodes(TNode& Parent, const TWordsFilter& Filter) {
  for (auto& Child : Parent.Children) {
    MarkNodes(*Child, Filter);
    Child->Matched = Filter.Matches(Child->Text);
    Child->Visible = Child->Matched;
    for (const auto& Grand : Child->Children) Child->Visible = Child->Visible || Grand->Visible;
  }
}

void AddRows(std::vector<TTreeSearchRow>& Rows, const TNode& Parent, int ParentRow) {
  for (const auto& Child : Parent.Children) {
    if (!Child->Visible) continue;
    Rows.push_back({Child.get(), ParentRow, Child->Matched});
    AddRows(Rows, *Child, static_cast<int>(Rows.size()) - 1);
  }
}

bool Blank(std::string_view Text) {
  for (const char C : Text)
    if (static_cast<unsigned char>(C) > ' ') return false;
  return true;
}

}  // namespace

void TTreeSearchModel::Initialize(const ITreeItems& Source, std::string_view FilterText) {
  FRoot.Clear();
  FRoot.Text.clear();
  FRoot.ImageIndex = -1;
  BuildNodes(Source, FRoot, nullptr);
  FFilterText = FilterText;
  FRows.clear();
  FSelectedRow = -1;
  Refill();
}

void TTreeSearchModel::BuildNodes(const ITreeItems& Source, TNode& Parent, ITreeItems::TItem Item) {
  const int Count = Source.GetChildCount(Item);
  for (int I = 0; I < Count; ++I) {
    ITreeItems::TItem Child = Source.GetChild(Item, I);
    std::string Text;
    Source.GetText(Child, Text);
    const int Image = Source.GetImageIndex(Child);
    if (!(Source.GetFlags(Child) & tsfInclude)) continue;
    TNode* Node = Parent.Add();
    Node->Text = std::move(Text);
    Node->ImageIndex = Image;
    Node->Ref = Child;
    BuildNodes(Source, *Node, Child);
  }
}

bool TTreeSearchModel::FilterChanged(std::string_view Text) {
  FFilterText = Text;
  if (FFilterDelay != 0) return true;
  Refill();
  return false;
}

void TTreeSearchModel::Refill() {
  ++FFillCount;
  const ITreeItems::TItem Previous = SelectedRef();
  FRows.clear();
  // A blank filter would match everything; it shows nothing instead.
  if (!Blank(FFilterText)) {
    MarkNodes(FRoot, TWordsFilter(FFilterText));
    AddRows(FRows, FRoot, -1);
  }
  int Keep = -1, FirstMatch = -1;
  for (int R = 0; R < static_cast<int>(FRows.size()); ++R) {
    const TNode* Node = FRows[static_cast<std::size_t>(R)].Node;
    if (Node->Matched && FirstMatch < 0) FirstMatch = R;
    if (Previous && Node->Ref == Previous && Keep < 0) Keep = R;
  }
  FSelectionKept = Keep >= 0;
  FSelectedRow = Keep >= 0 ? Keep : FirstMatch >= 0 ? FirstMatch : FRows.empty() ? -1 : 0;
}

void TTreeSearchModel::Select(int Row) {
  FSelectedRow = Row >= 0 && Row < static_cast<int>(FRows.size()) ? Row : -1;
}

ITreeItems::TItem TTreeSearchModel::SelectedRef() const {
  return FSelectedRow < 0 ? nullptr : FRows[static_cast<std::size_t>(FSelectedRow)].Node->Ref;
}

}  // namespace kx
