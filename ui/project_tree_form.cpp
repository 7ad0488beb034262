#include "ui/project_tree_form.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <array>

#include "addonkit/custom_addon.h"
#include "addonlib/widgets/search_in_tree.h"
#include "compat/module_resources.h"
#include "ui_project_tree_form.h"

namespace ui {

namespace {

// Nodes carry their holder.
class TIDHolderNode : public QTreeWidgetItem {
 public:
  static constexpr int NodeType = QTreeWidgetItem::UserType + 1;
  TIDHolderNode(const TIDHolder& AHolder, const QString& Text)
      : QTreeWidgetItem(QStringList{Text}, NodeType), Holder(AHolder) {}
  TIDHolder Holder;
};

QString Text(const auto& Short) {
  return QString::fromStdString(Short.ToUtf8());
}

const std::array<const char*, 3> LabelTexts = {
    "&Список карт:", "&Список слоев:", "&Список стилей:"};

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
    if (!AnyKind && FUi->OkButton->isEnabled()) accept();
  });
  connect(FUi->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(FUi->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  SelectionChanged();
}

TProjectTreeForm::~TProjectTreeForm() = default;

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
  Kind = AKind;
  AnyKind = AAnyKind;
  FUi->TreeLabel->setText(QString::fromUtf8(LabelTexts[std::min<std::size_t>(Kind, 2)]));
  kx::TXTreeView* Tree = FUi->ProjectTree;
  const kx::TKxGISDatabase& Database = Addon->GISDatabase;
  const auto Add = [&](QTreeWidgetItem* Parent, const kx::TKxID& ID, std::uint8_t NodeKind,
                       const QString& Caption) {
    auto* Node = new TIDHolderNode(TIDHolder(ID, NodeKind), Caption);
    kx::SetNodeImageIndex(Node, NodeKind, FImages);
    if (Parent)
      Parent->addChild(Node);
    else
      Tree->addTopLevelItem(Node);
    return Node;
  };
  Tree->setUpdatesEnabled(false);
  try {
    Tree->clear();
    const kx::TKxIDsList Maps = Addon->MapProject.GetMaps();
    for (std::int32_t M = 0, MapCount = Maps.GetCount(); M < MapCount; ++M) {
      const kx::TKxID MapID = Maps.GetID(M);
      QTreeWidgetItem* MapNode = Add(nullptr, MapID, pkMap, Text(Database.GetMapInfo(MapID).Name));
      if (Kind == pkMap) continue;
      const kx::TKxIDsList Layers = Database.GetMapLayers(MapID);
      for (std::int32_t L = 0, LayerCount = Layers.GetCount(); L < LayerCount; ++L) {
        const kx::TKxID LayerID = Layers.GetID(L);
        QTreeWidgetItem* LayerNode =
            Add(MapNode, LayerID, pkLayer, Text(Database.GetLayerInfo(LayerID).Name));
        if (Kind != pkStyle) continue;
        const kx::TKxIDsList Styles = Database.GetLayerStyles(LayerID);
        for (std::int32_t S = 0, StyleCount = Styles.GetCount(); S < StyleCount; ++S) {
          const kx::TKxID StyleID = Styles.GetID(S);
          Add(LayerNode, StyleID, pkStyle, Text(Database.GetStyle(StyleID).GetStyleInfo().Name));
        }
      }
    }
  } catch (...) {
    Tree->setUpdatesEnabled(true);
    throw;
  }
  Tree->setUpdatesEnabled(true);
  SelectionChanged();
}

void TProjectTreeForm::Preselect(const kx::TKxID& ID) {
  if (ID.Empty()) return;
  for (QTreeWidgetItemIterator It(FUi->ProjectTree); *It; ++It) {
    const TIDHolder* H = Holder(*It);
    if (H && H->ID == ID) {
      FUi->ProjectTree->setCurrentItem(*It);
      FUi->ProjectTree->scrollToItem(*It);
      return;
    }
  }
}

kx::TKxID TProjectTreeForm::ResultID() const {
  QTreeWidgetItem* Node = FUi->ProjectTree->currentItem();
  const TIDHolder* H = Node && Node->isSelected() ? Holder(Node) : nullptr;
  if (H && (AnyKind || H->Kind == Kind)) return H->ID;
  return kx::TKxID{};
}

void TProjectTreeForm::SelectionChanged() {
  FUi->OkButton->setEnabled(!ResultID().Empty());
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
  if (Form.exec() != QDialog::Accepted) return false;
  const kx::TKxID Result = Form.ResultID();
  const bool Changed = !(Result == ID);
  ID = Result;
  return Changed;
}

}  // namespace ui
