#include "compat/module_resources.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include "compat/bitmap_handle.h"

namespace compat {

namespace {

QString ResourcePath(const char* Folder, std::string_view Name) {
  return QStringLiteral(":/module/%1/%2")
      .arg(QLatin1String(Folder),
           QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size())));
}

// The values line of an XPM image: the first quoted string after the
// declaration.
std::optional<QPoint> XpmHotSpot(const QByteArray& Text) {
  const qsizetype Brace = Text.indexOf('{');
  if (Brace < 0) return std::nullopt;
  const qsizetype Open = Text.indexOf('"', Brace);
  const qsizetype Close = Open < 0 ? -1 : Text.indexOf('"', Open + 1);
  if (Close < 0) return std::nullopt;
  const QStringList Values =
      QString::fromLatin1(Text.mid(Open + 1, Close - Open - 1)).split(' ', Qt::SkipEmptyParts);
  if (Values.size() < 6) return std::nullopt;
  bool OkX = false, OkY = false;
  const int X = Values[4].toInt(&OkX);
  const int Y = Values[5].toInt(&OkY);
  if (!OkX || !OkY) return std::nullopt;
  return QPoint(X, Y);
}

}  // namespace

QImage LoadBitmapImage(std::string_view Name) {
  return QImage(ResourcePath("bitmaps", Name));
}

HBITMAP LoadBitmapResource(std::string_view Name) {
  QImage Image = LoadBitmapImage(Name);
  return Image.isNull() ? 0 : CreateBitmapHandle(std::move(Image));
}

std::optional<TCursorImage> LoadCursorResource(std::string_view Name) {
  QFile File(ResourcePath("cursors", Name));
  if (!File.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray Text = File.readAll();
  TCursorImage Cursor;
  if (!Cursor.Image.loadFromData(Text, "XPM")) return std::nullopt;
  Cursor.HotSpot =
      XpmHotSpot(Text).value_or(QPoint(Cursor.Image.width() / 2, Cursor.Image.height() / 2));
  return Cursor;
}

}  // namespace compat
