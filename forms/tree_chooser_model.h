// What the project tree chooser decides: the tree of the project's maps,
// layers and styles read from the host (down to the wanted kind), each
// node's kind and icon, which node is selected, whether OK is enabled, and
// the ID chosen. Also the texts by which the pad shows a style and a layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addonkit/host_calls.h"
#include "forms/id_holder.h"

namespace forms {

// Texts of TreeLabel by kind.
inline constexpr const char* ProjectTreeLabels[] = {
    "&Список карт:", "&Список слоев:", "&Список стилей:"};

// One node of the tree, in tree order (parents before their children).
struct TProjectNode {
  TIDHolder Holder;
  std::string Text;  // UTF-8
  int Parent;        // -1 at the top
  // The node's icon: NODE_MAP, NODE_LAYER, NODE_STYLE by index.
  int ImageIndex() const { return Holder.Kind; }
};

class TProjectTreeModel {
 public:
  // Reads the tree: maps; maps and layers; maps, layers and styles.
  void Fill(const kx::TKxMapProject& Project, const kx::TKxGISDatabase& Database,
            std::uint8_t AKind, bool AAnyKind);
  std::uint8_t Kind() const { return FKind; }
  bool AnyKind() const { return FAnyKind; }
  std::string LabelText() const;
  const std::vector<TProjectNode>& Nodes() const { return FNodes; }

  // -1 for none.
  int Selected() const { return FSelected; }
  void Select(int Node);
  // Selects the first node, in tree order, that stands for ID; nothing for
  // an empty ID or one not found.
  void Preselect(const kx::TKxID& ID);
  // The selected node's ID when it may be chosen, else empty.
  kx::TKxID ResultID() const;
  bool OkEnabled() const { return !ResultID().Empty(); }
  // A double click confirms only when any node could not be chosen anyway.
  bool DoubleClickConfirms() const { return !FAnyKind && OkEnabled(); }
  // The dialog closed: on OK, ID takes the result and true tells that it
  // changed; on Cancel, false and ID unchanged.
  bool Finish(bool Confirmed, kx::TKxID& ID) const;

 private:
  std::vector<TProjectNode> FNodes;
  std::uint8_t FKind = pkMap;
  bool FAnyKind = false;
  int FSelected = -1;
};

// The style's name, or Default when StyleID is empty.
std::string ProjectStyleName(const kx::TKxGISDatabase& Database, const kx::TKxID& StyleID,
                             const std::string& Default);
// "[map] layer", or Default when LayerID is empty.
std::string ProjectLayerCaption(const kx::TKxGISDatabase& Database, const kx::TKxID& LayerID,
                                const std::string& Default);
// The first layer of the style's layer list.
kx::TKxID StyleLayerID(const kx::TKxGISDatabase& Database, const kx::TKxID& StyleID);

}  // namespace forms
