#include "ui/project_names.h"

#include "addonkit/custom_addon.h"

namespace ui {

namespace {

QString Text(const auto& Short) {
  return QString::fromStdString(Short.ToUtf8());
}

}  // namespace

QString ProjectStyleName(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID,
                         const QString& Default) {
  if (StyleID.Empty()) return Default;
  return Text(Addon->GISDatabase.GetStyle(StyleID).GetStyleInfo().Name);
}

QString ProjectLayerCaption(kx::TKxCustomAddon* Addon, const kx::TKxID& LayerID,
                            const QString& Default) {
  if (LayerID.Empty()) return Default;
  const kx::TKxLayerInfo Layer = Addon->GISDatabase.GetLayerInfo(LayerID);
  const kx::TKxMapInfo Map = Addon->GISDatabase.GetMapInfo(Layer.MapID);
  return QStringLiteral("[%1] %2").arg(Text(Map.Name), Text(Layer.Name));
}

kx::TKxID StyleLayerID(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID) {
  return Addon->GISDatabase.GetStyle(StyleID).GetStyleLayers().GetID(0);
}

}  // namespace ui
