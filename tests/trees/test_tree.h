// A project-like tree of captions for the tree search: maps, layers, styles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addonlib/trees/tree_items.h"

struct TTestItem {
  std::string Text;
  int Image = -1;
  bool Refused = false;
  std::vector<std::unique_ptr<TTestItem>> Children;

  TTestItem* Add(std::string T, int I) {
    auto Child = std::make_unique<TTestItem>();
    Child->Text = std::move(T);
    Child->Image = I;
    return Children.emplace_back(std::move(Child)).get();
  }
};

class TTestTree final : public kx::ITreeItems {
 public:
  TTestTree() {
    Town = Root.Add("Город", 0);
    Roads = Town->Add("Дороги", 1);
    Abcd = Roads->Add("Abcd-cde улица", 2);  // AB and CD: CD only inside "Abcd", CDE starts
    Asphalt = Roads->Add("Асфальт", 2);
    Water = Town->Add("Водные объекты", 1);
    Lake = Water->Add("cdx озеро ab", 2);
    River = Root.Add("Река xab xcd", 0);
  }

  void GetText(TItem Item, std::string& Text) const override { Text = Of(Item).Text; }
  int GetImageIndex(TItem Item) const override { return Item ? Of(Item).Image : -1; }
  TItem GetChild(TItem Parent, int Index) const override {
    return Of(Parent).Children.at(static_cast<std::size_t>(Index)).get();
  }
  int GetChildCount(TItem Parent) const override {
    return static_cast<int>(Of(Parent).Children.size());
  }
  kx::TTreeSourceFlags GetFlags(TItem Item) const override {
    return Item && !Of(Item).Refused ? kx::tsfInclude | kx::tsfSecond : 0u;
  }

  TTestItem Root;
  TTestItem *Town, *Roads, *Abcd, *Asphalt, *Water, *Lake, *River;

 private:
  const TTestItem& Of(TItem Item) const { return Item ? *static_cast<TTestItem*>(Item) : Root; }
};
