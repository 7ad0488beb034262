// The project tree chooser, a view of the tree chooser model: it shows the
// model's tree of maps, layers and styles, forwards the selection, and OK
// follows the model.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "addonkit/dll_form.h"
#include "addonlib/widgets/x_tree_view.h"
#include "forms/tree_chooser_model.h"

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

using forms::pkLayer;
using forms::pkMap;
using forms::pkStyle;
using forms::TIDHolder;

class TProjectTreeForm : public kx::TDllForm {
 public:
  explicit TProjectTreeForm(QWidget* Owner = nullptr);
  ~TProjectTreeForm() override;

  // The model's filling, shown.
  void Fill(kx::TKxCustomAddon* Addon, std::uint8_t AKind, bool AAnyKind);
  void Preselect(const kx::TKxID& ID);
  kx::TKxID ResultID() const { return FModel.ResultID(); }
  const forms::TProjectTreeModel& Model() const { return FModel; }

  static const TIDHolder* Holder(const QTreeWidgetItem* Node);

  kx::TXTreeView* ProjectTree() const;
  QLabel* TreeLabel() const;
  QPushButton* OkButton() const;
  QAction* FindItem() const;
  const kx::TImageList& Images() const { return FImages; }

  std::uint8_t Kind() const { return FModel.Kind(); }
  bool AnyKind() const { return FModel.AnyKind(); }

 private:
  void SelectionChanged();
  void ShowSelection();

  forms::TProjectTreeModel FModel;
  std::vector<QTreeWidgetItem*> FItems;  // by model node
  std::unique_ptr<Ui::TProjectTreeForm> FUi;
  kx::TImageList FImages;
};

// Shows the chooser modally with Caption. True when the user confirmed a node
// whose ID differs from ID, which then holds it; Cancel keeps ID.
bool ChooseFromProjectTree(kx::TKxCustomAddon* Addon, const QString& Caption, std::uint8_t Kind,
                           kx::TKxID& ID);

}  // namespace ui
