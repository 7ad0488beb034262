#include "host/app/host_script_target.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdio>

#include "host/app/host_window.h"
#include "host/app/map_widget.h"
#include "host/com/host_manager.h"

namespace host {

namespace {

bool NameMatches(const QObject* Object, const QString& Text, const QString& Name) {
  return Object->objectName() == Name || Text == Name || PlainCaption(Text) == Name;
}

// A tool tip names a button too; its keys in parentheses may be left out.
bool TipMatches(const QString& Tip, const QString& Name) {
  return !Tip.isEmpty() && (Tip == Name || Tip.startsWith(Name + " ("));
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
  if (V == "style") return ChooseStyle(A[0], A.value(1));
  if (V == "search") return SearchShot(A[0], A[1]);
  if (V == "resize") {
    bool OkW = false, OkH = false;
    const int W = A[0].toInt(&OkW), H = A[1].toInt(&OkH);
    if (!OkW || !OkH || W < 100 || H < 100) return "a size of at least 100 x 100 pixels is needed";
    FWindow.Window().resize(W, H);
    return {};
  }
  if (V == "screenshot") return Screenshot(A[0], A.value(1));
  if (V == "open") {
    FWindow.OpenProject(Path(A[0]));
    return {};
  }
  if (V == "new") {
    FWindow.NewProject();
    return {};
  }
  if (V == "save") {
    if (A.isEmpty() && FWindow.ProjectPath().isEmpty()) return "the project has no file yet";
    if (A.isEmpty() &&
        FWindow.ProjectPath() == QFileInfo(THostWindow::SampleProject()).absoluteFilePath())
      return "the sample town is not saved over; save it under a name of its own";
    FWindow.SaveProject(A.isEmpty() ? FWindow.ProjectPath() : Path(A[0]));
    return {};
  }
  if (V == "import") {
    QStringList Notes;
    FWindow.ImportFile(ID(A[0]), ID(A[1]), Path(A[2]), A.value(3), &Notes);
    for (const QString& Note : Notes)
      std::fprintf(stderr, "trace-host: line %d: %s\n", Step.Line, qPrintable(Note));
    return {};
  }
  if (V == "export") {
    // What the format could not hold is told, as the dialog tells it.
    for (const QString& Note : FWindow.ExportLayer(ID(A[0]), Path(A[1])))
      std::fprintf(stderr, "trace-host: line %d: %s\n", Step.Line, qPrintable(Note));
    return {};
  }
  if (V == "select") {
    std::vector<TKxID> IDs;
    for (const QString& Text : A) IDs.push_back(ID(Text));
    FWindow.Select(IDs);
    return {};
  }
  if (V == "click" || V == "hover") {
    bool OkX = false, OkY = false;
    const double X = A[0].toDouble(&OkX), Y = A[1].toDouble(&OkY);
    if (!OkX || !OkY) return "map coordinates are two numbers";
    const QPointF P = QtPoint(FWindow.Map().View().Transform().ToDevice(X, Y));
    if (!FWindow.Map().rect().contains(P.toPoint())) return "the point is outside the map view";
    if (V == "hover") {
      FWindow.Map().HoverAt(X, Y);
      return {};
    }
    const QString Key = A.value(2).toLower();
    const Qt::KeyboardModifiers Keys = Key == "ctrl"    ? Qt::ControlModifier
                                       : Key == "shift" ? Qt::ShiftModifier
                                       : Key == "alt"   ? Qt::AltModifier
                                                        : Qt::NoModifier;
    if (!Key.isEmpty() && Keys == Qt::NoModifier)
      return "a click holds ctrl, shift or alt, not \"" + A[2] + "\"";
    FWindow.Map().ClickAt(X, Y, Keys);
    return {};
  }
  if (V == "move") {
    bool OkX = false, OkY = false;
    const int X = A[1].toInt(&OkX), Y = A[2].toInt(&OkY);
    if (!OkX || !OkY) return "a position is two whole numbers of pixels";
    QWidget* W = OpenWindow(A[0]);
    if (!W) return "no open window \"" + A[0] + "\"";
    W->move(X, Y);
    return {};
  }
  if (V == "zoom") return Zoom(A);
  if (V == "expect") return Expect(A);
  return "unknown step \"" + V + "\"";
}

QString THostScriptTarget::Zoom(const QStringList& A) {
  TMapWidget& Map = FWindow.Map();
  if (A.size() == 1 && A[0] == "all") {
    Map.ZoomToAll();
    return {};
  }
  if (A.size() == 1 && A[0] == "selection") {
    if (FWindow.Manager().MapView().Selection().empty()) return "nothing is selected";
    Map.ZoomToSelection();
    return {};
  }
  if (A.size() != 4) return "zoom all, zoom selection or zoom X1 Y1 X2 Y2";
  double V[4];
  for (int I = 0; I < 4; ++I) {
    bool Ok = false;
    V[I] = A[I].toDouble(&Ok);
    if (!Ok) return "\"" + A[I] + "\" is not a number";
  }
  if (!(V[2] > V[0] && V[3] > V[1])) return "the rectangle is empty";
  Map.ZoomToRect({V[0], V[1], V[2], V[3]});
  return {};
}

QString THostScriptTarget::Expect(const QStringList& A) {
  if (A[0] != "objects" || A.size() != 3) return "expect objects LAYER N";
  bool Ok = false;
  const int Want = A[2].toInt(&Ok);
  if (!Ok) return "\"" + A[2] + "\" is not a count";
  const THostProject& P = FWindow.Manager().Project();
  const TKxID Layer = ID(A[1]);
  P.Layer(Layer);  // raises for an unknown layer
  const auto Have = static_cast<int>(P.Objects(Layer).size());
  if (Have != Want)
    return QString("layer %1 holds %2 objects, not %3").arg(A[1]).arg(Have).arg(Want);
  return {};
}

QString THostScriptTarget::Press(const QString& Name) {
  auto* Action = FindNamed<QAction>(Name, [](QAction* A) { return A->text(); });
  if (!Action)
    Action = FindNamed<QAction>(
        Name, [&](QAction* A) { return TipMatches(A->toolTip(), Name) ? Name : A->text(); });
  if (Action) {
    if (!Action->isEnabled()) return "\"" + Name + "\" is disabled";
    Action->trigger();
    return {};
  }
  auto* Button = FindNamed<QAbstractButton>(Name, [](QAbstractButton* B) { return B->text(); });
  if (!Button)
    Button = FindNamed<QAbstractButton>(Name, [&](QAbstractButton* B) {
      return TipMatches(B->toolTip(), Name) ? Name : B->text();
    });
  if (Button) {
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

QString THostScriptTarget::ChooseStyle(const QString& ID, const QString& Shot) {
  const QString Name = FWindow.StyleName(ID);
  if (Name.isEmpty()) return "no style \"" + ID + "\" in the project";
  bool Found = false, Seen = false;
  QString ShotError;
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
    if (Found && !Shot.isEmpty()) {
      Settle();
      ShotError = SaveShot(FWindow.Screenshot(), Shot);
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
  return ShotError;
}

QString THostScriptTarget::SearchShot(const QString& Text, const QString& Shot) {
  bool Seen = false;
  QString Error = "the tree search did not open";
  FModalHandler = [&](QWidget* Chooser) {
    auto* Find = Chooser->findChild<QAction*>(QStringLiteral("FindItem"));
    auto* Dialog = qobject_cast<QDialog*>(Chooser);
    if (!Find || !Dialog) return false;
    Seen = true;
    // The search runs its own modal loop inside the trigger below, where
    // the step's watch does not fire again: a timer of its own reaches it.
    QTimer Poll;
    Poll.setInterval(20);
    QObject::connect(&Poll, &QTimer::timeout, [&] {
      QWidget* Search = QApplication::activeModalWidget();
      if (!Search || Search == Chooser) return;
      Poll.stop();
      if (auto* Filter = Search->findChild<QLineEdit*>()) Filter->setText(Text);
      // The tree is refilled 100 ms after the last change of the filter.
      QEventLoop Wait;
      QTimer::singleShot(300, &Wait, &QEventLoop::quit);
      Wait.exec();
      Error = SaveShot(FWindow.Screenshot(), Shot);
      if (auto* SearchDialog = qobject_cast<QDialog*>(Search))
        SearchDialog->reject();
      else
        Search->close();
    });
    Poll.start();
    Find->trigger();
    Poll.stop();
    Dialog->reject();
    return true;
  };
  const QString PressError = Press(QStringLiteral("SelectNewObjectStyleAction"));
  FModalHandler = nullptr;
  if (!PressError.isEmpty()) return PressError;
  if (!Seen) return "the style chooser did not open";
  return Error;
}

QString THostScriptTarget::Screenshot(const QString& File, const QString& Window) {
  Settle();
  if (Window.isEmpty()) return SaveShot(FWindow.Screenshot(), File);
  if (QWidget* W = OpenWindow(Window)) return SaveShot(W->grab().toImage(), File);
  return "no open window \"" + Window + "\"";
}

QWidget* THostScriptTarget::OpenWindow(const QString& Name) {
  for (QWidget* W : QApplication::topLevelWidgets())
    if (W->isVisible() && (W->windowTitle() == Name || W->objectName() == Name)) return W;
  return nullptr;
}

QString THostScriptTarget::SaveShot(const QImage& Image, const QString& File) const {
  if (!File.endsWith(".png", Qt::CaseInsensitive)) return "a picture is saved as .png";
  if (!Image.save(Path(File), "PNG")) return "cannot write " + Path(File);
  return {};
}

}  // namespace host
