#include "host/app/host_addons.h"

#include "host/com/command_image.h"
#include "host/com/host_manager.h"

namespace host {

QString PlainCaption(QString Text) {
  Text.replace("&&", QString(QChar(1)));
  Text.remove('&');
  Text.replace(QChar(1), '&');
  return Text;
}

QStringList THostAddOns::Load(const compat::TRegistry& Registry) {
  QStringList Failures;
  for (const THostAddOnEntry& Entry : FindAddOns(Registry)) {
    if (!Entry.Active) continue;
    const QString Name = QString::fromStdString(
        Entry.Description.empty() ? compat::GuidToString(Entry.ClassID) : Entry.Description);
    if (Entry.ModulePath.empty()) {
      Failures << tr("%1: its class is not registered").arg(Name);
      continue;
    }
    try {
      auto& Module = FModules[Entry.ModulePath];
      if (!Module) Module = std::make_shared<THostModule>(Entry.ModulePath);
      auto AddOn = std::make_unique<THostAddOn>(Module, Entry.ClassID);
      AddOn->Connect(FManager);
      std::vector<THostAddOnCommand> Commands;
      std::int32_t Index = 0;
      for (THostCommand& Command : AddOn->Commands()) {
        THostAddOnCommand C;
        C.AddOn = AddOn.get();
        C.Index = Index++;
        C.Ident = QString::fromStdString(Command.Attrs.Ident.ToUtf8());
        C.Caption = QString::fromStdString(Command.Attrs.Caption.ToUtf8());
        C.MenuPath = QString::fromStdString(Command.Attrs.MenuPath.ToUtf8());
        C.Image = CommandImage(Command);
        Commands.push_back(std::move(C));
      }
      FCommands.insert(FCommands.end(), Commands.begin(), Commands.end());
      FAddOns.push_back(std::move(AddOn));
    } catch (const std::exception& E) {
      // The add-on's destructor disconnects it if it got that far.
      Failures << Name + ": " + QString::fromUtf8(E.what());
    }
  }
  // Modules whose add-ons all failed go now.
  for (auto It = FModules.begin(); It != FModules.end();)
    It = It->second.use_count() == 1 ? FModules.erase(It) : std::next(It);
  return Failures;
}

const THostAddOnCommand* THostAddOns::FindCommand(const QString& Name) const {
  for (const THostAddOnCommand& C : FCommands)
    if (C.Ident.compare(Name, Qt::CaseInsensitive) == 0 || PlainCaption(C.Caption) == Name ||
        C.Caption == Name)
      return &C;
  return nullptr;
}

QStringList THostAddOns::Notify(std::int32_t Code, kx::IKxParamsList* Params) {
  QStringList Failures;
  for (const auto& AddOn : FAddOns) {
    try {
      AddOn->Notify(Code, Params);
    } catch (const std::exception& E) {
      Failures << QString::fromUtf8(E.what());
    }
  }
  return Failures;
}

QStringList THostAddOns::Unload() {
  QStringList Failures;
  FCommands.clear();
  // The editor is code of a module; it goes before any module can.
  FManager.MapView().DropEditor();
  for (auto It = FAddOns.rbegin(); It != FAddOns.rend(); ++It) {
    try {
      (*It)->Disconnect();
    } catch (const std::exception& E) {
      Failures << QString::fromUtf8(E.what());
    }
  }
  FAddOns.clear();
  FModules.clear();
  return Failures;
}

}  // namespace host
