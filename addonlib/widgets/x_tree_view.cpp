#include "addonlib/widgets/x_tree_view.h"

#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "compat/module_resources.h"
#include "core/exception.h"

namespace kx {

namespace {

constexpr int ImageIndexRole = Qt::UserRole + 0x100;
constexpr int StateRole = Qt::UserRole + 0x101;

// The state images are 16 pixels wide, with two pixels to the node's icon.
constexpr int StateImageWidth = 16;
constexpr int StateGap = 2;

// Olive is the transparent colour of the state bitmaps.
QPixmap LoadStateImage(const char* Name) {
  const QImage Image = compat::LoadBitmapImage(Name);
  if (Image.isNull()) return QPixmap();
  QPixmap Pixmap = QPixmap::fromImage(Image);
  Pixmap.setMask(QBitmap::fromImage(Image.createMaskFromColor(QColor(128, 128, 0).rgb())));
  return Pixmap;
}

template <class F>
void ForEachNode(QTreeWidgetItem* Node, const F& Visit) {
  Visit(Node);
  for (int I = 0; I < Node->childCount(); ++I) ForEachNode(Node->child(I), Visit);
}

template <class F>
void ForEachNode(QTreeWidget* Tree, const F& Visit) {
  for (int I = 0; I < Tree->topLevelItemCount(); ++I) ForEachNode(Tree->topLevelItem(I), Visit);
}

class TUpdateBracket {
 public:
  explicit TUpdateBracket(QWidget* W) : FWidget(W), FWas(W->updatesEnabled()) {
    W->setUpdatesEnabled(false);
  }
  ~TUpdateBracket() { FWidget->setUpdatesEnabled(FWas); }
  TUpdateBracket(const TUpdateBracket&) = delete;
  TUpdateBracket& operator=(const TUpdateBracket&) = delete;

 private:
  QWidget* FWidget;
  bool FWas;
};

}  // namespace

// Draws a node's state image before the rest of the node.
class TXTreeDelegate : public QStyledItemDelegate {
 public:
  explicit TXTreeDelegate(TXTreeView* View) : QStyledItemDelegate(View), FView(View) {}

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
             const QModelIndex& Index) const override {
    const int Width = FView->StateWidth();
    if (Width == 0) return QStyledItemDelegate::paint(Painter, Option, Index);
    const int State = Index.data(StateRole).toInt();
    if (State >= 0 && State < FView->FStateImages.size()) {
      const QPixmap& Image = FView->FStateImages[State];
      const int Top = Option.rect.top() + (Option.rect.height() - Image.height()) / 2;
      Painter->drawPixmap(Option.rect.left(), Top, Image);
    }
    QStyleOptionViewItem Rest(Option);
    Rest.rect.setLeft(Rest.rect.left() + Width);
    QStyledItemDelegate::paint(Painter, Rest, Index);
  }

  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    QSize Size = QStyledItemDelegate::sizeHint(Option, Index);
    Size.rwidth() += FView->StateWidth();
    return Size;
  }

  void InitOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const {
    initStyleOption(Option, Index);
  }

 private:
  TXTreeView* FView;
};

int NodeImageIndex(const QTreeWidgetItem* Node) {
  if (!Node) return -1;
  const QVariant V = Node->data(0, ImageIndexRole);
  return V.isValid() ? V.toInt() : -1;
}

void SetNodeImageIndex(QTreeWidgetItem* Node, int Index, const TImageList& Images) {
  Node->setData(0, ImageIndexRole, Index);
  Node->setIcon(0, Index >= 0 && Index < Images.size() ? Images[Index] : QIcon());
}

