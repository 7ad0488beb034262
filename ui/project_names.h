// Texts by which the pad shows the chosen style and its layer, read from the
// host's project by the chooser's model; here as the pad's strings.
#pragma once

#include <QString>

#include "hostapi/kx_records.h"

namespace kx {
class TKxCustomAddon;
}

namespace ui {

// The style's name, or Default when StyleID is empty.
QString ProjectStyleName(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID,
                         const QString& Default);
// "[map] layer", or Default when LayerID is empty.
QString ProjectLayerCaption(kx::TKxCustomAddon* Addon, const kx::TKxID& LayerID,
                            const QString& Default);
// The first layer of the style's layer list.
kx::TKxID StyleLayerID(kx::TKxCustomAddon* Addon, const kx::TKxID& StyleID);

}  // namespace ui
