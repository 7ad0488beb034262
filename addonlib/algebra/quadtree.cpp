#include "addonlib/algebra/quadtree.h"

#include "addonlib/geometry/rect.h"

namespace geoalg {

using geo::RectInRect;
using geo::RectsEqual;

TQuadroTree::TQuadroTree(int32_t AMaxItems, const TDRect& Rect) : MaxItems(AMaxItems) {
  Reset(Rect);
}

TQuadroSector* TQuadroTree::NewSector(const TDRect& Rect) {
  FSectors.emplace_back();
  FSectors.back().Rect = Rect;
  return &FSectors.back();
}

void TQuadroTree::Reset(const TDRect& Rect) {
  FSectors.clear();
  FItems.clear();
  FRoot = NewSector(Rect);
}

TSpatialIndexItem* TQuadroTree::Insert(int32_t Index, const TDRect& Rect) {
  TSpatialIndexItem Item;
  Item.Index = Index;
  Item.Rect = Rect;
  return InsertItem(Item);
}

TSpatialIndexItem* TQuadroTree::Insert(void* Object, const TDRect& Rect) {
  TSpatialIndexItem Item;
  Item.Object = Object;
  Item.Rect = Rect;
  return InsertItem(Item);
}

TSpatialIndexItem* TQuadroTree::InsertItem(const TSpatialIndexItem& Item) {
  TQuadroSector* S = FindSector(Item.Rect);
  FItems.push_back(Item);
  TSpatialIndexItem* Result = &FItems.back();
  S->Items.push_back(Result);
  TrySplit(S);
  return Result;
}

TSpatialIndexItem* TQuadroTree::Append(TQuadroSector& Sector, void* Object, const TDRect& Rect) {
  TSpatialIndexItem Item;
  Item.Object = Object;
  Item.Rect = Rect;
  FItems.push_back(Item);
  Sector.Items.push_back(&FItems.back());
  return &FItems.back();
}

const TQuadroSector* TQuadroTree::FindSector(const TDRect& Rect) const {
  const TQuadroSector* S = FRoot;
  while (S->HasChildren()) {
    const TQuadroSector* Next = nullptr;
    for (const TQuadroSector* Child : S->Children)
      if (RectInRect(Child->Rect, Rect)) {
        Next = Child;
        break;
      }
    if (!Next) break;
    S = Next;
  }
  return S;
}

TQuadroSector* TQuadroTree::FindSector(const TDRect& Rect) {
  // The tree owns its sectors: the one found is ours to change.
  return const_cast<TQuadroSector*>(static_cast<const TQuadroTree&>(*this).FindSector(Rect));
}

void TQuadroTree::TrySplit(TQuadroSector* S) {
  if (S->HasChildren()) return;
  if (static_cast<int32_t>(S->Items.size()) < MaxItems) return;
  if (!(S->Rect.X2 - S->Rect.X1 > 0) || !(S->Rect.Y2 - S->Rect.Y1 > 0)) return;
  bool AllSame = true;
  for (const TSpatialIndexItem* Item : S->Items)
    if (!RectsEqual(Item->Rect, S->Items.front()->Rect)) {
      AllSame = false;
      break;
    }
  if (AllSame) return;

  const TDRect& R = S->Rect;
  const double CX = (R.X1 + R.X2) / 2;
  const double CY = (R.Y1 + R.Y2) / 2;
  const TDRect Quadrants[4] = {
      {R.X1, CY, CX, R.Y2}, {CX, CY, R.X2, R.Y2}, {R.X1, R.Y1, CX, CY}, {CX, R.Y1, R.X2, CY}};
  for (int Q = 0; Q < 4; ++Q) {
    bool Moved = false;
    for (int32_t I = static_cast<int32_t>(S->Items.size()) - 1; I >= 0; --I) {
      if (!RectInRect(Quadrants[Q], S->Items[I]->Rect)) continue;
      if (!S->HasChildren())
        for (int K = 0; K < 4; ++K) S->Children[K] = NewSector(Quadrants[K]);
      S->Children[Q]->Items.push_back(S->Items[I]);
      S->Items.erase(S->Items.begin() + I);
      Moved = true;
    }
    if (Moved) TrySplit(S->Children[Q]);
  }
}

}  // namespace geoalg
