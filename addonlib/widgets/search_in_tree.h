// The tree search dialog: the nodes of a tree whose captions hold every word
// of a filter text at word starts, with their ancestors, matches in bold.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "addonlib/widgets/tree_node.h"
#include "addonlib/widgets/tree_source.h"

class QLineEdit;
class QPushButton;
class QTimer;

namespace Ui {
class TSearchInTreeForm;
}

namespace kx {

class TXTreeView;

class TSearchInTreeForm : public QDialog {
 public:
  explicit TSearchInTreeForm(QWidget* Owner = nullptr);
  ~TSearchInTreeForm() override;

  // Copies the source's tree, sets the filter text and fills the results.
  void Initialize(ITreeSource* Source, const QString& FilterText);
  // Rebuilds the result tree from the filter text, keeping the selection.
  void FillResults();
  // The item of the selected result, nullptr when none is selected.
  ITreeSource::TItem SelectedRef() const;

  // OK without a selected result says so and keeps the dialog open.
  void accept() override;

  TXTreeView* SearchTree() const;
  QLineEdit* Filter() const;
  QTimer* Timer() const { return FTimer; }
  QPushButton* OkButton() const;
  const TNode& Root() const { return FRoot; }
  // How often the results were filled.
  int FillCount() const { return FFillCount; }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void BuildNodes(TNode& Parent, ITreeSource::TItem Item);
  void FilterChanged();

  std::unique_ptr<Ui::TSearchInTreeForm> FUi;
  ITreeSource* FSource = nullptr;
  TNode FRoot;
  QTimer* FTimer;
  int FFillCount = 0;
};

// Shows the search dialog over Tree; the chosen node, selected and made
// visible in Tree, or nullptr.
QTreeWidgetItem* SearchInTree(QTreeWidget* Tree, const TImageList& Images,
                              const QString& FilterText = QString(),
                              TTreeFilterCallback FilterCallback = nullptr);

}  // namespace kx
