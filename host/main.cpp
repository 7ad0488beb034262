// The reference host: loads every active add-on of the registry, connects
// it and offers its commands in the menus of its main window.
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "host/addon_registry.h"
#include "host/host_addon.h"
#include "host/host_manager.h"

namespace {

// Builds the menu path of a command ("С&ервис\Трассировка": menu, then item)
// and returns the menu that receives the item, with the item's caption.
QMenu* MenuFor(QMenuBar* Bar, std::map<QString, QMenu*>& Menus, const QString& Path,
               QString& Caption) {
  QStringList Parts = Path.split('\\', Qt::SkipEmptyParts);
  Caption = Parts.isEmpty() ? QString() : Parts.takeLast();
  QMenu* Menu = nullptr;
  QString Key;
  for (const QString& Part : Parts) {
    Key += '\\' + Part;
    auto It = Menus.find(Key);
    if (It == Menus.end())
      It = Menus.emplace(Key, Menu ? Menu->addMenu(Part) : Bar->addMenu(Part)).first;
    Menu = It->second;
  }
  return Menu ? Menu : Bar->addMenu(QStringLiteral("&Add-ons"));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  host::THostManager Manager;
  std::vector<std::unique_ptr<host::THostAddOn>> AddOns;
  std::map<std::string, std::shared_ptr<host::THostModule>> Modules;
  std::map<QString, QMenu*> Menus;

  try {
    const compat::TRegistry Registry;
    for (const host::THostAddOnEntry& Entry : host::FindAddOns(Registry)) {
      if (!Entry.Active || Entry.ModulePath.empty()) continue;
      try {
        auto& Module = Modules[Entry.ModulePath];
        if (!Module) Module = std::make_shared<host::THostModule>(Entry.ModulePath);
        auto AddOn = std::make_unique<host::THostAddOn>(Module, Entry.ClassID);
        AddOn->Connect(Manager);
        int Index = 0;
        for (const host::THostCommand& Command : AddOn->Commands()) {
          QString Caption;
          QMenu* Menu = MenuFor(Manager.MainWindow().menuBar(), Menus,
                                QString::fromStdString(Command.Attrs.MenuPath.ToUtf8()), Caption);
          QAction* Action = Menu->addAction(Caption);
          if (!Command.Image.isNull()) Action->setIcon(QPixmap::fromImage(Command.Image));
          host::THostAddOn* Target = AddOn.get();
          QObject::connect(Action, &QAction::triggered, [Target, Index, &Manager] {
            try {
              Target->Execute(Index);
            } catch (const std::exception& E) {
              QMessageBox::warning(&Manager.MainWindow(), QStringLiteral("Trace host"),
                                   QString::fromUtf8(E.what()));
            }
          });
          ++Index;
        }
        AddOns.push_back(std::move(AddOn));
      } catch (const std::exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
      }
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
  }

  Manager.MainWindow().show();
  const int Result = App.exec();
  AddOns.clear();
  Modules.clear();
  return Result;
}
