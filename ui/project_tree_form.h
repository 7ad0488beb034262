// The project tree chooser: the host project's maps, their layers and the
// layers' styles, from which the user picks one node of a wanted kind.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "addonkit/dll_form.h"
#include "addonlib/widgets/x_tree_view.h"
#include "ui/id_holder.h"

class QAction;
class QLabel;
class QPushButton;

namespace Ui {
class TProjectTreeForm;
}

namespace kx {
class TKxCustomAddon;
}

namespace ui {

class TProjectTreeForm : public kx::TDllForm {
 public:
  explicit TProjectTreeForm(QWidget* Owner = nullptr);
  ~TProjectTreeForm() override;

  // Fills the tree down to the wanted kind: maps; maps and layers; maps,
  // layers and styles.
  void Fill(kx::TKxCustomAddon* Addon, std::uint8_t AKind, bool AAnyKind);
  // Selects the first node, in tree order, that stands for ID.
  void Preselect(const kx::TKxID& ID);
  // The selected node's ID when it may be chosen, else empty.
  kx::TKxID ResultID() const;

  static const TIDHolder* Holder(const QTreeWidgetItem* Node);

  kx::TXTreeView* ProjectTree() const;
  QLabel* TreeLabel() const;
  QPushButton* OkButton() const;
  QAction* FindItem() const;
  const kx::TImageList& Images() const { return FImages; }

  std::uint8_t Kind = pkMap;
  bool AnyKind = false;

 private:
  void SelectionChanged();

  std::unique_ptr<Ui::TProjectTreeForm> FUi;
  kx::TImageList FImages;
};

// Shows the chooser modally with Caption. True when the user confirmed a node
// whose ID differs from ID, which then holds it; Cancel keeps ID.
bool ChooseFromProjectTree(kx::TKxCustomAddon* Addon, const QString& Caption, std::uint8_t Kind,
                           kx::TKxID& ID);

}  // namespace ui
