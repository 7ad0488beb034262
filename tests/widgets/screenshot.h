// Renders a widget offscreen into a PNG under the build's screenshot folder,
// for a person to look at; returns the file's path.
#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

inline QString SaveScreenshot(QWidget* Widget, const QString& Name) {
  QDir().mkpath(QStringLiteral(TRACE_SCREENSHOT_DIR));
  const QString Path = QStringLiteral(TRACE_SCREENSHOT_DIR "/%1.png").arg(Name);
  Widget->grab().save(Path);
  return Path;
}
