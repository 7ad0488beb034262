// The extended tree view: a tree view whose nodes can carry check boxes drawn
// from the module's state images, checked one by one or as a hierarchy, with
// events around every change, icon clicks and info tips.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QTreeWidget>
#include <functional>

#include "addonlib/trees/check_states.h"

namespace kx {

// Images of a tree's nodes, by image index.
using TImageList = QList<QIcon>;
// Nodes of the extended tree view are the platform's tree nodes; what the view
// adds lives in their data.
using TXTreeNode = QTreeWidgetItem;

// A node's image index, -1 when it has none, and setting it: the node shows
// Images[Index] when there is such an image.
int NodeImageIndex(const QTreeWidgetItem* Node);
void SetNodeImageIndex(QTreeWidgetItem* Node, int Index, const TImageList& Images);

class TXTreeView : public QTreeWidget {
 public:
  explicit TXTreeView(QWidget* Parent = nullptr);

  TCheckboxesMode Checkboxes() const { return FCheckboxes; }
  // Leaving cbmNone loads the state images "UNCHECKED" (as 0 and 1), "CHECKED"
  // and "INDETERMINATE" and unchecks every node; returning to it clears them.
  void SetCheckboxes(TCheckboxesMode Mode);
  const QList<QPixmap>& StateImages() const { return FStateImages; }

  // Raises an assertion while check boxes are off. In hierarchical mode the
  // descendants follow and the ancestors are recomputed.
  void SetCheckState(TXTreeNode* Node, TCheckState State);
  // csIndeterminate for no node or while check boxes are off.
  TCheckState GetCheckState(const TXTreeNode* Node) const;

  // Where a node's state image, icon and text are drawn, in viewport
  // coordinates; empty when the node has none.
  QRect StateImageRect(const TXTreeNode* Node) const;
  QRect IconRect(const TXTreeNode* Node) const;
  QRect TextRect(const TXTreeNode* Node) const;

  std::function<void(TXTreeView* Sender, TXTreeNode* Node)> OnNodeChecked;
  std::function<void(TXTreeView* Sender, TXTreeNode* Node, bool aCheck)> OnNodeChecking;
  std::function<void(TXTreeView* Sender, TXTreeNode* Node, bool aCheck, bool& aCanCheck)>
      OnNodeCanCheck;
  std::function<void(TXTreeView* Sender, TXTreeNode* Node, Qt::KeyboardModifiers Shift, int X,
                     int Y)>
      OnIconClick;
  std::function<void(TXTreeView* Sender, TXTreeNode* Node, Qt::KeyboardModifiers Shift, int X,
                     int Y)>
      OnMouseOverIcon;
  std::function<void(TXTreeView* Sender, Qt::KeyboardModifiers Shift)> OnShiftStateChanged;
  std::function<void(TXTreeView* Sender, TXTreeNode* Node, QString& InfoTip)> OnInfoTip;

 protected:
  void rowsInserted(const QModelIndex& Parent, int Start, int End) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  bool viewportEvent(QEvent* Event) override;

 private:
  friend class TXTreeDelegate;
  void Toggle(TXTreeNode* Node);
  QRect ItemRect(const TXTreeNode* Node, bool Icon) const;
  int StateWidth() const;

  TCheckboxesMode FCheckboxes = cbmNone;
  QList<QPixmap> FStateImages;
};

}  // namespace kx
