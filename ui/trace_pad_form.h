// The trace pad's Qt window: a view of forms::TTracePadModel. It shows the
// model's state and passes clicks, the typed width and the window's hiding
// and showing on; the model decides everything else.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "addon/trace_addon.h"
#include "addonkit/dll_form.h"
#include "forms/trace_pad_model.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QToolBar;

namespace Ui {
class TTracePadForm;
}

namespace ui {

class TTracePadForm : public kx::TKxAddonForm,
                      public kx::TTracePadLink,
                      public forms::TTracePadView {
 public:
  // Joins the add-on's forms and makes the model, which loads the stored
  // placement and zone width.
  TTracePadForm(QWidget* Owner, kx::TTraceAddOn* AAddon);
  // The model goes first, so that it can store the placement while the
  // window is still whole.
  ~TTracePadForm() override;

  void ShowPad() override;
  void UpdateActions() override { FModel->UpdatePadState(); }
  void ProjectReplaced() override { FModel->ProjectReplaced(); }
  bool MayLoseTrace() override { return FModel->MayLoseTrace(); }

  forms::TTracePadModel& Model() const { return *FModel; }

  // The controls, for tests.
  QAction* Action(forms::TPadAction A) const;
  QToolBar* TraceToolBar() const;
  QLabel* NewObjectStyleLabel() const;
  QCheckBox* CheckBoxTraceOn() const;
  QCheckBox* CheckBoxAlong() const;
  QCheckBox* CheckBoxCloseBy() const;
  QLineEdit* BufferZoneEdit() const;

  // A zone build that lasts longer than this shows its progress (ms).
  int ProgressDelay = 500;

 protected:
  void closeEvent(QCloseEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  // Escape closes the pad the way the close button does.
  void reject() override;

 private:
  // forms::TTracePadView
  void PadChanged(unsigned Changes) override;
  void ShowError(const std::string& Message) override;
  bool Confirm(const std::string& Question) override;
  void BeginProgress(const std::string& Text, const std::string& CancelText, int Total) override;
  bool StepProgress(const std::string& Text, int Done) override;
  void EndProgress() override;
  bool ProgressCancelled() override;
  bool ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind, kx::TKxID& ID) override;
  void ShowSettingsDialog(const kx::TOrvexApplication& App) override;
  forms::TPadPlacement Placement() const override;
  std::optional<forms::TPadRect> WorkArea(const forms::TPadRect& Near) const override;
  std::optional<forms::TPadRect> OwnerBounds() const override;
  void Place(const forms::TPadPlacement& Placement) override;

  kx::TTraceAddOn* FAddon;
  std::unique_ptr<Ui::TTracePadForm> FUi;
  std::unique_ptr<QProgressDialog> FProgress;
  QElapsedTimer FProgressStarted;
  std::unique_ptr<forms::TTracePadModel> FModel;
};

// Creates the pad for the add-on's command; the add-on's forms own it. The
// user interface installs it as the add-on's TracePadCreator when the module
// is loaded.
kx::TTracePadLink* CreateTracePad(kx::TTraceAddOn* AddOn);

}  // namespace ui
