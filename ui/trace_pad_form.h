// The trace pad: the add-on's tool window. From it the user adds the zones of
// the selected objects, switches tracing on and off with its two modes,
// undoes trace points, picks the new object's style, creates the object and
// opens the settings. It keeps its placement and the zone width in the
// host's settings store.
#pragma once

#include <QString>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "addon/trace_addon.h"
#include "addonkit/dll_form.h"
#include "addonkit/orvex_calls.h"
#include "trace/engine/connect_graph.h"
#include "trace/editor/gully_editor.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolBar;

namespace Ui {
class TTracePadForm;
}

namespace ui {

class TTracePadForm : public kx::TKxAddonForm,
                      public kx::TTracePadLink,
                      public trace::TGullyEditorPad {
 public:
  // Joins the add-on's forms, takes the application interface, then sets
  // the actions' states and loads the stored placement and zone width.
  TTracePadForm(QWidget* Owner, kx::TTraceAddOn* AAddon);
  // Stores the placement and the width; an editor still in the host's view
  // is suspended and let go of the pad and the graph.
  ~TTracePadForm() override;

  void ShowPad() override;
  void UpdateActions() override { UpdatePadState(); }
  // Which actions and the trace check box are enabled.
  void UpdatePadState() override;

  // The handlers. They raise on failure; the controls run them guarded, so
  // that a failure is shown and ends the handler.
  void AddSelectedObjectsToBZList();
  void RemoveObjectFromBZList();
  void TraceOnClick();
  void AlongClick();
  void CloseByClick();
  void UndoTracePoint();
  void UndoAllTracePoints();
  void SelectNewObjectStyle();
  void CreateObject();
  void OpenSettings();
  void LoadPadSettings();
  void SavePadSettings();

  QToolBar* TraceToolBar() const;
  QLabel* NewObjectStyleLabel() const;
  QCheckBox* CheckBoxTraceOn() const;
  QCheckBox* CheckBoxAlong() const;
  QCheckBox* CheckBoxCloseBy() const;
  QLineEdit* BufferZoneEdit() const;
  QAction* AddSelectedObjectsToBZListAction() const;
  QAction* RemoveObjectFromBZListAction() const;
  QAction* UndoTracePointAction() const;
  QAction* UndoAllTracePointsAction() const;
  QAction* SelectNewObjectStyleAction() const;
  QAction* CreateObjectAction() const;
  QAction* SettingsAction() const;

  kx::TOrvexApplication App;
  kx::TTraceAddOn* Addon;
  std::unique_ptr<trace::TGConnectGraph> Graph;
  bool SavedTraceOn = false;
  // The objects whose zones are in Graph, each once, in the order added.
  std::vector<kx::TKxID> ZoneObjectIDs;
  // A zone build that lasts longer than this shows its progress (ms).
  int ProgressDelay = 500;

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  // Escape closes the pad the way the close button does.
  void reject() override;

 private:
  template <class F>
  void Guarded(F&& Handler);
  // The window's outer rectangle and state as the stored text has them.
  QString Placement() const;

  std::unique_ptr<Ui::TTracePadForm> FUi;
  std::set<std::string> FZoneObjectKeys;  // bytes of ZoneObjectIDs, for lookups
};

// Creates the pad for the add-on's command; the add-on's forms own it.
kx::TTracePadLink* CreateTracePad(kx::TTraceAddOn* AddOn);

}  // namespace ui
