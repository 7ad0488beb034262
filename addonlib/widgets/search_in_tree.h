// The tree search dialog: a view of the search model. It shows the model's
// result rows (matches bold, all expanded), forwards the filter's text after
// the model's pause (its timer), the user's selection and OK.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "addonlib/trees/tree_search_model.h"
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

  // Copies the source's tree, sets the filter text and shows the results.
  void Initialize(ITreeSource* Source, const QString& FilterText);
  // The model's refill, shown.
  void FillResults();
  ITreeSource::TItem SelectedRef() const { return FModel.SelectedRef(); }

  // OK without a selected result says so and keeps the dialog open.
  void accept() override;

  TXTreeView* SearchTree() const;
  QLineEdit* Filter() const;
  QTimer* Timer() const { return FTimer; }
  QPushButton* OkButton() const;
  const TTreeSearchModel& Model() const { return FModel; }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void ShowResults();

  std::unique_ptr<Ui::TSearchInTreeForm> FUi;
  ITreeSource* FSource = nullptr;
  TTreeSearchModel FModel;
  QTimer* FTimer;
  bool FShowing = false;
};

// Shows the search dialog over Tree; the chosen node, selected and made
// visible in Tree, or nullptr.
QTreeWidgetItem* SearchInTree(QTreeWidget* Tree, const TImageList& Images,
                              const QString& FilterText = QString(),
                              TTreeFilterCallback FilterCallback = nullptr);

}  // namespace kx
