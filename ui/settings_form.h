// The settings dialog, a view of the settings model: the 23 drawing
// settings of the zone, the trace and the trace vertices on three pages
// chosen from a tree. It shows the model's state and passes every change to
// it; "Закрыть" has the model save, any other way of closing writes nothing.
#pragma once

#include <QDialog>
#include <memory>

#include "addonkit/orvex_calls.h"
#include "forms/settings_model.h"

namespace Ui {
class SettingsForm;
}

namespace ui {

class TFloatEdit;

class TSettingsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsForm(QWidget* Owner = nullptr);
  ~TSettingsForm() override;

  // Keeps App, shows the selected node's page and loads the settings. A
  // stored value that does not convert raises core::EConvertError.
  void SetApplication(kx::TOrvexApplication App);
  // The page of the selected tree node; the first node when none is.
  void ShowPage();
  void LoadSettings();
  // The model's save; a number that would not read back is focused on its
  // page and its error raised.
  void SaveSettings();

  // The controls.
  Ui::SettingsForm& Form() const { return *FForm; }
  const forms::TSettingsModel& Model() const { return FModel; }

 private:
  TFloatEdit* NumberEdit(forms::TSettingsNumber Number) const;
  QWidget* PageWidget(forms::TSettingsPage Page) const;
  // Shows the whole state of the model.
  void ShowModel();
  // A change made: shown, and previewed on the map.
  void Changed();
  void CloseClick();
  // Closed without saving: the map goes back to the stored settings.
  void reject() override;

  forms::TSettingsModel FModel;
  std::unique_ptr<Ui::SettingsForm> FForm;
  kx::TOrvexApplication FApp;
  bool FShowing = false;
};

}  // namespace ui
