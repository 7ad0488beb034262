#include "host/app/layer_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace host {

namespace {

constexpr int IDRole = Qt::UserRole;

QByteArray KeyOf(const TKxID& ID) {
  return QByteArray::fromStdString(IDKey(ID));
}

}  // namespace

TLayerPanel::TLayerPanel(QWidget* Parent) : QWidget(Parent), FTree(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("LayerPanel"));
  FTree->setObjectName(QStringLiteral("LayerTree"));
  FTree->setHeaderHidden(true);
  FTree->setRootIsDecorated(true);
  auto* Up = new QToolButton(this);
  Up->setObjectName(QStringLiteral("LayerUpButton"));
  Up->setArrowType(Qt::UpArrow);
  Up->setToolTip(tr("Move the layer up (drawn later)"));
  auto* Down = new QToolButton(this);
  Down->setObjectName(QStringLiteral("LayerDownButton"));
  Down->setArrowType(Qt::DownArrow);
  Down->setToolTip(tr("Move the layer down (drawn earlier)"));
  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(Up);
  Buttons->addWidget(Down);
  Buttons->addStretch();
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(2, 2, 2, 2);
  Layout->addWidget(FTree);
  Layout->addLayout(Buttons);
  connect(Up, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
  connect(Down, &QToolButton::clicked, this, [this] { MoveSelected(1); });
  connect(FTree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int) {
    if (!FFilling && FOnChanged) FOnChanged();
  });
}

void TLayerPanel::Fill(const THostProject& Project) {
  FFilling = true;
  FTree->clear();
  for (const TKxID& MapID : Project.Maps()) {
    const THostMap& Map = Project.Map(MapID);
    auto* MapItem = new QTreeWidgetItem(FTree, {QString::fromStdString(Map.Name)});
    MapItem->setFlags(Qt::ItemIsEnabled);
    // The map's first layer is drawn first: it goes to the bottom of the list.
    for (auto It = Map.Layers.rbegin(); It != Map.Layers.rend(); ++It) {
      const THostLayer& Layer = Project.Layer(*It);
      auto* Item = new QTreeWidgetItem(MapItem, {QString::fromStdString(Layer.Caption)});
      Item->setData(0, IDRole, KeyOf(Layer.ID));
      Item->setToolTip(0, QString::fromStdString(IDText(Layer.ID)));
      Item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      Item->setCheckState(0, Qt::Checked);
    }
    MapItem->setExpanded(true);
  }
  FFilling = false;
}

std::vector<TKxID> TLayerPanel::DrawOrder() const {
  std::vector<TKxID> Order;
  for (int M = 0; M < FTree->topLevelItemCount(); ++M) {
    const QTreeWidgetItem* Map = FTree->topLevelItem(M);
    for (int L = Map->childCount() - 1; L >= 0; --L) {
      const QTreeWidgetItem* Item = Map->child(L);
      if (Item->checkState(0) != Qt::Checked) continue;
      Order.push_back(TKxID::FromBytes(Item->data(0, IDRole).toByteArray().toStdString()));
    }
  }
  return Order;
}

void TLayerPanel::MoveSelected(int Delta) {
  QTreeWidgetItem* Item = FTree->currentItem();
  if (!Item || !Item->parent()) return;
  QTreeWidgetItem* Map = Item->parent();
  const int From = Map->indexOfChild(Item);
  const int To = From + Delta;
  if (To < 0 || To >= Map->childCount()) return;
  FFilling = true;
  Map->takeChild(From);
  Map->insertChild(To, Item);
  FTree->setCurrentItem(Item);
  FFilling = false;
  if (FOnChanged) FOnChanged();
}

bool TLayerPanel::SetLayerVisible(const TKxID& ID, bool Visible) {
  const QByteArray Key = KeyOf(ID);
  for (QTreeWidgetItemIterator It(FTree); *It; ++It)
    if ((*It)->data(0, IDRole).toByteArray() == Key) {
      (*It)->setCheckState(0, Visible ? Qt::Checked : Qt::Unchecked);
      return true;
    }
  return false;
}

}  // namespace host
