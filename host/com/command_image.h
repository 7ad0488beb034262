// An add-on command's image as the Qt host shows it.
#pragma once

#include <QImage>

#include "host/com/host_addon.h"

namespace host {

// Null when the command has no image or its bytes are not a BMP file.
QImage CommandImage(const THostCommand& Command);

}  // namespace host
