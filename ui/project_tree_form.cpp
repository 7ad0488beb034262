#include "ui/project_tree_form.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include "addonkit/custom_addon.h"
#include "addonlib/widgets/search_in_tree.h"
#include "compat/module_resources.h"
#include "ui_project_tree_form.h"

namespace ui {

namespace {

// Nodes carry their model node.
class TIDHolderNode : public QTreeWidgetItem {
 public:
  static constexpr int NodeType = QTreeWidgetItem::UserType + 1;
  TIDHolderNode(const forms::TProjectNode& ANode, int AIndex)
      : QTreeWidgetItem(QStringList{QString::fromStdString(ANode.Text)}, NodeType),
        Holder(ANode.Holder),
        Index(AIndex) {}
  TIDHolder Holder;
  int Index;
};

int NodeIndex(const QTreeWidgetItem* Node) {
  if (!Node || Node->type() != TIDHolderNode::NodeType || !Node->isSelected()) return -1;
  return static_cast<const TIDHolderNode*>(Node)->Index;
}

}  // namespace

TProjectTreeForm::TProjectTreeForm(QWidget* Owner)
    : TDllForm(Owner, Qt::Dialog | Qt::WindowContextHelpButtonHint),
      FUi(std::make_unique<Ui::TProjectTreeForm>()) {
  FUi->setupUi(this);
  for (const char* Name : {"NODE_MAP", "NODE_LAYER", "NODE_STYLE"})
    FImages << QIcon(QPixmap::fromImage(compat::LoadBitmapImage(Name)));
  // Ctrl+F works anywhere in the dialog; the menu offers it on the tree.
  addAction(FUi->FindItem);
  FUi->FindItem->setShortcutContext(Qt::WindowShortcut);
  connect(FUi->ProjectTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& At) {
    QMenu Menu(this);
    Menu.addAction(FUi->FindItem);
    Menu.exec(FUi->ProjectTree->viewport()->mapToGlobal(At));
  });
  connect(FUi->FindItem, &QAction::triggered, this,
          [this] { kx::SearchInTree(FUi->ProjectTree, FImages); });
  connect(FUi->ProjectTree, &QTreeWidget::currentItemChanged, this, [this] { SelectionChanged(); });
  connect(FUi->ProjectTree, &QTreeWidget::itemSelectionChanged, this,
          [this] { SelectionChanged(); });
  connect(FUi->ProjectTree, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (FModel.DoubleClickConfirms()) accept();
  });
  connect(FUi->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(FUi->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  SelectionChanged();
}

TProjectTreeForm::~TProjectTreeForm() {
  // The model goes before the tree: nothing it signals may reach it.
  for (QObject* Child : findChildren<QObject*>()) Child->disconnect(this);
}

kx::TXTreeView* TProjectTreeForm::ProjectTree() const {
  return FUi->ProjectTree;
}

QLabel* TProjectTreeForm::TreeLabel() const {
  return FUi->TreeLabel;
}

QPushButton* TProjectTreeForm::OkButton() const {
  return FUi->OkButton;
}

QAction* TProjectTreeForm::FindItem() const {
  return FUi->FindItem;
}

const TIDHolder* TProjectTreeForm::Holder(const QTreeWidgetItem* Node) {
  if (!Node || Node->type() != TIDHolderNode::NodeType) return nullptr;
  return &static_cast<const TIDHolderNode*>(Node)->Holder;
}

void TProjectTreeForm::Fill(kx::TKxCustomAddon* Addon, std::uint8_t AKind, bool AAnyKind) {
  FModel.Fill(Addon->MapProject, Addon->GISDatabase, AKind, AAnyKind);
  FUi->TreeLabel->setText(QString::fromStdString(FModel.LabelText()));
  kx::TXTreeView* Tree = FUi->ProjectTree;
  Tree->setUpdatesEnabled(false);
  {
    const QSignalBlocker Block(Tree);
    Tree->clear();
    FItems.clear();
    const auto& Nodes = FModel.Nodes();
    for (std::size_t I = 0; I < Nodes.size(); ++I) {
      auto* Item = new TIDHolderNode(Nodes[I], static_cast<int>(I));
      kx::SetNodeImageIndex(Item, Nodes[I].ImageIndex(), FImages);
      if (Nodes[I].Parent < 0)
        Tree->addTopLevelItem(Item);
      else
        FItems[static_cast<std::size_t>(Nodes[I].Parent)]->addChild(Item);
      FItems.push_back(Item);
    }
  }
  Tree->setUpdatesEnabled(true);
  SelectionChanged();
}

void TProjectTreeForm::Preselect(const kx::TKxID& ID) {
  FModel.Preselect(ID);
  ShowSelection();
}

void TProjectTreeForm::ShowSelection() {
  const int Node = FModel.Selected();
  if (Node < 0) return;
  QTreeWidgetItem* Item = FItems[static_cast<std::size_t>(Node)];
  FUi->ProjectTree->setCurrentItem(Item);
  FUi->ProjectTree->scrollToItem(Item);
}

void TProjectTreeForm::SelectionChanged() {
  FModel.Select(NodeIndex(FUi->ProjectTree->currentItem()));
  FUi->OkButton->setEnabled(FModel.OkEnabled());
}

bool ChooseFromProjectTree(kx::TKxCustomAddon* Addon, const QString& Caption, std::uint8_t Kind,
                           kx::TKxID& ID) {
  TProjectTreeForm Form;
  Form.setWindowTitle(Caption);
  Form.Fill(Addon, Kind, false);
  Form.Preselect(ID);
  if (const QScreen* Screen = Form.screen()) {
    QRect Frame = Form.frameGeometry();
    Frame.moveCenter(Screen->availableGeometry().center());
    Form.move(Frame.topLeft());
  }
  const bool Confirmed = Form.exec() == QDialog::Accepted;
  return Form.Model().Finish(Confirmed, ID);
}

}  // namespace ui
