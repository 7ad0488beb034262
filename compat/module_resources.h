// Bitmaps and cursors that a module carries by name, as Qt resources under
// ":/module/bitmaps/<NAME>" and ":/module/cursors/<NAME>" (each module
// registers its own resource file under that prefix).
#pragma once

#include <QImage>
#include <QPoint>
#include <optional>
#include <string_view>

#include "compat/module_images.h"

namespace compat {

struct TCursorImage {
  QImage Image;
  QPoint HotSpot;
};

// The named bitmap; a null image when the module has no such bitmap.
QImage LoadBitmapImage(std::string_view Name);

// The named cursor; its hot spot comes from the XPM header ("w h colours
// chars x y"), the image's centre when the header gives none.
std::optional<TCursorImage> LoadCursorResource(std::string_view Name);

}  // namespace compat
