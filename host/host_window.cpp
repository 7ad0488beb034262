#include "host/host_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QToolBar>
#include <cstdio>

#include "host/host_manager.h"

namespace host {

THostWindow::THostWindow(THostManager& Manager)
    : FManager(Manager), FAddOns(std::make_unique<THostAddOns>(Manager)) {
  BuildMenus();
}

THostWindow::~THostWindow() {
  for (const QString& Failure : FAddOns->Unload())
    std::fprintf(stderr, "trace-host: %s\n", qPrintable(Failure));
}

QMainWindow& THostWindow::Window() const {
  return FManager.MainWindow();
}

void THostWindow::BuildMenus() {
  QMainWindow& W = Window();
  W.setWindowTitle(QStringLiteral("Trace host"));
  FAddOnBar = W.addToolBar(QStringLiteral("Add-ons"));
  FAddOnBar->setObjectName(QStringLiteral("AddOnToolBar"));
  FAddOnBar->setIconSize(QSize(16, 16));
}

QMenu* THostWindow::MenuFor(const QString& Path, QString& Caption) {
  QStringList Parts = Path.split('\\', Qt::SkipEmptyParts);
  Caption = Parts.isEmpty() ? QString() : Parts.takeLast();
  if (Parts.isEmpty()) Parts << QStringLiteral("&Add-ons");
  QMenu* Menu = nullptr;
  QString Key;
  for (const QString& Part : Parts) {
    Key += '\\' + Part;
    auto It = FMenus.find(Key);
    if (It == FMenus.end()) {
      QMenu* New = Menu ? Menu->addMenu(Part) : Window().menuBar()->addMenu(Part);
      New->setObjectName(PlainCaption(Key.mid(1)));
      It = FMenus.emplace(Key, New).first;
    }
    Menu = It->second;
  }
  return Menu;
}

void THostWindow::AddCommand(const THostAddOnCommand& Command) {
  QString Caption;
  QMenu* Menu = MenuFor(Command.MenuPath, Caption);
  if (Caption.isEmpty()) Caption = Command.Caption;
  QAction* Action = Menu->addAction(Caption);
  Action->setObjectName(Command.Ident);
  Action->setToolTip(PlainCaption(Command.Caption));
  if (!Command.Image.isNull()) Action->setIcon(QPixmap::fromImage(Command.Image));
  FAddOnBar->addAction(Action);
  const THostAddOnCommand* Target = &Command;
  connect(Action, &QAction::triggered, this, [this, Target] { RunCommand(*Target); });
  FCommandActions[&Command] = Action;
}

void THostWindow::LoadAddOns(const compat::TRegistry& Registry) {
  const QStringList Failures = FAddOns->Load(Registry);
  for (const THostAddOnCommand& Command : FAddOns->Commands()) AddCommand(Command);
  if (!Failures.isEmpty())
    Report(QStringLiteral("Some add-ons were left out:\n") + Failures.join('\n'));
}

QAction* THostWindow::CommandAction(const THostAddOnCommand& Command) const {
  const auto It = FCommandActions.find(&Command);
  return It == FCommandActions.end() ? nullptr : It->second;
}

bool THostWindow::RunCommand(const THostAddOnCommand& Command) {
  try {
    Command.AddOn->Execute(Command.Index);
    return true;
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
    return false;
  }
}

void THostWindow::Report(const QString& Text) {
  if (FReporter) {
    FReporter(Text);
    return;
  }
  QMessageBox::warning(&Window(), QStringLiteral("Trace host"), Text);
}

QString THostWindow::StyleName(const QString&) const {
  return {};  // no project model yet
}

QImage THostWindow::Screenshot() const {
  QMainWindow& W = Window();
  QImage Image = W.grab().toImage();
  QPainter Painter(&Image);
  const QPoint Origin = W.mapToGlobal(QPoint(0, 0));
  for (QWidget* Top : QApplication::topLevelWidgets()) {
    if (Top == &W || !Top->isVisible() || Top->isMinimized()) continue;
    const QPoint At = Top->mapToGlobal(QPoint(0, 0)) - Origin;
    Painter.drawPixmap(At, Top->grab());
  }
  return Image;
}

}  // namespace host
