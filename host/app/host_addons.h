// Every add-on the host runs: loaded at start from the registry's active
// entries, connected to the manager, asked for its commands, told of host
// events, and disconnected and unloaded at the end. An add-on that fails to
// load or connect is reported and left out; the others go on.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compat/registry.h"
#include "host/com/addon_registry.h"
#include "host/com/host_addon.h"

namespace host {

class THostManager;

struct THostAddOnCommand {
  THostAddOn* AddOn = nullptr;
  std::int32_t Index = 0;  // the ExecuteMacro index
  QString Ident;
  QString Caption;
  QString MenuPath;  // levels separated by backslashes, "&" marks accelerators
  QImage Image;
};

class THostAddOns {
  Q_DECLARE_TR_FUNCTIONS(THostAddOns)

 public:
  explicit THostAddOns(THostManager& Manager) : FManager(Manager) {}
  ~THostAddOns() { Unload(); }
  THostAddOns(const THostAddOns&) = delete;
  THostAddOns& operator=(const THostAddOns&) = delete;

  // Loads every active add-on of the registry; returns one text for each
  // add-on that could not be loaded, connected or asked for its commands.
  QStringList Load(const compat::TRegistry& Registry);

  const std::vector<THostAddOnCommand>& Commands() const { return FCommands; }
  // By ident or caption (accelerator marks ignored); null when none.
  const THostAddOnCommand* FindCommand(const QString& Name) const;
  std::size_t Count() const { return FAddOns.size(); }

  // Sends Code with Params to every add-on; returns the failures' texts.
  QStringList Notify(std::int32_t Code, kx::IKxParamsList* Params);

  // Releases the view's editor, disconnects every add-on (last loaded
  // first), releases their objects and unloads the modules that allow it.
  // Returns the failures' texts.
  QStringList Unload();

 private:
  THostManager& FManager;
  std::vector<std::unique_ptr<THostAddOn>> FAddOns;
  std::map<std::string, std::shared_ptr<THostModule>> FModules;
  std::vector<THostAddOnCommand> FCommands;
};

// A menu path's caption without the accelerator marks ("С&ервис" -> "Сервис").
QString PlainCaption(QString Text);

}  // namespace host
