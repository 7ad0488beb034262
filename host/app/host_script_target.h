// Script steps done to the running host application: the host's own
// windows directly, the add-ons' forms through Qt's widget tree (actions,
// buttons, check boxes and edits found by object name or caption), so that
// the host needs no link to any add-on.
#pragma once

#include <QDir>
#include <QTimer>
#include <functional>

#include "host/app/host_script.h"
#include "host/model/map_model.h"

class QImage;
class QWidget;

namespace host {

class THostWindow;

class THostScriptTarget : public TScriptTarget {
 public:
  THostScriptTarget(THostWindow& Window, QDir BaseDir);
  ~THostScriptTarget() override;

  QString Do(const TScriptStep& Step) override;

 private:
  QString DoStep(const TScriptStep& Step);
  QString Press(const QString& Name);
  QString Check(const QString& Name, const QString& State);
  QString Type(const QString& Name, const QString& Text);
  QString ChooseStyle(const QString& ID, const QString& Shot);
  QString SearchShot(const QString& Text, const QString& Shot);
  QString Screenshot(const QString& File, const QString& Window);
  QString SaveShot(const QImage& Image, const QString& File) const;
  static QWidget* OpenWindow(const QString& Name);
  QString Zoom(const QStringList& Args);
  QString Expect(const QStringList& Args);
  static TKxID ID(const QString& Text) { return MakeID(Text.toStdString()); }
  QString Path(const QString& File) const { return FBaseDir.absoluteFilePath(File); }
  // Closes a modal window that the step did not ask for, keeping its text.
  void WatchModal();

  THostWindow& FWindow;
  QDir FBaseDir;
  QTimer FWatch;
  QStringList FReports;  // what the host and unexpected dialogs said
  std::function<bool(QWidget*)> FModalHandler;
};

}  // namespace host
