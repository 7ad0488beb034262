#include "ui/project_names.h"

#include "forms/pad_style_names.h"

namespace ui {

QString ProjectStyleName(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID,
                         const QString& Default) {
  return QString::fromStdString(forms::ProjectStyleName(*Addon, StyleID, Default.toStdString()));
}

QString ProjectLayerCaption(kx::TKxCustomAddon* Addon, const kx::TKxID& LayerID,
                            const QString& Default) {
  return QString::fromStdString(forms::ProjectLayerCaption(*Addon, LayerID, Default.toStdString()));
}

kx::TKxID StyleLayerID(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID) {
  return forms::StyleLayerID(*Addon, StyleID);
}

}  // namespace ui