TXTreeView::TXTreeView(QWidget* Parent) : QTreeWidget(Parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setItemDelegate(new TXTreeDelegate(this));
  setMouseTracking(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int TXTreeView::StateWidth() const {
  return FCheckboxes == cbmNone ? 0 : StateImageWidth + StateGap;
}

void TXTreeView::SetCheckboxes(TCheckboxesMode Mode) {
  if (Mode == FCheckboxes) return;
  const TCheckboxesMode Old = FCheckboxes;
  FCheckboxes = Mode;
  if (Old == cbmNone) {
    const QPixmap Unchecked = LoadStateImage("UNCHECKED");
    FStateImages = {Unchecked, Unchecked, LoadStateImage("CHECKED"),
                    LoadStateImage("INDETERMINATE")};
    ForEachNode(this, [](QTreeWidgetItem* N) { N->setData(0, StateRole, csUnchecked); });
  } else if (Mode == cbmNone) {
    ForEachNode(this, [](QTreeWidgetItem* N) { N->setData(0, StateRole, QVariant()); });
    FStateImages.clear();
  }
  scheduleDelayedItemsLayout();
  viewport()->update();
}

TCheckState TXTreeView::GetCheckState(const TXTreeNode* Node) const {
  if (!Node || FCheckboxes == cbmNone) return csIndeterminate;
  const int State = Node->data(0, StateRole).toInt();
  if (State == csChecked || State == csIndeterminate) return static_cast<TCheckState>(State);
  return csUnchecked;
}

namespace {

// The view's nodes as the check box rules see them; the view's events.
class TCheckAccess final : public ICheckTree {
 public:
  explicit TCheckAccess(TXTreeView& View) : FView(View) {}
  static TXTreeNode* Node(TItem Item) { return static_cast<TXTreeNode*>(Item); }

  int ChildCount(TItem N) const override { return Node(N)->childCount(); }
  TItem Child(TItem N, int Index) const override { return Node(N)->child(Index); }
  TItem Parent(TItem N) const override { return Node(N)->parent(); }
  bool Expanded(TItem N) const override { return Node(N)->isExpanded(); }
  TCheckState State(TItem N) const override { return FView.GetCheckState(Node(N)); }
  void SetState(TItem N, TCheckState State, bool Shown) override {
    Node(N)->setData(0, StateRole, State);
    if (Shown) FView.viewport()->update(FView.visualItemRect(Node(N)));
  }
  bool CanCheck(TItem N, bool Check) override {
    bool Can = true;
    if (FView.OnNodeCanCheck) FView.OnNodeCanCheck(&FView, Node(N), Check, Can);
    return Can;
  }
  void Checking(TItem N, bool Check) override {
    if (FView.OnNodeChecking) FView.OnNodeChecking(&FView, Node(N), Check);
  }
  void Checked(TItem N) override {
    if (FView.OnNodeChecked) FView.OnNodeChecked(&FView, Node(N));
  }

 private:
  TXTreeView& FView;
};

}  // namespace

void TXTreeView::SetCheckState(TXTreeNode* Node, TCheckState State) {
  TRACE_ASSERT_MSG(FCheckboxes != cbmNone, "Invalid use XTreeView, checkboxes disabled");
  if (!Node) return;
  TUpdateBracket Bracket(this);
  TCheckAccess Access(*this);
  kx::SetCheckState(Access, FCheckboxes, Node, State);
}

void TXTreeView::Toggle(TXTreeNode* Node) {
  SetCheckState(Node, ToggledCheckState(GetCheckState(Node)));
}

void TXTreeView::rowsInserted(const QModelIndex& Parent, int Start, int End) {
  QTreeWidget::rowsInserted(Parent, Start, End);
  if (FCheckboxes == cbmNone) return;
  for (int Row = Start; Row <= End; ++Row) {
    QTreeWidgetItem* Node = itemFromIndex(model()->index(Row, 0, Parent));
    if (!Node) continue;
    // A node may come with its subtree.
    ForEachNode(Node, [](QTreeWidgetItem* N) {
      if (!N->data(0, StateRole).isValid()) N->setData(0, StateRole, csUnchecked);
    });
  }
}

QRect TXTreeView::ItemRect(const TXTreeNode* Node, bool Icon) const {
  if (!Node) return QRect();
  const QModelIndex Index = indexFromItem(Node);
  QStyleOptionViewItem Option;
  initViewItemOption(&Option);
  Option.rect = visualRect(Index);
  if (Option.rect.isEmpty()) return QRect();
  Option.rect.setLeft(Option.rect.left() + StateWidth());
  static_cast<const TXTreeDelegate*>(itemDelegate())->InitOption(&Option, Index);
  if (Icon && !(Option.features & QStyleOptionViewItem::HasDecoration)) return QRect();
  return style()->subElementRect(
      Icon ? QStyle::SE_ItemViewItemDecoration : QStyle::SE_ItemViewItemText, &Option, this);
}

QRect TXTreeView::StateImageRect(const TXTreeNode* Node) const {
  if (!Node || FCheckboxes == cbmNone) return QRect();
  const QRect R = visualItemRect(Node);
  if (R.isEmpty()) return QRect();
  return QRect(R.left(), R.top(), StateImageWidth, R.height());
}

QRect TXTreeView::IconRect(const TXTreeNode* Node) const {
  return ItemRect(Node, true);
}

QRect TXTreeView::TextRect(const TXTreeNode* Node) const {
  return ItemRect(Node, false);
}

void TXTreeView::mousePressEvent(QMouseEvent* Event) {
  const QPoint Pos = Event->position().toPoint();
  QTreeWidgetItem* Node = itemAt(Pos);
  if (Node && Event->button() == Qt::LeftButton) {
    if (StateImageRect(Node).contains(Pos)) {
      Toggle(Node);
      Event->accept();
      return;
    }
    if (OnIconClick && IconRect(Node).contains(Pos))
      OnIconClick(this, Node, Event->modifiers(), Pos.x(), Pos.y());
  } else if (Node && Event->button() == Qt::RightButton) {
    setCurrentItem(Node);
  }
  QTreeWidget::mousePressEvent(Event);
}

void TXTreeView::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint Pos = Event->position().toPoint();
  QTreeWidgetItem* Node = itemAt(Pos);
  if (Node && StateImageRect(Node).contains(Pos))
    viewport()->setCursor(Qt::PointingHandCursor);
  else
    viewport()->unsetCursor();
  if (Node && OnMouseOverIcon && IconRect(Node).contains(Pos))
    OnMouseOverIcon(this, Node, Event->modifiers(), Pos.x(), Pos.y());
  QTreeWidget::mouseMoveEvent(Event);
}

void TXTreeView::keyPressEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_Shift && !Event->isAutoRepeat() && OnShiftStateChanged)
    OnShiftStateChanged(this, Event->modifiers());
  if (Event->key() == Qt::Key_Space && FCheckboxes != cbmNone && currentItem()) {
    Toggle(currentItem());
    Event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(Event);
}

