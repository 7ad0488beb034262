// Bitmap handles: 32-bit numbers standing for images, as the host records
// carry them. Handles belong to the module that made them.
#pragma once

#include <QImage>

#include "compat/module_images.h"

namespace compat {

// Never returns 0; 0 means "no bitmap" everywhere.
HBITMAP CreateBitmapHandle(QImage Image);

// Null for 0 and for handles that are unknown or already deleted.
const QImage* BitmapFromHandle(HBITMAP Handle);

}  // namespace compat
