#include "ui/project_names.h"

#include "addonkit/custom_addon.h"
#include "forms/tree_chooser_model.h"

namespace ui {

QString ProjectStyleName(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID,
                         const QString& Default) {
  return QString::fromStdString(
      forms::ProjectStyleName(Addon->GISDatabase, StyleID, Default.toStdString()));
}

QString ProjectLayerCaption(kx::TKxCustomAddon* Addon, const kx::TKxID& LayerID,
                            const QString& Default) {
  return QString::fromStdString(
      forms::ProjectLayerCaption(Addon->GISDatabase, LayerID, Default.toStdString()));
}

kx::TKxID StyleLayerID(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID) {
  return forms::StyleLayerID(Addon->GISDatabase, StyleID);
}

}  // namespace ui
