#include "host/com/command_image.h"

namespace host {

QImage CommandImage(const THostCommand& Command) {
  QImage Image;
  if (!Command.Bitmap.empty())
    Image.loadFromData(Command.Bitmap.data(), static_cast<int>(Command.Bitmap.size()), "BMP");
  return Image;
}

}  // namespace host
