// The settings dialog: the 23 drawing settings of the zone, the trace and
// the trace vertices on three pages chosen from a tree. It reads the
// settings when the application is set and writes them all when "Закрыть"
// is pressed; any other way of closing writes nothing.
#pragma once

#include <QDialog>
#include <memory>

#include "addonkit/orvex_calls.h"

namespace Ui {
class SettingsForm;
}

namespace ui {

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
  // Writes all 23 settings, then tells the host's map view. A width, size or
  // scale that would not read back raises core::EConvertError before
  // anything is written, with its field focused.
  void SaveSettings();

  // The controls.
  Ui::SettingsForm& Form() const { return *FForm; }

 private:
  void UpdatePenControls();
  void CheckNumbers();
  void CloseClick();

  std::unique_ptr<Ui::SettingsForm> FForm;
  kx::TOrvexApplication FApp;
};

}  // namespace ui
