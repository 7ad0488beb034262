#include "compat/screen_cursors.h"

#include <QPixmap>
#include <map>

namespace compat {

namespace {

std::map<int, TCursorImage>& Cursors() {
  static std::map<int, TCursorImage> Table;
  return Table;
}

}  // namespace

void SetScreenCursor(int Index, TCursorImage Cursor) {
  Cursors()[Index] = std::move(Cursor);
}

bool HasScreenCursor(int Index) {
  return Cursors().count(Index) > 0;
}

QCursor ScreenCursor(int Index) {
  const auto It = Cursors().find(Index);
  if (It != Cursors().end())
    return QCursor(QPixmap::fromImage(It->second.Image), It->second.HotSpot.x(),
                   It->second.HotSpot.y());
  switch (Index) {
    case crCross:
      return QCursor(Qt::CrossCursor);
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace compat
