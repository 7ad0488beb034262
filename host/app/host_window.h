// The host's main window: the map view with its layer panel and status
// bar, the File and View menus, the add-ons' commands, and the host's own
// error reports. It fills the manager's main window, the one add-ons take as
// their forms' owner.
#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "host/app/host_addons.h"
#include "host/model/map_model.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QImage;

namespace host {

class THostManager;
class TLayerPanel;
class TMapWidget;

class THostWindow : public QObject {
  Q_DECLARE_TR_FUNCTIONS(THostWindow)

 public:
  explicit THostWindow(THostManager& Manager);
  ~THostWindow() override;

  QMainWindow& Window() const;
  THostManager& Manager() const { return FManager; }
  THostAddOns& AddOns() { return *FAddOns; }
  TMapWidget& Map() const { return *FMap; }
  TLayerPanel& Layers() const { return *FLayers; }

  // Loads the registry's active add-ons and puts their commands into the
  // menus and the add-ons' tool bar. Failures are reported.
  void LoadAddOns(const compat::TRegistry& Registry);
  // Runs a command; an add-on's failure is reported with its error text.
  // False when it failed.
  bool RunCommand(const THostAddOnCommand& Command);
  QAction* CommandAction(const THostAddOnCommand& Command) const;

  // ---- The project ----
  // Each raises EHostError and changes nothing when it fails.
  void NewProject();
  void OpenProject(const QString& Path);
  void SaveProject(const QString& Path);
  // Reads a file into a layer: WKT text (.wkt, .txt) or any GIS format
  // (GisLayer: the file's layer, needed when it has several), attributes
  // kept; returns the new objects' IDs. Notes, when given, gets what the
  // map could not hold (Z and M values).
  std::vector<TKxID> ImportFile(const TKxID& LayerID, const TKxID& StyleID, const QString& Path,
                                const QString& GisLayer = {}, QStringList* Notes = nullptr);
  // Writes a layer by the file's extension (WKT with arcs kept, GeoPackage,
  // GeoJSON, FlatGeobuf, DXF, ...); returns notes on what the format could
  // not hold (arcs written as chords within ExportTolerance).
  QStringList ExportLayer(const TKxID& LayerID, const QString& Path);
  // The largest distance, in metres, of an exported chord from its arc.
  static constexpr double ExportTolerance = 0.01;
  // How long an opening runs before its progress shows.
  static constexpr int ProgressDelayMs = 300;
  const QString& ProjectPath() const { return FPath; }
  // Changes since the project was opened or saved: the host's own, and the
  // objects add-ons created.
  bool Modified() const;
  // Asks the add-ons whether their work in progress may go, then whether to
  // save unsaved changes; false when the user keeps the project.
  bool MayDiscard();
  // Tells the add-ons the project is about to go; false when one keeps it
  // (a trace in progress the user does not want to lose).
  bool AddOnsLetProjectGo();
  // The sample town shipped with the host.
  static QString SampleProject();

  // Selects objects by ID (unknown IDs raise EHostError, selecting nothing).
  void Select(const std::vector<TKxID>& IDs);

  // The name of the project's style ID; empty when there is none.
  QString StyleName(const QString& ID) const;

  // In quiet mode (scripts) reports go to Reporter, not to message boxes.
  void SetReporter(std::function<void(const QString&)> Reporter) {
    FReporter = std::move(Reporter);
  }
  void Report(const QString& Text);

  // The main window with the other visible windows of the application
  // (the add-ons' forms) drawn over it where they stand.
  QImage Screenshot() const;

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void BuildMenus();
  void BuildFileMenu();
  void BuildViewMenu();
  QMenu* MenuFor(const QString& Path, QString& Caption);
  void AddCommand(const THostAddOnCommand& Command);
  // After the project was replaced: panel, view, title, add-ons told.
  void ProjectReplaced(const QString& Path);
  void UpdateTitle();
  void UpdateStatus();
  // The cursor's map position, or the view's centre when it is off the map.
  void ShowPosition();
  void SelectionChanged();
  void ObjectCreated(const TKxID& ID);
  QString ProjectFolder() const;
  // Keep, when given, is passed by reference for the add-ons' answer.
  void NotifyAddOns(std::int32_t Code, VARIANT_BOOL* Keep = nullptr);
  void AddRecent(const QString& Path);
  void FillRecent();
  // The File menu's dialogs.
  void OpenDialog();
  bool SaveDialog(bool AskName);
  void ImportDialog();
  void ExportDialog();
  // A layer and (for imports) a style picked by the user; false on cancel.
  bool PickLayer(const QString& Title, TKxID& LayerID, TKxID* StyleID);

  THostManager& FManager;
  std::unique_ptr<THostAddOns> FAddOns;
  TMapWidget* FMap = nullptr;
  TLayerPanel* FLayers = nullptr;
  QLabel* FCursorLabel = nullptr;
  QLabel* FScaleLabel = nullptr;
  QLabel* FSelectionLabel = nullptr;
  QLabel* FCrsLabel = nullptr;
  std::optional<std::string> FCrsShown;
  std::optional<QPointF> FCursor;  // metres, while the cursor is over the map
  QMenu* FRecentMenu = nullptr;
  std::map<QString, QMenu*> FMenus;  // by menu path, accelerator marks kept
  std::map<const THostAddOnCommand*, QAction*> FCommandActions;
  QToolBar* FAddOnBar = nullptr;
  std::function<void(const QString&)> FReporter;
  QString FPath;
  bool FHostModified = false;
  std::int32_t FSavedObjectCount = 0;
};

}  // namespace host
