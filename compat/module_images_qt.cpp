// The module's images through Qt: bitmaps behind the handle table, cursors
// from XPM resources, windows found by their native id.
#include <QBuffer>
#include <QByteArray>
#include <QWidget>

#include "compat/bitmap_handle.h"
#include "compat/module_resources.h"
#include "compat/screen_cursors.h"

namespace compat {

std::optional<std::string> BitmapFileImage(HBITMAP Handle) {
  const QImage* Image = Handle ? BitmapFromHandle(Handle) : nullptr;
  if (!Image) return std::nullopt;
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  if (!Image->save(&Buffer, "BMP")) return std::nullopt;
  return Bytes.toStdString();
}

bool LoadScreenCursor(int Index, std::string_view Name) {
  auto Cursor = LoadCursorResource(Name);
  if (!Cursor) return false;
  SetScreenCursor(Index, std::move(*Cursor));
  return true;
}

std::string WindowTitle(HWND Window) {
  const QWidget* W = Window ? QWidget::find(static_cast<WId>(Window)) : nullptr;
  return W ? W->windowTitle().toStdString() : std::string();
}

}  // namespace compat
