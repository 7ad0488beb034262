// The host's main window: menus and tool bars around the map view, the
// add-ons' commands, and the host's own error reports. It fills the
// manager's main window, the one add-ons take as their forms' owner.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "host/host_addons.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QImage;

namespace host {

class THostManager;

class THostWindow : public QObject {
 public:
  explicit THostWindow(THostManager& Manager);
  ~THostWindow() override;

  QMainWindow& Window() const;
  THostManager& Manager() const { return FManager; }
  THostAddOns& AddOns() { return *FAddOns; }

  // Loads the registry's active add-ons and puts their commands into the
  // menus and the add-ons' tool bar. Failures are reported.
  void LoadAddOns(const compat::TRegistry& Registry);
  // Runs a command; an add-on's failure is reported with its error text.
  // False when it failed.
  bool RunCommand(const THostAddOnCommand& Command);
  QAction* CommandAction(const THostAddOnCommand& Command) const;

  // In quiet mode (scripts) reports go to Reporter, not to message boxes.
  void SetReporter(std::function<void(const QString&)> Reporter) {
    FReporter = std::move(Reporter);
  }
  void Report(const QString& Text);

  // The name of the project's style ID; empty when there is none.
  QString StyleName(const QString& ID) const;

  // The main window with the other visible windows of the application
  // (the add-ons' forms) drawn over it where they stand.
  QImage Screenshot() const;

 private:
  void BuildMenus();
  QMenu* MenuFor(const QString& Path, QString& Caption);
  void AddCommand(const THostAddOnCommand& Command);

  THostManager& FManager;
  std::unique_ptr<THostAddOns> FAddOns;
  std::map<QString, QMenu*> FMenus;  // by menu path, accelerator marks kept
  std::map<const THostAddOnCommand*, QAction*> FCommandActions;
  QToolBar* FAddOnBar = nullptr;
  std::function<void(const QString&)> FReporter;
};

}  // namespace host
