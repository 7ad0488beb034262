// The reference host: loads every active add-on of the registry, connects
// it and offers its commands in the menus of its main window.
//
//   trace-host                      run the host
//   trace-host --register MODULE    register MODULE's add-ons and classes, active
//   trace-host --unregister MODULE  remove MODULE's classes, mark its add-ons inactive
//   trace-host --list               load the active add-ons, print their commands, exit
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <cstdio>
#include <cstring>
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

// Registration as a registration tool does it; 0 on success.
int Register(const char* Path, bool Register) {
  try {
    host::THostModule Module(Path);
    const HRESULT AddOns = Module.KxDllRegisterAddOn(nullptr, Register ? 1 : 0);
    const HRESULT Classes = Register ? Module.DllRegisterServer() : Module.DllUnregisterServer();
    if (FAILED(AddOns) || FAILED(Classes)) {
      std::fprintf(stderr, "%s: registration failed\n", Path);
      return 1;
    }
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--register") == 0) return Register(argv[2], true);
  if (argc == 3 && std::strcmp(argv[1], "--unregister") == 0) return Register(argv[2], false);
  const bool ListOnly = argc == 2 && std::strcmp(argv[1], "--list") == 0;

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
          if (ListOnly)
            std::printf("%s: %s (%dx%d image)\n", Entry.Description.c_str(),
                        Command.Attrs.MenuPath.ToUtf8().c_str(), Command.Image.width(),
                        Command.Image.height());
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

  int Result = 0;
  if (!ListOnly) {
    Manager.MainWindow().show();
    Result = App.exec();
  }
  AddOns.clear();
  Modules.clear();
  return Result;
}
