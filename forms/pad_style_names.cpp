#include "forms/pad_style_names.h"

#include "addonkit/custom_addon.h"

namespace forms {

std::string ProjectStyleName(kx::TKxCustomAddon& Addon, const kx::TKxID& StyleID,
                             const std::string& Default) {
  if (StyleID.Empty()) return Default;
  return Addon.GISDatabase.GetStyle(StyleID).GetStyleInfo().Name.ToUtf8();
}

std::string ProjectLayerCaption(kx::TKxCustomAddon& Addon, const kx::TKxID& LayerID,
                                const std::string& Default) {
  if (LayerID.Empty()) return Default;
  const kx::TKxLayerInfo Layer = Addon.GISDatabase.GetLayerInfo(LayerID);
  const kx::TKxMapInfo Map = Addon.GISDatabase.GetMapInfo(Layer.MapID);
  std::string Caption = "[";
  Caption += Map.Name.ToUtf8();
  Caption += "] ";
  Caption += Layer.Name.ToUtf8();
  return Caption;
}

kx::TKxID StyleLayerID(kx::TKxCustomAddon& Addon, const kx::TKxID& StyleID) {
  return Addon.GISDatabase.GetStyle(StyleID).GetStyleLayers().GetID(0);
}

}  // namespace forms
