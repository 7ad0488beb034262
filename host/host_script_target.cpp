#include "host/host_script_target.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>

#include "host/host_window.h"

namespace host {

namespace {

bool NameMatches(const QObject* Object, const QString& Text, const QString& Name) {
  return Object->objectName() == Name || Text == Name || PlainCaption(Text) == Name;
}

// Visible windows first, so that a form's action wins over a hidden twin.
QList<QWidget*> Windows() {
  QList<QWidget*> Visible, Hidden;
  for (QWidget* W : QApplication::topLevelWidgets()) (W->isVisible() ? Visible : Hidden) << W;
  return Visible + Hidden;
}

template <class T, class TextOf>
T* FindNamed(const QString& Name, TextOf Text) {
  for (QWidget* W : Windows()) {
    if (auto* Self = qobject_cast<T*>(W); Self && NameMatches(Self, Text(Self), Name)) return Self;
    for (T* Child : W->findChildren<T*>())
      if (NameMatches(Child, Text(Child), Name)) return Child;
  }
  return nullptr;
}

void Settle() {
  for (int I = 0; I < 3; ++I) QApplication::processEvents();
}

}  // namespace

THostScriptTarget::THostScriptTarget(THostWindow& Window, QDir BaseDir)
    : FWindow(Window), FBaseDir(std::move(BaseDir)) {
  FWindow.SetReporter([this](const QString& Text) { FReports << Text; });
  FWatch.setInterval(20);
  QObject::connect(&FWatch, &QTimer::timeout, [this] { WatchModal(); });
}

THostScriptTarget::~THostScriptTarget() {
  FWindow.SetReporter(nullptr);
}

void THostScriptTarget::WatchModal() {
  QWidget* Modal = QApplication::activeModalWidget();
  if (!Modal || qobject_cast<QProgressDialog*>(Modal)) return;
  if (FModalHandler && FModalHandler(Modal)) {
    FModalHandler = nullptr;
    return;
  }
  QString Text = Modal->windowTitle();
  if (auto* Box = qobject_cast<QMessageBox*>(Modal))
    Text = Box->text();
  else if (auto* Label = Modal->findChild<QLabel*>(); Label && !Label->text().isEmpty())
    Text += ": " + Label->text();
  FReports << "unexpected window: " + Text;
  if (auto* Dialog = qobject_cast<QDialog*>(Modal))
    Dialog->reject();
  else
    Modal->close();
}

QString THostScriptTarget::Do(const TScriptStep& Step) {
  FReports.clear();
  FModalHandler = nullptr;
  FWatch.start();
  QString Error;
  try {
    Error = DoStep(Step);
    Settle();
  } catch (...) {
    FWatch.stop();
    throw;
  }
  FWatch.stop();
  if (Error.isEmpty() && !FReports.isEmpty()) Error = FReports.join("; ");
  return Error;
}

QString THostScriptTarget::DoStep(const TScriptStep& Step) {
  const QString& V = Step.Verb;
  const QStringList& A = Step.Args;
  if (V == "command") {
    const THostAddOnCommand* Command = FWindow.AddOns().FindCommand(A[0]);
    if (!Command) return "no add-on command \"" + A[0] + "\"";
    FWindow.RunCommand(*Command);
    return {};
  }
  if (V == "press") return Press(A[0]);
  if (V == "check") return Check(A[0], A[1]);
  if (V == "type") return Type(A[0], A[1]);
  if (V == "width") return Type(QStringLiteral("BufferZoneEdit"), A[0]);
  if (V == "style") return ChooseStyle(A[0]);
  if (V == "resize") {
    bool OkW = false, OkH = false;
    const int W = A[0].toInt(&OkW), H = A[1].toInt(&OkH);
    if (!OkW || !OkH || W < 100 || H < 100) return "a size of at least 100 x 100 pixels is needed";
    FWindow.Window().resize(W, H);
    return {};
  }
  if (V == "screenshot") return Screenshot(A[0]);
  return "the step \"" + V + "\" needs a project, and none is open";
}

QString THostScriptTarget::Press(const QString& Name) {
  if (auto* Action = FindNamed<QAction>(Name, [](QAction* A) { return A->text(); })) {
    if (!Action->isEnabled()) return "\"" + Name + "\" is disabled";
    Action->trigger();
    return {};
  }
  if (auto* Button =
          FindNamed<QAbstractButton>(Name, [](QAbstractButton* B) { return B->text(); })) {
    if (!Button->isEnabled()) return "\"" + Name + "\" is disabled";
    Button->click();
    return {};
  }
  return "no action or button \"" + Name + "\"";
}

QString THostScriptTarget::Check(const QString& Name, const QString& State) {
  const QString S = State.toLower();
  if (S != "on" && S != "off") return "a check box is set on or off, not \"" + State + "\"";
  auto* Box = FindNamed<QCheckBox>(Name, [](QCheckBox* B) { return B->text(); });
  if (!Box) return "no check box \"" + Name + "\"";
  if (!Box->isEnabled()) return "\"" + Name + "\" is disabled";
  // A click, as a person does it, so that the form's handlers run.
  if (Box->isChecked() != (S == "on")) Box->click();
  if (Box->isChecked() != (S == "on")) return "\"" + Name + "\" did not change";
  return {};
}

QString THostScriptTarget::Type(const QString& Name, const QString& Text) {
  auto* Edit = FindNamed<QLineEdit>(Name, [](QLineEdit*) { return QString(); });
  if (!Edit) return "no edit field \"" + Name + "\"";
  if (!Edit->isEnabled() || Edit->isReadOnly()) return "\"" + Name + "\" cannot be edited";
  Edit->setFocus();
  Edit->selectAll();
  Edit->insert(Text);
  emit Edit->editingFinished();
  return {};
}

QString THostScriptTarget::ChooseStyle(const QString& ID) {
  const QString Name = FWindow.StyleName(ID);
  if (Name.isEmpty()) return "no style \"" + ID + "\" in the project";
  bool Found = false, Seen = false;
  FModalHandler = [&](QWidget* Modal) {
    auto* Tree = Modal->findChild<QTreeWidget*>(QStringLiteral("ProjectTree"));
    auto* Ok = Modal->findChild<QPushButton*>(QStringLiteral("OkButton"));
    auto* Dialog = qobject_cast<QDialog*>(Modal);
    if (!Tree || !Ok || !Dialog) return false;
    Seen = true;
    // Style nodes are the third level: map, layer, style.
    for (QTreeWidgetItemIterator It(Tree); *It && !Found; ++It)
      if ((*It)->parent() && (*It)->parent()->parent() && (*It)->text(0) == Name) {
        Tree->setCurrentItem(*It);
        Found = Ok->isEnabled();
      }
    if (Found)
      Ok->click();
    else
      Dialog->reject();
    return true;
  };
  const QString Error = Press(QStringLiteral("SelectNewObjectStyleAction"));
  FModalHandler = nullptr;
  if (!Error.isEmpty()) return Error;
  if (!Seen) return "the style chooser did not open";
  if (!Found) return "the chooser offers no style \"" + Name + "\"";
  return {};
}

QString THostScriptTarget::Screenshot(const QString& File) {
  Settle();
  const QImage Image = FWindow.Screenshot();
  if (!Image.save(Path(File), "PNG")) return "cannot write " + Path(File);
  return {};
}

}  // namespace host
