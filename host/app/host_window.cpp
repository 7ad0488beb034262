#include "host/app/host_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

#include "geomio/gdal/crs.h"
#include "host/app/host_language.h"
#include "host/app/layer_panel.h"
#include "host/app/map_widget.h"
#include "host/com/host_manager.h"
#include "host/com/host_values.h"
#include "host/gis/gis_layer_io.h"
#include "host/model/host_error.h"
#include "host/model/project_file.h"

namespace host {

namespace {

// Host notifications: the selection changed; the project was replaced; the
// project is about to go (replaced or the application quits), parameter 5
// referring to a flag that an add-on sets to keep it.
constexpr std::int32_t NotifySelection = 16;
constexpr std::int32_t NotifyProject = 32;
constexpr std::int32_t NotifyProjectGoing = 64;
constexpr std::int32_t KeepProjectParam = 5;

QString Utf8(const std::string& S) {
  return QString::fromStdString(S);
}

}  // namespace

THostWindow::THostWindow(THostManager& Manager)
    : FManager(Manager), FAddOns(std::make_unique<THostAddOns>(Manager)) {
  Window().installEventFilter(this);
  BuildMenus();
  ProjectReplaced({});
}

THostWindow::~THostWindow() {
  Window().removeEventFilter(this);
  FManager.MapView().SetInvalidateHandler(nullptr);
  FManager.MapObjects().SetOnCreated(nullptr);
  for (const QString& Failure : FAddOns->Unload())
    std::fprintf(stderr, "trace-host: %s\n", qPrintable(Failure));
}

QMainWindow& THostWindow::Window() const {
  return FManager.MainWindow();
}

QString THostWindow::SampleProject() {
  const QByteArray Env = qgetenv("TRACE_SAMPLE_PROJECT");
  return Env.isEmpty() ? QStringLiteral(TRACE_SAMPLE_PROJECT) : QString::fromLocal8Bit(Env);
}

// ---- Window ----

void THostWindow::BuildMenus() {
  QMainWindow& W = Window();
  W.resize(1100, 750);
  FMap = new TMapWidget(FManager, &W);
  W.setCentralWidget(FMap);
  FMap->SetOnSelectionChanged([this] { SelectionChanged(); });
  FManager.MapObjects().SetOnCreated([this](const TKxID& ID) { ObjectCreated(ID); });
  FMap->SetOnViewChanged([this] { UpdateStatus(); });
  // An import may have given the project its coordinate system.
  FMap->SetOnMapChanged([this] { UpdateStatus(); });
  FMap->SetOnEditorError([this](const QString& Text) { Report(Text); });
  FMap->SetOnCursor([this](std::optional<QPointF> P) {
    FCursor = P;
    ShowPosition();
  });

  FLayers = new TLayerPanel;
  auto* Dock = new QDockWidget(tr("Layers"), &W);
  Dock->setObjectName(QStringLiteral("LayerDock"));
  Dock->setWidget(FLayers);
  Dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  W.addDockWidget(Qt::LeftDockWidgetArea, Dock);
  FLayers->SetOnChanged([this] {
    FManager.MapView().SetLayerOrder(FLayers->DrawOrder());
    FMap->MapChanged();
  });

  const auto Label = [](const char* Name) {
    auto* L = new QLabel;
    L->setObjectName(QString::fromLatin1(Name));
    return L;
  };
  FCursorLabel = Label("CursorLabel");
  FCursorLabel->setMinimumWidth(290);
  FScaleLabel = Label("ScaleLabel");
  FScaleLabel->setMinimumWidth(110);
  FSelectionLabel = Label("SelectionLabel");
  FCrsLabel = Label("CrsLabel");
  W.statusBar()->addWidget(FCursorLabel);
  W.statusBar()->addWidget(FScaleLabel);
  W.statusBar()->addWidget(FSelectionLabel);
  W.statusBar()->addPermanentWidget(FCrsLabel);

  BuildFileMenu();
  BuildViewMenu();
  FAddOnBar = W.addToolBar(tr("Add-ons"));
  FAddOnBar->setObjectName(QStringLiteral("AddOnToolBar"));
  FAddOnBar->setIconSize(QSize(16, 16));
}

void THostWindow::BuildFileMenu() {
  QMenu* File = Window().menuBar()->addMenu(tr("&File"));
  File->setObjectName(QStringLiteral("File"));
  const auto Add = [&](const char* Name, const QString& Text, QKeySequence Keys, auto Slot) {
    QAction* A = File->addAction(Text);
    A->setObjectName(QString::fromLatin1(Name));
    A->setShortcut(Keys);
    connect(A, &QAction::triggered, this, Slot);
    return A;
  };
  Add("FileNew", tr("&New"), QKeySequence::New, [this] {
    if (MayDiscard()) NewProject();
  });
  Add("FileOpen", tr("&Open..."), QKeySequence::Open, [this] { OpenDialog(); });
  Add("FileSave", tr("&Save"), QKeySequence::Save, [this] { SaveDialog(false); });
  Add("FileSaveAs", tr("Save &As..."), QKeySequence::SaveAs, [this] { SaveDialog(true); });
  File->addSeparator();
  Add("FileImport", tr("&Import Layer..."), QKeySequence(), [this] { ImportDialog(); });
  Add("FileExport", tr("&Export Layer..."), QKeySequence(), [this] { ExportDialog(); });
  File->addSeparator();
  FRecentMenu = File->addMenu(tr("&Recent Files"));
  FillRecent();
  File->addSeparator();
  Add("FileExit", tr("E&xit"), QKeySequence::Quit, [this] { Window().close(); });
}

void THostWindow::BuildViewMenu() {
  QMenu* View = Window().menuBar()->addMenu(tr("&View"));
  View->setObjectName(QStringLiteral("View"));
  QToolBar* Bar = Window().addToolBar(tr("Map"));
  Bar->setObjectName(QStringLiteral("MapToolBar"));
  const auto Add = [&](const char* Name, const QString& Text, QKeySequence Keys, auto Slot) {
    QAction* A = View->addAction(Text);
    A->setObjectName(QString::fromLatin1(Name));
    A->setShortcut(Keys);
    Bar->addAction(A);
    connect(A, &QAction::triggered, this, Slot);
    return A;
  };
  Add("ZoomAll", tr("Zoom to &All"), QKeySequence(Qt::CTRL | Qt::Key_0),
      [this] { FMap->ZoomToAll(); });
  Add("ZoomSelection", tr("Zoom to &Selection"), QKeySequence(Qt::CTRL | Qt::Key_9),
      [this] { FMap->ZoomToSelection(); });
  Add("ZoomIn", tr("Zoom &In"), QKeySequence::ZoomIn,
      [this] { FMap->ZoomAt(QPointF(FMap->width() / 2.0, FMap->height() / 2.0), 2); });
  Add("ZoomOut", tr("Zoom &Out"), QKeySequence::ZoomOut,
      [this] { FMap->ZoomAt(QPointF(FMap->width() / 2.0, FMap->height() / 2.0), 0.5); });
  QAction* Hand = Add("HandTool", tr("&Hand Tool"), QKeySequence(Qt::Key_H), [this](bool On) {
    FMap->SetHandTool(On);
    FMap->setCursor(On ? Qt::OpenHandCursor : Qt::ArrowCursor);
  });
  Hand->setCheckable(true);
}

QMenu* THostWindow::MenuFor(const QString& Path, QString& Caption) {
  QStringList Parts = Path.split('\\', Qt::SkipEmptyParts);
  Caption = Parts.isEmpty() ? QString() : Parts.takeLast();
  if (Parts.isEmpty()) Parts << tr("&Add-ons");
  QMenu* Menu = nullptr;
  QString Key;
  for (const QString& Part : Parts) {
    Key += '\\' + Part;
    auto It = FMenus.find(Key);
    if (It == FMenus.end()) {
      QMenu* New = Menu ? Menu->addMenu(Part) : Window().menuBar()->addMenu(Part);
      New->setObjectName(PlainCaption(Key.mid(1)));
      It = FMenus.emplace(Key, New).first;
    }
    Menu = It->second;
  }
  return Menu;
}

void THostWindow::UpdateTitle() {
  const QString Name = FPath.isEmpty() ? tr("Untitled") : QFileInfo(FPath).fileName();
  Window().setWindowTitle(Name + (Modified() ? " *" : "") + " - " + THostTexts::AppName());
}

void THostWindow::UpdateStatus() {
  FScaleLabel->setText(
      QString("1:%L1").arg(FManager.MapView().Transform().ScaleDenominator(), 0, 'f', 0));
  FSelectionLabel->setText(tr("%1 selected").arg(FManager.MapView().Selection().size()));
  // Naming a system parses its definition: only when it changed.
  const std::string& Crs = FManager.Project().Crs;
  if (FCrsShown != Crs) {
    FCrsLabel->setText(Crs.empty() ? tr("No coordinate system") : Utf8(geomio::CrsName(Crs)));
    FCrsLabel->setToolTip(Crs.empty() ? tr("The project's coordinates are plain metres")
                                      : Utf8(Crs));
    FCrsShown = Crs;
  }
  ShowPosition();
  UpdateTitle();
}

void THostWindow::ShowPosition() {
  // Away from the map the place shown is the view's centre, said as such,
  // so that the field never holds a stale cursor position.
  const auto& T = FManager.MapView().Transform();
  const QPointF P = FCursor ? *FCursor : QPointF(T.CenterX, T.CenterY);
  FCursorLabel->setText((FCursor ? QStringLiteral("X %1  Y %2") : tr("Centre X %1  Y %2"))
                            .arg(P.x(), 0, 'f', 2)
                            .arg(P.y(), 0, 'f', 2));
}

// ---- Add-ons ----

void THostWindow::AddCommand(const THostAddOnCommand& Command) {
  QString Caption;
  QMenu* Menu = MenuFor(Command.MenuPath, Caption);
  if (Caption.isEmpty()) Caption = Command.Caption;
  QAction* Action = Menu->addAction(Caption);
  Action->setObjectName(Command.Ident);
  Action->setToolTip(PlainCaption(Command.Caption));
  if (!Command.Image.isNull()) Action->setIcon(QPixmap::fromImage(Command.Image));
  FAddOnBar->addAction(Action);
  const THostAddOnCommand* Target = &Command;
  connect(Action, &QAction::triggered, this, [this, Target] { RunCommand(*Target); });
  FCommandActions[&Command] = Action;
}

void THostWindow::LoadAddOns(const compat::TRegistry& Registry) {
  const QStringList Failures = FAddOns->Load(Registry);
  for (const THostAddOnCommand& Command : FAddOns->Commands()) AddCommand(Command);
  if (!Failures.isEmpty()) Report(tr("Some add-ons were left out:") + '\n' + Failures.join('\n'));
  // Told here, once: the add-ons read their settings as defaults and run.
  if (const std::string& Damaged = FManager.Settings().LoadError(); !Damaged.empty())
    Report(QString::fromStdString(Damaged));
}

QAction* THostWindow::CommandAction(const THostAddOnCommand& Command) const {
  const auto It = FCommandActions.find(&Command);
  return It == FCommandActions.end() ? nullptr : It->second;
}

bool THostWindow::RunCommand(const THostAddOnCommand& Command) {
  try {
    Command.AddOn->Execute(Command.Index);
    return true;
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
    return false;
  }
}

void THostWindow::NotifyAddOns(std::int32_t Code, VARIANT_BOOL* Keep) {
  // Parameter 4 is the one add-ons read: the number of selected objects.
  std::vector<VARIANT> Params(Keep ? KeepProjectParam + 1 : 5);
  for (VARIANT& V : Params) {
    V.vt = VT_I4;
    V.lVal = 0;
  }
  Params[0].lVal = Params[4].lVal =
      static_cast<std::int32_t>(FManager.MapView().Selection().size());
  if (Keep) {
    Params[KeepProjectParam].vt = VT_BYREF | VT_BOOL;
    Params[KeepProjectParam].pboolVal = Keep;
  }
  auto List = MakeValue<THostParamsList>(FManager.Context(), std::move(Params));
  const QStringList Failures = FAddOns->Notify(Code, List.Get());
  if (!Failures.isEmpty()) Report(Failures.join('\n'));
}

bool THostWindow::AddOnsLetProjectGo() {
  VARIANT_BOOL Keep = VARIANT_FALSE;
  NotifyAddOns(NotifyProjectGoing, &Keep);
  return Keep == VARIANT_FALSE;
}

void THostWindow::SelectionChanged() {
  UpdateStatus();
  NotifyAddOns(NotifySelection);
}

// An add-on created an object: it becomes the selection and the status bar
// names it. Once the add-on's call has returned, so that the selection's
// notice does not reach the add-on inside its own call.
void THostWindow::ObjectCreated(const TKxID& ID) {
  QTimer::singleShot(0, &Window(), [this, ID] {
    const THostMapObject* O = FManager.Project().FindObject(ID);
    if (!O) return;
    const THostLayer* Layer = FManager.Project().FindLayer(O->LayerID);
    Window().statusBar()->showMessage(
        tr("Object %1 created in layer %2")
            .arg(Utf8(ID.ToUtf8()), Layer ? Utf8(Layer->Caption) : Utf8(O->LayerID.ToUtf8())),
        10000);
    FMap->SetSelection({ID});
  });
}

void THostWindow::Select(const std::vector<TKxID>& IDs) {
  for (const TKxID& ID : IDs) FManager.Project().Object(ID);  // raises for an unknown one
  FMap->SetSelection(IDs);
}

void THostWindow::Report(const QString& Text) {
  if (FReporter) {
    FReporter(Text);
    return;
  }
  QMessageBox::warning(&Window(), THostTexts::AppName(), Text);
}

// ---- Project ----

bool THostWindow::Modified() const {
  return FHostModified || FManager.Project().ObjectCount() != FSavedObjectCount;
}

void THostWindow::ProjectReplaced(const QString& Path) {
  FPath = Path;
  FHostModified = false;
  FSavedObjectCount = FManager.Project().ObjectCount();
  FLayers->Fill(FManager.Project());
  FManager.MapView().SetLayerOrder(FLayers->DrawOrder());
  FManager.MapView().SetSelection({});
  FMap->ZoomToAll();
  FMap->MapChanged();
  if (!Path.isEmpty()) AddRecent(Path);
  UpdateStatus();
  NotifyAddOns(NotifySelection);
  NotifyAddOns(NotifyProject);
}

void THostWindow::NewProject() {
  FManager.Project() = THostProject();
  ProjectReplaced({});
}

void THostWindow::OpenProject(const QString& Path) {
  // A large project takes seconds: its progress shows after a moment, and
  // nothing else takes input meanwhile.
  QProgressDialog Progress(tr("Opening %1...").arg(QFileInfo(Path).fileName()), QString(), 0, 100,
                           &Window());
  Progress.setObjectName(QStringLiteral("OpenProgress"));
  Progress.setWindowTitle(THostTexts::AppName());
  Progress.setWindowModality(Qt::ApplicationModal);
  Progress.setCancelButton(nullptr);
  Progress.setMinimumDuration(ProgressDelayMs);
  FManager.Project() =
      LoadProjectFile(Path.toStdString(), [&](int Percent) { Progress.setValue(Percent); });
  ProjectReplaced(QFileInfo(Path).absoluteFilePath());
}

void THostWindow::SaveProject(const QString& Path) {
  SaveProjectFile(FManager.Project(), Path.toStdString());
  FPath = QFileInfo(Path).absoluteFilePath();
  FHostModified = false;
  FSavedObjectCount = FManager.Project().ObjectCount();
  AddRecent(FPath);
  UpdateTitle();
}

std::vector<TKxID> THostWindow::ImportFile(const TKxID& LayerID, const TKxID& StyleID,
                                           const QString& Path, const QString& GisLayer,
                                           QStringList* Notes) {
  std::vector<std::string> Said;
  std::vector<TKxID> IDs = ImportLayerFile(FManager.Project(), LayerID, StyleID, Path.toStdString(),
                                           GisLayer.toStdString(), &Said);
  if (Notes)
    for (const std::string& Note : Said) *Notes << THostTexts::Note(Utf8(Note));
  FHostModified = true;
  FMap->MapChanged();
  UpdateTitle();
  UpdateStatus();  // the first file that names a coordinate system gives the project its own
  // What came in is what the user looks at next.
  if (!IDs.empty()) {
    FMap->SetSelection(IDs);
    FMap->ZoomToSelection();
  }
  return IDs;
}

QStringList THostWindow::ExportLayer(const TKxID& LayerID, const QString& Path) {
  QStringList Notes;
  for (const std::string& Note :
       ExportLayerFile(FManager.Project(), LayerID, Path.toStdString(), ExportTolerance))
    Notes << THostTexts::Note(Utf8(Note));
  return Notes;
}

QString THostWindow::StyleName(const QString& ID) const {
  try {
    const THostStyle* Style = FManager.Project().FindStyle(MakeID(ID.toStdString()));
    return Style ? Utf8(Style->Name) : QString();
  } catch (const std::exception&) {
    return {};
  }
}

QImage THostWindow::Screenshot() const {
  QMainWindow& W = Window();
  QImage Image = W.grab().toImage();
  QPainter Painter(&Image);
  const QPoint Origin = W.mapToGlobal(QPoint(0, 0));
  for (QWidget* Top : QApplication::topLevelWidgets()) {
    if (Top == &W || !Top->isVisible() || Top->isMinimized()) continue;
    const QPoint At = Top->mapToGlobal(QPoint(0, 0)) - Origin;
    Painter.drawPixmap(At, Top->grab());
  }
  return Image;
}

bool THostWindow::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == &Window() && Event->type() == QEvent::Close && !MayDiscard()) {
    Event->ignore();
    return true;
  }
  return QObject::eventFilter(Watched, Event);
}

}  // namespace host
