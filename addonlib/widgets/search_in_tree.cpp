#include "addonlib/widgets/search_in_tree.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "addonlib/widgets/words_filter.h"
#include "addonlib/widgets/x_tree_view.h"
#include "ui_search_in_tree.h"

namespace kx {

namespace {

constexpr int RefRole = Qt::UserRole;
constexpr int FilterDelay = 100;  // ms after the last change

// Matched: the filter matches the text; Visible: matched or with a visible
// descendant.
void MarkNodes(TNode& Parent, const TWordsFilter& Filter) {
  for (auto& Child : Parent.Children) {
    MarkNodes(*Child, Filter);
    Child->Matched = Filter.Matches(Child->Text);
    Child->Visible = Child->Matched;
    for (const auto& Grand : Child->Children) Child->Visible = Child->Visible || Grand->Visible;
  }
}

void* RefOf(const QTreeWidgetItem* Item) {
  return Item ? Item->data(0, RefRole).value<void*>() : nullptr;
}

}  // namespace

TSearchInTreeForm::TSearchInTreeForm(QWidget* Owner)
    : QDialog(Owner), FUi(std::make_unique<Ui::TSearchInTreeForm>()), FTimer(new QTimer(this)) {
  FUi->setupUi(this);
  SearchTree()->setSelectionMode(QAbstractItemView::SingleSelection);
  FTimer->setInterval(FilterDelay);
  connect(FTimer, &QTimer::timeout, this, [this] {
    FTimer->stop();
    FillResults();
  });
  connect(FUi->Filter, &QLineEdit::textChanged, this, [this] { FilterChanged(); });
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
  FRoot.Clear();
  FRoot.Text.clear();
  FRoot.ImageIndex = -1;
  BuildNodes(FRoot, nullptr);
  // Setting the text must not wait for the timer: the results follow below.
  const QSignalBlocker Block(FUi->Filter);
  FUi->Filter->setText(FilterText);
  QMetaObject::invokeMethod(
      this,
      [this] {
        FUi->Filter->deselect();
        FUi->Filter->setCursorPosition(static_cast<int>(FUi->Filter->text().size()));
      },
      Qt::QueuedConnection);
  FillResults();
}

void TSearchInTreeForm::BuildNodes(TNode& Parent, ITreeSource::TItem Item) {
  const int Count = FSource->GetChildCount(Item);
  for (int I = 0; I < Count; ++I) {
    ITreeSource::TItem Child = FSource->GetChild(Item, I);
    QString Text;
    FSource->GetText(Child, Text);
    const int Image = FSource->GetImageIndex(Child);
    if (!(FSource->GetFlags(Child) & tsfInclude)) continue;
    TNode* Node = Parent.Add();
    Node->Text = Text;
    Node->ImageIndex = Image;
    Node->Ref = Child;
    BuildNodes(*Node, Child);
  }
}

void TSearchInTreeForm::FilterChanged() {
  if (FTimer->interval() != 0) {
    FTimer->stop();
    FTimer->start();
  } else {
    FillResults();
  }
}

void TSearchInTreeForm::FillResults() {
  ++FFillCount;
  void* Previous = RefOf(SearchTree()->currentItem());
  const TWordsFilter Words(FUi->Filter->text());
  TXTreeView* Tree = SearchTree();
  const TImageList NoImages;
  const TImageList& Images = FSource ? FSource->GetImages() : NoImages;
  QTreeWidgetItem* Keep = nullptr;
  QTreeWidgetItem* FirstMatch = nullptr;
  {
    Tree->setUpdatesEnabled(false);
    const QSignalBlocker Block(Tree);
    Tree->clear();
    if (!FUi->Filter->text().trimmed().isEmpty()) {
      MarkNodes(FRoot, Words);
      QFont Bold = Tree->font();
      Bold.setBold(true);
      // Depth first, in tree order, each visible node under its visible parent.
      const auto Add = [&](const auto& Self, const TNode& Parent, QTreeWidgetItem* Under) -> void {
        for (const auto& Child : Parent.Children) {
          if (!Child->Visible) continue;
          auto* Item = Under ? new QTreeWidgetItem(Under) : new QTreeWidgetItem(Tree);
          Item->setText(0, Child->Text);
          Item->setData(0, RefRole, QVariant::fromValue(Child->Ref));
          SetNodeImageIndex(Item, Child->ImageIndex, Images);
          if (Child->Matched) {
            Item->setFont(0, Bold);
            if (!FirstMatch) FirstMatch = Item;
          }
          if (Previous && Child->Ref == Previous && !Keep) Keep = Item;
          Self(Self, *Child, Item);
        }
      };
      Add(Add, FRoot, nullptr);
      Tree->expandAll();
    }
    Tree->setUpdatesEnabled(true);
  }
  QTreeWidgetItem* Select = Keep ? Keep : FirstMatch ? FirstMatch : Tree->topLevelItem(0);
  if (Select) Tree->setCurrentItem(Select);
  if (Keep) Tree->scrollToItem(Keep);
}

ITreeSource::TItem TSearchInTreeForm::SelectedRef() const {
  QTreeWidgetItem* Item = SearchTree()->currentItem();
  return Item && Item->isSelected() ? RefOf(Item) : nullptr;
}

void TSearchInTreeForm::accept() {
  if (!SelectedRef()) {
    QMessageBox::information(this, QGuiApplication::applicationDisplayName(),
                             QStringLiteral("ВНИМАНИЕ! Необходимо выбрать элемент."));
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
