// The File menu's dialogs and its list of recent projects.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>

#include "host/app/host_language.h"
#include "host/app/host_window.h"
#include "host/com/host_manager.h"
#include "host/gis/gis_layer_io.h"
#include "host/model/host_error.h"

namespace host {

namespace {

constexpr int MaxRecent = 8;

}  // namespace

bool THostWindow::MayDiscard() {
  if (FReporter) return true;
  if (!AddOnsLetProjectGo()) return false;
  if (!Modified()) return true;
  const auto Answer = QMessageBox::question(
      &Window(), THostTexts::AppName(), tr("The project has unsaved changes. Save them?"),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (Answer == QMessageBox::Cancel) return false;
  return Answer == QMessageBox::Discard || SaveDialog(false);
}

// File dialogs start where the project lies; none for a project never saved.
QString THostWindow::ProjectFolder() const {
  return FPath.isEmpty() ? QString() : QFileInfo(FPath).absolutePath();
}

void THostWindow::OpenDialog() {
  if (!MayDiscard()) return;
  const QString Path = QFileDialog::getOpenFileName(&Window(), tr("Open Project"), ProjectFolder(),
                                                    tr("Projects (*.json);;All files (*)"));
  if (Path.isEmpty()) return;
  try {
    OpenProject(Path);
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
  }
}

bool THostWindow::SaveDialog(bool AskName) {
  QString Path = FPath;
  if (AskName || Path.isEmpty() || Path == QFileInfo(SampleProject()).absoluteFilePath()) {
    Path =
        QFileDialog::getSaveFileName(&Window(), tr("Save Project"), Path, tr("Projects (*.json)"));
    if (Path.isEmpty()) return false;
  }
  try {
    SaveProject(Path);
    return true;
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
    return false;
  }
}

bool THostWindow::PickLayer(const QString& Title, TKxID& LayerID, TKxID* StyleID) {
  const THostProject& P = FManager.Project();
  QDialog Dialog(&Window());
  Dialog.setWindowTitle(Title);
  auto* Layers = new QComboBox(&Dialog);
  Layers->setObjectName(QStringLiteral("Layers"));
  // Owned by the dialog even where no style is asked for.
  auto* Styles = new QComboBox(&Dialog);
  Styles->setObjectName(QStringLiteral("Styles"));
  for (const TKxID& MapID : P.Maps())
    for (const TKxID& ID : P.Map(MapID).Layers)
      Layers->addItem(QString::fromStdString(P.Layer(ID).Caption),
                      QByteArray::fromStdString(IDKey(ID)));
  const auto FillStyles = [&] {
    Styles->clear();
    if (Layers->currentIndex() < 0) return;
    const TKxID ID = TKxID::FromBytes(Layers->currentData().toByteArray().toStdString());
    for (const TKxID& S : P.Layer(ID).Styles)
      if (P.Style(S).DefinesGeometry())
        Styles->addItem(QString::fromStdString(P.Style(S).Name),
                        QByteArray::fromStdString(IDKey(S)));
  };
  connect(Layers, &QComboBox::currentIndexChanged, &Dialog, FillStyles);
  FillStyles();
  auto* Form = new QFormLayout(&Dialog);
  Form->addRow(tr("Layer:"), Layers);
  if (StyleID)
    Form->addRow(tr("Style:"), Styles);
  else
    Styles->hide();
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(Buttons, &QDialogButtonBox::accepted, &Dialog, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, &Dialog, &QDialog::reject);
  Form->addRow(Buttons);
  if (Dialog.exec() != QDialog::Accepted || Layers->currentIndex() < 0) return false;
  LayerID = TKxID::FromBytes(Layers->currentData().toByteArray().toStdString());
  if (StyleID) {
    if (Styles->currentIndex() < 0) return false;
    *StyleID = TKxID::FromBytes(Styles->currentData().toByteArray().toStdString());
  }
  return true;
}

void THostWindow::ImportDialog() {
  TKxID Layer, Style;
  if (!PickLayer(tr("Import into"), Layer, &Style)) return;
  const QString Path = QFileDialog::getOpenFileName(
      &Window(), tr("Import"), ProjectFolder(),
      tr("GIS files (*.gpkg *.shp *.geojson *.json *.fgb *.dxf *.gml *.csv *.kml "
         "*.sqlite);;WKT (*.wkt *.txt);;All files (*)"));
  if (Path.isEmpty()) return;
  try {
    // A file of several layers: the user picks one.
    QString GisLayer;
    QStringList Names;
    for (const std::string& Name : FileLayerNames(Path.toStdString()))
      Names << QString::fromStdString(Name);
    if (Names.size() > 1) {
      bool Ok = false;
      GisLayer = QInputDialog::getItem(&Window(), tr("Import"),
                                       tr("Layer of %1:").arg(QFileInfo(Path).fileName()), Names, 0,
                                       false, &Ok);
      if (!Ok) return;
    }
    QStringList Notes;
    const auto IDs = ImportFile(Layer, Style, Path, GisLayer, &Notes);
    if (!Notes.isEmpty() && !FReporter)
      QMessageBox::information(&Window(), THostTexts::AppName(), Notes.join('\n'));
    Window().statusBar()->showMessage(
        IDs.size() == 1 ? tr("1 object imported") : tr("%1 objects imported").arg(IDs.size()),
        5000);
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
  }
}

void THostWindow::ExportDialog() {
  TKxID Layer;
  if (!PickLayer(tr("Export layer"), Layer, nullptr)) return;
  QString Filter;
  QString Path = QFileDialog::getSaveFileName(
      &Window(), tr("Export"), ProjectFolder(),
      tr("GeoPackage, arcs kept (*.gpkg);;GeoJSON (*.geojson);;FlatGeobuf (*.fgb);;"
         "DXF (*.dxf);;WKT, arcs kept (*.wkt)"),
      &Filter);
  if (Path.isEmpty()) return;
  // The format goes by the extension: a name without one gets the filter's.
  if (QFileInfo(Path).suffix().isEmpty()) {
    const qsizetype At = Filter.indexOf("(*");
    Path += Filter.mid(At + 2, Filter.indexOf(')', At) - At - 2);
  }
  try {
    const QStringList Notes = ExportLayer(Layer, Path);
    if (!Notes.isEmpty() && !FReporter)
      QMessageBox::information(&Window(), THostTexts::AppName(), Notes.join('\n'));
    Window().statusBar()->showMessage(tr("Layer exported to %1").arg(Path), 5000);
  } catch (const std::exception& E) {
    Report(QString::fromUtf8(E.what()));
  }
}

void THostWindow::AddRecent(const QString& Path) {
  QSettings Settings(QStringLiteral("Trace"), QStringLiteral("trace-host"));
  QStringList Recent = Settings.value("recentFiles").toStringList();
  Recent.removeAll(Path);
  Recent.prepend(Path);
  while (Recent.size() > MaxRecent) Recent.removeLast();
  Settings.setValue("recentFiles", Recent);
  FillRecent();
}

void THostWindow::FillRecent() {
  FRecentMenu->clear();
  const QStringList Recent = QSettings(QStringLiteral("Trace"), QStringLiteral("trace-host"))
                                 .value("recentFiles")
                                 .toStringList();
  for (const QString& Path : Recent) {
    QAction* A = FRecentMenu->addAction(QFileInfo(Path).fileName());
    A->setToolTip(Path);
    connect(A, &QAction::triggered, this, [this, Path] {
      if (!MayDiscard()) return;
      try {
        OpenProject(Path);
      } catch (const std::exception& E) {
        Report(QString::fromUtf8(E.what()));
      }
    });
  }
  FRecentMenu->setEnabled(!Recent.isEmpty());
}

}  // namespace host