void TXTreeView::keyReleaseEvent(QKeyEvent* Event) {
  if (Event->key() == Qt::Key_Shift && !Event->isAutoRepeat() && OnShiftStateChanged)
    OnShiftStateChanged(this, Event->modifiers());
  QTreeWidget::keyReleaseEvent(Event);
}

void TXTreeView::contextMenuEvent(QContextMenuEvent* Event) {
  if (QTreeWidgetItem* Node = itemAt(Event->pos())) setCurrentItem(Node);
  QTreeWidget::contextMenuEvent(Event);
}

bool TXTreeView::viewportEvent(QEvent* Event) {
  if (Event->type() == QEvent::ToolTip && OnInfoTip) {
    auto* Help = static_cast<QHelpEvent*>(Event);
    QTreeWidgetItem* Node = itemAt(Help->pos());
    if (!Node) {
      QToolTip::hideText();
      return true;
    }
    QString Tip = Node->text(0);
    OnInfoTip(this, Node, Tip);
    // Over the node's text, widened by the cursor's size, never wider than
    // the tree.
    QRect Area = TextRect(Node);
    constexpr int CursorSize = 32;  // the standard cursor's size
    Area.setWidth(std::min(Area.width() + CursorSize, viewport()->width()));
    QToolTip::showText(Help->globalPos(), Tip, viewport(), Area);
    return true;
  }
  return QTreeWidget::viewportEvent(Event);
}

}  // namespace kx
