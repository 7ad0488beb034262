#include "addonlib/widgets/search_in_tree.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "addonlib/widgets/x_tree_view.h"
#include "ui_search_in_tree.h"

namespace kx {

namespace {

constexpr int RowRole = Qt::UserRole;

}  // namespace

TSearchInTreeForm::TSearchInTreeForm(QWidget* Owner)
    : QDialog(Owner), FUi(std::make_unique<Ui::TSearchInTreeForm>()), FTimer(new QTimer(this)) {
  FUi->setupUi(this);
  SearchTree()->setSelectionMode(QAbstractItemView::SingleSelection);
  FTimer->setInterval(FModel.FilterDelay());
  FTimer->setSingleShot(true);
  connect(FTimer, &QTimer::timeout, this, &TSearchInTreeForm::FillResults);
  connect(FUi->Filter, &QLineEdit::textChanged, this, [this](const QString& Text) {
    FModel.SetFilterDelay(FTimer->interval());
    if (FModel.FilterChanged(Text.toStdString()))
      FTimer->start();  // restarts a running one
    else
      ShowResults();
  });
  connect(SearchTree(), &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* Item) {
    if (!FShowing) FModel.Select(Item ? Item->data(0, RowRole).toInt() : -1);
  });
  connect(FUi->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(FUi->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(SearchTree(), &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
  FUi->Filter->installEventFilter(this);
  FUi->Filter->setFocus();
}

TSearchInTreeForm::~TSearchInTreeForm() = default;

TXTreeView* TSearchInTreeForm::SearchTree() const {
  return FUi->SearchTree;
}

QLineEdit* TSearchInTreeForm::Filter() const {
  return FUi->Filter;
}

QPushButton* TSearchInTreeForm::OkButton() const {
  return FUi->OkButton;
}

void TSearchInTreeForm::Initialize(ITreeSource* Source, const QString& FilterText) {
  FSource = Source;
  FModel.Initialize(*Source, FilterText.toStdString());
  // The model has the text already: no refill is due for setting it.
  const QSignalBlocker Block(FUi->Filter);
  FUi->Filter->setText(FilterText);
  QMetaObject::invokeMethod(
      this,
      [this] {
        FUi->Filter->deselect();
        FUi->Filter->setCursorPosition(static_cast<int>(FUi->Filter->text().size()));
      },
      Qt::QueuedConnection);
  ShowResults();
}

void TSearchInTreeForm::FillResults() {
  FTimer->stop();
  FModel.Refill();
  ShowResults();
}

void TSearchInTreeForm::ShowResults() {
  TXTreeView* Tree = SearchTree();
  const TImageList NoImages;
  const TImageList& Images = FSource ? FSource->GetImages() : NoImages;
  const std::vector<TTreeSearchRow>& Rows = FModel.Rows();
  std::vector<QTreeWidgetItem*> Items;
  Items.reserve(Rows.size());
  FShowing = true;
  {
    Tree->setUpdatesEnabled(false);
    const QSignalBlocker Block(Tree);
    Tree->clear();
    QFont Bold = Tree->font();
    Bold.setBold(true);
    for (std::size_t R = 0; R < Rows.size(); ++R) {
      const TTreeSearchRow& Row = Rows[R];
      auto* Item = Row.Parent < 0
                       ? new QTreeWidgetItem(Tree)
                       : new QTreeWidgetItem(Items[static_cast<std::size_t>(Row.Parent)]);
      Item->setText(0, QString::fromStdString(Row.Node->Text));
      Item->setData(0, RowRole, static_cast<int>(R));
      SetNodeImageIndex(Item, Row.Node->ImageIndex, Images);
      if (Row.Bold) Item->setFont(0, Bold);
      Items.push_back(Item);
    }
    Tree->expandAll();
    Tree->setUpdatesEnabled(true);
  }
  const int Selected = FModel.SelectedRow();
  if (Selected >= 0) {
    QTreeWidgetItem* Item = Items[static_cast<std::size_t>(Selected)];
    Tree->setCurrentItem(Item);
    if (FModel.SelectionKept()) Tree->scrollToItem(Item);
  }
  FShowing = false;
}

void TSearchInTreeForm::accept() {
  if (!FModel.CanConfirm()) {
    QMessageBox::information(this, QGuiApplication::applicationDisplayName(),
                             QString::fromUtf8(TTreeSearchModel::NoSelectionMessage));
    return;
  }
  QDialog::accept();
}

bool TSearchInTreeForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FUi->Filter && Event->type() == QEvent::KeyPress) {
    auto* Key = static_cast<QKeyEvent*>(Event);
    switch (Key->key()) {
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Up:
      case Qt::Key_Down: {
        QKeyEvent Copy(QEvent::KeyPress, Key->key(), Key->modifiers(), Key->text());
        QCoreApplication::sendEvent(SearchTree(), &Copy);
        return true;
      }
      default:
        break;
    }
  }
  return QDialog::eventFilter(Watched, Event);
}

QTreeWidgetItem* SearchInTree(QTreeWidget* Tree, const TImageList& Images,
                              const QString& FilterText, TTreeFilterCallback FilterCallback) {
  TTreeViewSearchSource Source(Tree, Images, std::move(FilterCallback));
  TSearchInTreeForm Form(Tree->window());
  Form.SearchTree()->setIconSize(Tree->iconSize());
  Form.Initialize(&Source, FilterText);
  if (Form.exec() != QDialog::Accepted) return nullptr;
  QTreeWidgetItem* Node = TTreeViewSearchSource::Node(Form.SelectedRef());
  if (Node) {
    Tree->setCurrentItem(Node);
    Tree->scrollToItem(Node);
  }
  return Node;
}

}  // namespace kx
