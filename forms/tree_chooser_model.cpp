#include "forms/tree_chooser_model.h"

#include <algorithm>

namespace forms {

namespace {

std::string Text(const auto& Short) {
  return Short.ToUtf8();
}

}  // namespace

void TProjectTreeModel::Fill(const kx::TKxMapProject& Project, const kx::TKxGISDatabase& Database,
                             std::uint8_t AKind, bool AAnyKind) {
  FKind = AKind;
  FAnyKind = AAnyKind;
  FNodes.clear();
  FSelected = -1;
  const auto Add = [&](int Parent, const kx::TKxID& ID, std::uint8_t NodeKind,
                       std::string Caption) {
    FNodes.push_back({TIDHolder(ID, NodeKind), std::move(Caption), Parent});
    return static_cast<int>(FNodes.size()) - 1;
  };
  const kx::TKxIDsList Maps = Project.GetMaps();
  for (std::int32_t M = 0, MapCount = Maps.GetCount(); M < MapCount; ++M) {
    const kx::TKxID MapID = Maps.GetID(M);
    const int MapNode = Add(-1, MapID, pkMap, Text(Database.GetMapInfo(MapID).Name));
    if (FKind == pkMap) continue;
    const kx::TKxIDsList Layers = Database.GetMapLayers(MapID);
    for (std::int32_t L = 0, LayerCount = Layers.GetCount(); L < LayerCount; ++L) {
      const kx::TKxID LayerID = Layers.GetID(L);
      const int LayerNode =
          Add(MapNode, LayerID, pkLayer, Text(Database.GetLayerInfo(LayerID).Name));
      if (FKind != pkStyle) continue;
      const kx::TKxIDsList Styles = Database.GetLayerStyles(LayerID);
      for (std::int32_t S = 0, StyleCount = Styles.GetCount(); S < StyleCount; ++S) {
        const kx::TKxID StyleID = Styles.GetID(S);
        Add(LayerNode, StyleID, pkStyle, Text(Database.GetStyle(StyleID).GetStyleInfo().Name));
      }
    }
  }
}

std::string TProjectTreeModel::LabelText() const {
  return ProjectTreeLabels[std::min<std::size_t>(FKind, 2)];
}

void TProjectTreeModel::Select(int Node) {
  FSelected = Node >= 0 && Node < static_cast<int>(FNodes.size()) ? Node : -1;
}

void TProjectTreeModel::Preselect(const kx::TKxID& ID) {
  if (ID.Empty()) return;
  for (std::size_t I = 0; I < FNodes.size(); ++I)
    if (FNodes[I].Holder.ID == ID) {
      FSelected = static_cast<int>(I);
      return;
    }
}

kx::TKxID TProjectTreeModel::ResultID() const {
  if (FSelected < 0) return kx::TKxID{};
  const TIDHolder& H = FNodes[static_cast<std::size_t>(FSelected)].Holder;
  if (FAnyKind || H.Kind == FKind) return H.ID;
  return kx::TKxID{};
}

bool TProjectTreeModel::Finish(bool Confirmed, kx::TKxID& ID) const {
  if (!Confirmed) return false;
  const kx::TKxID Result = ResultID();
  const bool Changed = !(Result == ID);
  ID = Result;
  return Changed;
}

std::string ProjectStyleName(const kx::TKxGISDatabase& Database, const kx::TKxID& StyleID,
                             const std::string& Default) {
  if (StyleID.Empty()) return Default;
  return Text(Database.GetStyle(StyleID).GetStyleInfo().Name);
}

std::string ProjectLayerCaption(const kx::TKxGISDatabase& Database, const kx::TKxID& LayerID,
                                const std::string& Default) {
  if (LayerID.Empty()) return Default;
  const kx::TKxLayerInfo Layer = Database.GetLayerInfo(LayerID);
  const kx::TKxMapInfo Map = Database.GetMapInfo(Layer.MapID);
  std::string Caption = "[";
  Caption.append(Text(Map.Name)).append("] ").append(Text(Layer.Name));
  return Caption;
}

kx::TKxID StyleLayerID(const kx::TKxGISDatabase& Database, const kx::TKxID& StyleID) {
  return Database.GetStyle(StyleID).GetStyleLayers().GetID(0);
}

}  // namespace forms
