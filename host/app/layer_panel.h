// The layer panel: the project's maps and their layers, each layer with a
// check box for its visibility; the layer at the top of a map's list is
// drawn last, over the others. Up and Down move the selected layer.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <vector>

#include "host/model/map_model.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace host {

class TLayerPanel : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(TLayerPanel)

 public:
  explicit TLayerPanel(QWidget* Parent = nullptr);

  // Lists the project's maps and layers, all visible, in the project's order.
  void Fill(const THostProject& Project);
  // The visible layers in drawing order (bottom first).
  std::vector<TKxID> DrawOrder() const;
  void SetOnChanged(std::function<void()> F) { FOnChanged = std::move(F); }
  // Moves the selected layer up (Delta -1) or down (+1) within its map.
  void MoveSelected(int Delta);
  // Shows or hides a layer by ID; false when there is none.
  bool SetLayerVisible(const TKxID& ID, bool Visible);

  QTreeWidget* Tree() const { return FTree; }

 private:
  QTreeWidget* FTree;
  std::function<void()> FOnChanged;
  bool FFilling = false;
};

}  // namespace host
